# The regex engine compiled with the program's double-byte character model. gnulib's gllib/ holds
# replacement system headers, so its include paths stay private to this one library.
file(GLOB DBCS_REGEX_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/engine/regex/*.c)
if(DBCS_REGEX_SOURCES)
  add_library(dbcs_regex STATIC ${DBCS_REGEX_SOURCES})
  target_include_directories(dbcs_regex PRIVATE
    ${GNULIB_BUILD_DIR} ${GNULIB_BUILD_DIR}/gllib ${GNULIB_SRC_DIR}/gllib)
  target_link_libraries(dbcs_regex PUBLIC gnulib::gnu)
endif()
