# The regex engine compiled with the program's double-byte character model; its objects become part
# of the engine's library. gnulib's gllib/ holds replacement system headers, so its include paths
# stay private to these sources. They are system directories because DbcsRegex.c includes gnulib's
# regex.c, which redefines a __STDC_ macro that config.h has set (GCC always warns about that
# outside system headers) and is not written for our warning flags; our own code in that file is
# still held to -Wall -Wextra.
file(GLOB DBCS_REGEX_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/engine/regex/*.c)
add_library(dbcs_regex OBJECT ${DBCS_REGEX_SOURCES})
target_include_directories(dbcs_regex SYSTEM PRIVATE
  ${GNULIB_BUILD_DIR} ${GNULIB_BUILD_DIR}/gllib ${GNULIB_SRC_DIR}/gllib)
# The character model it shares with the program's strings comes from the framework below it.
target_include_directories(dbcs_regex PRIVATE ${CMAKE_BINARY_DIR}/layers/scourly_framework)
target_compile_options(dbcs_regex PRIVATE -Wall -Wextra)
target_link_libraries(dbcs_regex PUBLIC gnulib::gnu)
