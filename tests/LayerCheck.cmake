# The program's frame sits on top: a file below src/app/ that includes app/ points an arrow
# upwards (screens reach the main window through widgets/ScreenHost). Run as
#   cmake -DSRC=<source folder>/src -P LayerCheck.cmake
file(GLOB_RECURSE sources ${SRC}/*.cpp ${SRC}/*.h)
set(offenders "")
foreach(f IN LISTS sources)
  file(RELATIVE_PATH rel ${SRC} ${f})
  if(rel MATCHES "^app/")
    continue()
  endif()
  file(STRINGS ${f} hits REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]app/")
  if(hits)
    list(APPEND offenders "${rel}: ${hits}")
  endif()
endforeach()
if(offenders)
  list(JOIN offenders "\n  " text)
  message(FATAL_ERROR "Files below src/app/ include app/:\n  ${text}")
endif()
