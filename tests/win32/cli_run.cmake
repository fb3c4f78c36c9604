# Runs baud51-cli.exe under Wine as a user's script would and checks its
# exit status, that its output went to the right stream, and what it said:
#   cmake -DRUN=<wine-run|prefix> -DEXE=... -DARGS=<a|b|...> -DSTATUS=n
#         -DOUT=<regex> -DERR=<regex> -P cli_run.cmake
# An empty OUT or ERR means that stream must stay empty; a message on stderr
# is one line, and stdout, a pipe, has no colour.
string(REPLACE "|" ";" RUN "${RUN}")
string(REPLACE "|" ";" ARGS "${ARGS}")
execute_process(COMMAND ${RUN} ${EXE} ${ARGS}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(REPLACE "\r\n" "\n" out "${out}")
string(REPLACE "\r\n" "\n" err "${err}")
set(seen "status ${status}\n-- stdout:\n${out}\n-- stderr:\n${err}")
if(NOT status EQUAL STATUS)
  message(FATAL_ERROR "expected status ${STATUS}; ${seen}")
endif()
foreach(stream out err)
  string(TOUPPER ${stream} pattern)
  if("${${pattern}}" STREQUAL "")
    if(NOT "${${stream}}" STREQUAL "")
      message(FATAL_ERROR "std${stream} should be empty; ${seen}")
    endif()
  elseif(NOT "${${stream}}" MATCHES "${${pattern}}")
    message(FATAL_ERROR "std${stream} does not match '${${pattern}}'; ${seen}")
  endif()
endforeach()
if(NOT err STREQUAL "" AND NOT err MATCHES "^[^\n]*\n$")
  message(FATAL_ERROR "stderr is not one line; ${seen}")
endif()
# A pipe is no console: no colour, so no escape codes.
string(ASCII 27 escape)
string(FIND "${out}" "${escape}" at)
if(NOT at EQUAL -1)
  message(FATAL_ERROR "stdout has escape codes, but is no console; ${seen}")
endif()
