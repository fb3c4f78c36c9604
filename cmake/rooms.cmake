# baud51_check_reach(TOP ROOM REACH SOURCES...): each of SOURCES, files of
# TOP/ROOM, includes from TOP's sub-folders only those in the list REACH;
# configuring stops at the first that reaches further.
#   mcs51's code room: "mcs51/code/..." and "mcs51/words/..." pass;
#   "mcs51/answers/..." stops the build.
function(baud51_check_reach top room reach)
  foreach(source IN LISTS ARGN)
    file(STRINGS ${source} includes REGEX "^#include \"${top}/[a-z_]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"${top}/([a-z_]+)/.*" "\\1" to
             "${line}")
      if(NOT to IN_LIST reach)
        message(FATAL_ERROR
                "${source} includes ${top}/${to}/, beyond the ${room} room")
      endif()
    endforeach()
  endforeach()
endfunction()
