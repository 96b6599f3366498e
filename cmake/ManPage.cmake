# Writes a manual page from what a program prints for --help, so the page and the program can
# never tell two stories. Run as a script:
#   cmake -DPROGRAM=<exe> -DNAME=<name> -DVERSION=<v> -DOUT=<file.1> [-DGZIP=<gzip>] -P ManPage.cmake
# The help text's shape: a first line "name - what it is", the "usage:" lines, then sections
# headed by a line of their own ending in a colon ("options:", "exit status:"). Everything under
# a heading is kept as printed, line for line, less the two blanks that indent it on a
# terminal. With GZIP, OUT.gz is written beside OUT.
set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR help STREQUAL "")
  message(FATAL_ERROR "${PROGRAM} --help failed (${rc})")
endif()

# CMake lists split on semicolons and treat brackets specially: both travel as stand-ins while
# the text is cut into lines.
string(ASCII 1 semi)
string(ASCII 2 open)
string(ASCII 3 close)
string(REPLACE ";" "${semi}" help "${help}")
string(REPLACE "[" "${open}" help "${help}")
string(REPLACE "]" "${close}" help "${help}")
# roff: a backslash is written \e, a minus sign \-, and a line must not start with a dot or quote.
string(REPLACE "\\" "\\e" help "${help}")
string(REPLACE "-" "\\-" help "${help}")
string(REGEX REPLACE "\n$" "" help "${help}")
string(REPLACE "\n" ";" lines "${help}")

string(TOUPPER "${NAME}" title)
set(page ".TH ${title} 1 \"\" \"Coinwick ${VERSION}\" \"User Commands\"\n")
set(first TRUE)
set(synopsis FALSE)
foreach(line IN LISTS lines)
  if(first)
    string(APPEND page ".SH NAME\n${line}\n.SH SYNOPSIS\n.nf\n")
    set(first FALSE)
    set(synopsis TRUE)
    continue()
  endif()
  if(line MATCHES "^[a-z][a-z ]*:$")
    string(REGEX REPLACE ":$" "" heading "${line}")
    string(TOUPPER "${heading}" heading)
    string(APPEND page ".fi\n.SH ${heading}\n.nf\n")
    set(synopsis FALSE)
    continue()
  endif()
  # Cut by position: a REGEX REPLACE anchored with ^ would go on cutting after its first match.
  if(synopsis AND line MATCHES "^(usage: |       )")
    string(SUBSTRING "${line}" 7 -1 line)
  elseif(NOT synopsis AND line MATCHES "^  ")
    # The page indents its sections itself.
    string(SUBSTRING "${line}" 2 -1 line)
  endif()
  if(line MATCHES "^[.']")
    set(line "\\&${line}")
  endif()
  if(line STREQUAL "")
    continue()
  endif()
  string(APPEND page "${line}\n")
endforeach()
string(APPEND page ".fi\n")
string(REPLACE "${semi}" ";" page "${page}")
string(REPLACE "${open}" "[" page "${page}")
string(REPLACE "${close}" "]" page "${page}")
file(WRITE ${OUT} "${page}")
if(GZIP)
  # -n: no name or time stamp inside, so the same page always makes the same file.
  execute_process(COMMAND ${GZIP} -9nc ${OUT} OUTPUT_FILE ${OUT}.gz RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "gzip failed on ${OUT}")
  endif()
endif()
