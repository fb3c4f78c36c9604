# The portable .zip holds both programs at its top level.
#   cmake -DBUILD=<build tree> -DCPACK=<cpack> -P check_zip.cmake
cmake_minimum_required(VERSION 3.25)
set(out ${BUILD}/zip-check)
file(REMOVE_RECURSE ${out})
execute_process(COMMAND ${CPACK} -G ZIP --config ${BUILD}/CPackConfig.cmake
                        -B ${out}
                RESULT_VARIABLE status OUTPUT_QUIET)
file(GLOB zips ${out}/*.zip)
if(NOT status EQUAL 0 OR NOT zips)
  message(FATAL_ERROR "cpack made no .zip")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${zips}
                OUTPUT_VARIABLE listing)
foreach(program baud51 baud51-cli)
  if(NOT listing MATCHES "(^|\n)${program}\\.exe(\n|$)")
    message(FATAL_ERROR "${program}.exe is not at the top of the zip:\n${listing}")
  endif()
endforeach()
message(STATUS "${zips}:\n${listing}")
