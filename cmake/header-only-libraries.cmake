# nlohmann-json, {fmt} and fast_float for the Windows and browser
# builds. All three can be used from their headers alone ({fmt} with
# FMT_HEADER_ONLY), and those carry no code for one platform, so those builds
# take them from Debian's packages for the build machine. It reaches them through a folder
# of links that holds only them: the rest of /usr/include is glibc's.
set(baud51_header_only ${PROJECT_BINARY_DIR}/header-only)
file(MAKE_DIRECTORY ${baud51_header_only})
foreach(library nlohmann fmt fast_float)
  if(NOT IS_DIRECTORY /usr/include/${library})
    message(FATAL_ERROR "/usr/include/${library} is missing: this build "
                        "needs nlohmann-json3-dev, libfmt-dev and "
                        "libfast-float-dev")
  endif()
  file(CREATE_LINK /usr/include/${library} ${baud51_header_only}/${library}
       SYMBOLIC)
endforeach()

foreach(target nlohmann_json::nlohmann_json fmt::fmt
               FastFloat::fast_float)
  add_library(${target} INTERFACE IMPORTED)
  set_target_properties(${target} PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${baud51_header_only})
endforeach()
set_target_properties(fmt::fmt PROPERTIES
  INTERFACE_COMPILE_DEFINITIONS FMT_HEADER_ONLY)
# No number here is ever written for a locale; without this {fmt} brings
# in all of std::locale: a third of the page, two thirds of baud51.exe.
set_property(TARGET fmt::fmt APPEND PROPERTY
  INTERFACE_COMPILE_DEFINITIONS "FMT_STATIC_THOUSANDS_SEPARATOR=','")
if(EMSCRIPTEN)
  # Nor is any a float, a long double or a 128-bit integer: their writers
  # would be a sixth of the page.
  set_property(TARGET fmt::fmt APPEND PROPERTY
    INTERFACE_COMPILE_DEFINITIONS
    FMT_USE_FLOAT=0 FMT_USE_LONG_DOUBLE=0 FMT_USE_INT128=0)
endif()
