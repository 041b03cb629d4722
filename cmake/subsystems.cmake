# The demo's four subsystems as libraries, made by one function for every build of
# them: the desktop build, the ThreadSanitizer build, the fuzzers and the web build.
#
# Dependencies run one way: sound and pictures stand alone, effects draws pictures,
# frame uses them all. The build holds to that. A subsystem's target links only the
# subsystems it uses, and its include path reaches only their folders: each target
# gets a folder of its own in the build tree holding one link, named after the
# subsystem, to its source folder, and passes that folder on to whoever links it. So
# `#include "sound/sound.h"` from pictures finds no file; the layer tests prove it,
# and check_includes.cmake refuses the `#include "../` that would go around it.
#
# SDL: frame uses it throughout; in sound only the files that drive the audio device
# see its headers, so that the loader, player and mixer stay free of it; pictures and
# effects never see it.

get_filename_component(TK_SUBSYSTEM_SOURCES ${CMAKE_CURRENT_LIST_DIR}/../src ABSOLUTE)

set(tk_uses_sound)
set(tk_uses_pictures)
set(tk_uses_effects pictures)
set(tk_uses_frame sound pictures effects)
set(tk_sdl_files_sound audio_output.cpp devices.cpp music.cpp)

# tk_subsystem(<name> PREFIX <prefix> [STATIC] [SDL <target>] [COMPILE_OPTIONS <option>...]
#              [LINK <library>...] [EXCLUDE <file>...] [EXTRA <source>...])
# Makes the target <prefix><name> (an object library, or a static one with STATIC) from
# src/<name>/*.cpp but main.cpp and the EXCLUDE files (names inside src/<name>/), plus
# the EXTRA sources (which see SDL where the subsystem's own device files do). It links
# <prefix><used subsystem> for each subsystem it uses, SDL's <target> where it needs SDL
# (none given: the compiler finds SDL's headers itself, as Emscripten's does) and the
# LINK libraries; COMPILE_OPTIONS apply to its own sources only.
function(tk_subsystem name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "STATIC" "PREFIX;SDL" "COMPILE_OPTIONS;LINK;EXCLUDE;EXTRA")
  set(target ${arg_PREFIX}${name})
  set(folder ${TK_SUBSYSTEM_SOURCES}/${name})
  file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  list(REMOVE_ITEM sources ${folder}/main.cpp)
  foreach(file ${arg_EXCLUDE})
    list(REMOVE_ITEM sources ${folder}/${file})
  endforeach()
  if(arg_STATIC)
    add_library(${target} STATIC ${sources} ${arg_EXTRA})
  else()
    add_library(${target} OBJECT ${sources} ${arg_EXTRA})
  endif()

  set(include ${CMAKE_CURRENT_BINARY_DIR}/${target}_include)
  file(MAKE_DIRECTORY ${include})
  file(REMOVE ${include}/${name})
  file(CREATE_LINK ${folder} ${include}/${name} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${include})

  foreach(used ${tk_uses_${name}})
    target_link_libraries(${target} PUBLIC ${arg_PREFIX}${used})
  endforeach()
  if(name STREQUAL "frame")
    target_link_libraries(${target} PUBLIC ${arg_SDL})
  elseif(name STREQUAL "sound" AND arg_SDL)
    # Whoever links sound links SDL (its device files call it), but its other files do
    # not see SDL's headers.
    target_link_libraries(${target} INTERFACE ${arg_SDL})
    list(TRANSFORM tk_sdl_files_sound PREPEND ${folder}/ OUTPUT_VARIABLE sdl_files)
    set_source_files_properties(${sdl_files} ${arg_EXTRA} PROPERTIES
      INCLUDE_DIRECTORIES "$<TARGET_PROPERTY:${arg_SDL},INTERFACE_INCLUDE_DIRECTORIES>"
      COMPILE_OPTIONS "$<TARGET_PROPERTY:${arg_SDL},INTERFACE_COMPILE_OPTIONS>")
  endif()
  if((name STREQUAL "frame" OR name STREQUAL "sound") AND TARGET Threads::Threads)
    # These two share the player's state with SDL's audio thread.
    target_link_libraries(${target} PUBLIC Threads::Threads)
  endif()
  target_link_libraries(${target} PUBLIC ${arg_LINK} m)
  target_compile_options(${target} PRIVATE ${arg_COMPILE_OPTIONS})
endfunction()
