# The .exe must run on a bare Windows: every DLL it imports is one of
# Windows' own (a MinGW runtime DLL such as libwinpthread-1.dll would have
# to be shipped beside it), and it carries no debugging symbols. Given
# MAX_KIB, it is no larger: code pulled in unseen shows here.
#   cmake -DOBJDUMP=... -DEXE=... [-DMAX_KIB=n] -P check_exe.cmake
cmake_minimum_required(VERSION 3.25)
set(windows_dlls advapi32 comctl32 gdi32 kernel32 msvcrt ole32 shell32
    ucrtbase user32 uxtheme version)

execute_process(COMMAND ${OBJDUMP} -p -h ${EXE} OUTPUT_VARIABLE dump
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "objdump cannot read ${EXE}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
if(NOT imports)
  message(FATAL_ERROR "no imports found in ${EXE}")
endif()
foreach(import IN LISTS imports)
  string(REGEX REPLACE "DLL Name: ([^.]+)\\.dll" "\\1" dll "${import}")
  string(TOLOWER "${dll}" dll)
  if(NOT dll IN_LIST windows_dlls AND NOT dll MATCHES "^api-ms-win-")
    message(FATAL_ERROR "${EXE} imports ${dll}.dll, which Windows lacks")
  endif()
  message(STATUS "imports ${dll}.dll")
endforeach()
if(dump MATCHES "\\.debug_")
  message(FATAL_ERROR "${EXE} is not stripped")
endif()
if(MAX_KIB)
  file(SIZE ${EXE} bytes)
  math(EXPR kib "(${bytes} + 1023) / 1024")
  if(kib GREATER MAX_KIB)
    message(FATAL_ERROR "${EXE} is ${kib} KiB, over ${MAX_KIB} KiB; a link "
                        "map (-Wl,-Map) shows what it took in")
  endif()
  message(STATUS "${kib} KiB of at most ${MAX_KIB}")
endif()
