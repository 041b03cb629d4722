# Installing and packaging. The demo goes where Debian puts games (games/ under the
# prefix, /usr/games in the package), the tools in bin/, the data in
# share/tinkettles/data/ (where every program looks, relative to its own folder), with
# a desktop entry, its icon, AppStream metainfo, manual pages and the licences.
# `cpack -G DEB` in the build folder makes two packages: tinkettles (section games:
# the demo) and tinkettles-tools (section graphics: the tools that make and capture it).
set(tk_package ${CMAKE_CURRENT_SOURCE_DIR}/assets/package)
set(tk_generated ${CMAKE_CURRENT_BINARY_DIR}/package)
file(MAKE_DIRECTORY ${tk_generated})

set(TINKETTLES_GAMES_DIR games CACHE STRING "Where the demo is installed, relative to the prefix")
set(TINKETTLES_MAINTAINER "The Tin Kettles developers <developers@tinkettles.org>" CACHE STRING
  "The packages' maintainer, as Name <address>")
set(TINKETTLES_HOMEPAGE "https://tinkettles.org/" CACHE STRING "The project's home page")
# The date of the release this version is, for the changelog (RFC 5322).
set(tk_release_date "Wed, 09 Dec 2026 00:00:00 +0000")

# Compressed as Debian wants, without a time stamp so the packages are reproducible.
function(tk_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND gzip -9n -c ${source} > ${output}
    DEPENDS ${source}
    VERBATIM)
endfunction()

# --- the demo ---------------------------------------------------------------------
install(TARGETS tinkettles RUNTIME DESTINATION ${TINKETTLES_GAMES_DIR} COMPONENT demo)
set(tk_data_files)
foreach(name afrogirl.txt groovster.txt ankels.cgm blinq.cgm blinq2.cgm bottles.cgm flonk1.cgm
        flonk2.cgm strutto.cgm struttoblk.cgm wobbli.cgm zippsy.cgm fontti.raw da_wobble.mod)
  list(APPEND tk_data_files ${CMAKE_CURRENT_SOURCE_DIR}/data/${name})
endforeach()
install(FILES ${tk_data_files} DESTINATION share/tinkettles/data COMPONENT demo)
install(FILES ${tk_package}/tinkettles.desktop DESTINATION share/applications COMPONENT demo)
install(FILES ${tk_package}/tinkettles.png DESTINATION share/icons/hicolor/128x128/apps COMPONENT demo)
install(FILES ${tk_package}/org.tinkettles.tinkettles.metainfo.xml DESTINATION share/metainfo
  COMPONENT demo)

configure_file(${tk_package}/tinkettles.6 ${tk_generated}/tinkettles.6 @ONLY)
configure_file(${tk_package}/changelog.in ${tk_generated}/changelog @ONLY)
set(tk_compressed ${tk_generated}/tinkettles.6.gz ${tk_generated}/changelog.gz ${tk_generated}/README.gz)
tk_gzip(${tk_generated}/tinkettles.6 ${tk_generated}/tinkettles.6.gz)
tk_gzip(${tk_generated}/changelog ${tk_generated}/changelog.gz)
tk_gzip(${tk_package}/user-guide.txt ${tk_generated}/README.gz)
install(FILES ${tk_generated}/tinkettles.6.gz DESTINATION share/man/man6 COMPONENT demo)
install(FILES ${tk_package}/copyright ${tk_generated}/changelog.gz ${tk_generated}/README.gz
  DESTINATION share/doc/tinkettles COMPONENT demo)

# --- the tools, each with a manual page made from its own --help ---------------------
set(tk_tool_summaries
  "tinkettles-capture|renders the Tin Kettles demo offline to pictures, video and sound"
  "tinkettles-music|renders a module file to a WAV file as the Tin Kettles demo plays it"
  "tinkettles-compose|compiles a text score and sample settings into a module file"
  "tinkettles-svg|turns SVG drawings into the Tin Kettles demo's pictures and line drawings"
  "tinkettles-picture-sheet|draws every picture of the Tin Kettles demo into one PNG"
  "tinkettles-font|draws the Tin Kettles demo's caption font from its stroke definitions"
  "tinkettles-preview|draws one picture or line drawing of the Tin Kettles demo into a PNG")
set(tk_tools)
foreach(entry ${tk_tool_summaries})
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 tool)
  list(GET entry 1 summary)
  if(NOT TARGET ${tool})
    continue()
  endif()
  list(APPEND tk_tools ${tool})
  add_custom_command(OUTPUT ${tk_generated}/${tool}.1
    COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/cmake/help-to-man.sh $<TARGET_FILE:${tool}> ${tool}
            ${summary} ${PROJECT_VERSION} ${tk_generated}/${tool}.1
    DEPENDS ${tool} ${CMAKE_CURRENT_SOURCE_DIR}/cmake/help-to-man.sh
    VERBATIM)
  tk_gzip(${tk_generated}/${tool}.1 ${tk_generated}/${tool}.1.gz)
  list(APPEND tk_compressed ${tk_generated}/${tool}.1.gz)
  install(FILES ${tk_generated}/${tool}.1.gz DESTINATION share/man/man1 COMPONENT tools)
endforeach()
if(tk_tools)
  install(TARGETS ${tk_tools} RUNTIME DESTINATION bin COMPONENT tools)
  install(FILES ${tk_package}/copyright ${tk_generated}/changelog.gz
    DESTINATION share/doc/tinkettles-tools COMPONENT tools)
endif()
add_custom_target(tinkettles_manual ALL DEPENDS ${tk_compressed})

# --- the Debian packages ------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tinkettles)
set(CPACK_PACKAGE_VENDOR "The Tin Kettles developers")
set(CPACK_PACKAGE_CONTACT "${TINKETTLES_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL demo)
if(tk_tools)
  list(APPEND CPACK_COMPONENTS_ALL tools)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TINKETTLES_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries the programs link (SDL 1.2, libpng, pugixml, the C++ runtime)
# become each package's dependencies.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Package files keep the permissions Debian expects whatever the builder's umask.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_DEMO_PACKAGE_NAME tinkettles)
set(CPACK_DEBIAN_DEMO_PACKAGE_SECTION games)
# Line by line as the package's control file shows it; the first line is the summary.
string(JOIN "\n" CPACK_COMPONENT_DEMO_DESCRIPTION
  "real-time audiovisual demo with its own tracker music"
  "One program that plays its own four-channel tracker music and shows ten"
  "scenes in step with it: filled vector pictures, line drawings, rippling"
  "captions, a ring tunnel, a picture tunnel, a mirror and a block zoom, on"
  "SDL 1.2. It plays full screen for about three and a half minutes.")

set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME tinkettles-tools)
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_TOOLS_PACKAGE_DEPENDS "tinkettles (= ${PROJECT_VERSION})")
set(CPACK_DEBIAN_TOOLS_PACKAGE_SUGGESTS ffmpeg)
string(JOIN "\n" CPACK_COMPONENT_TOOLS_DESCRIPTION
  "tools that make and capture the Tin Kettles demo"
  "The programs that make the Tin Kettles demo's data from their sources (its"
  "music from a text score, its pictures and line drawings from SVG, its font"
  "from stroke definitions), draw and preview them, render its music to WAV,"
  "and capture the whole demo, frame-exact, to pictures, video and sound.")
include(CPack)
