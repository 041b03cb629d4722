# cmake -DTK_SOURCES=<folder> -P check_includes.cmake
# Fails when a source or header under the folder includes a file by a path that climbs
# out of its own folder ("../"): such an include would reach a subsystem that the
# including one's include path does not.
file(GLOB_RECURSE files ${TK_SOURCES}/*.h ${TK_SOURCES}/*.cpp)
if(NOT files)
  message(FATAL_ERROR "no sources under ${TK_SOURCES}")
endif()
set(found 0)
foreach(file ${files})
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]*\\.\\./")
  foreach(line ${lines})
    message(SEND_ERROR "${file}: ${line}")
    set(found 1)
  endforeach()
endforeach()
list(LENGTH files count)
if(found)
  message(FATAL_ERROR "includes that climb out of their folder (name the file from src/ instead)")
endif()
message(STATUS "${count} files, no include climbs out of its folder")
