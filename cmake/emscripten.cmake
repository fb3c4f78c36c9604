# Builds the page for the browser with Debian's Emscripten, whose platform
# file this extends. Debian's cache of system libraries is prebuilt and
# frozen, so EM_CACHE stays unset.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# The compiler's JavaScript optimiser needs acorn, which Debian installs as
# a Node module outside Node's own search path. Every compile and link sees
# it, whatever environment the build is started from.
set(baud51_node_path /usr/share/nodejs)
if(DEFINED ENV{NODE_PATH} AND NOT "$ENV{NODE_PATH}" STREQUAL "")
  string(APPEND baud51_node_path ":$ENV{NODE_PATH}")
endif()
set(CMAKE_CXX_COMPILER_LAUNCHER env NODE_PATH=${baud51_node_path})
set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=${baud51_node_path})

