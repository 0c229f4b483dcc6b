# GNU regex comes from Debian's gnulib package. The module is extracted and configured for the
# target once per build tree, at configure time, so its generated headers exist before anything
# that includes them is compiled. A stamp keeps later configures quick.
set(GNULIB_TOOL /usr/share/gnulib/gnulib-tool)
if(NOT EXISTS ${GNULIB_TOOL})
  message(FATAL_ERROR "gnulib is not installed (apt-get install gnulib); scripts/test installs it")
endif()

set(GNULIB_SRC_DIR ${CMAKE_BINARY_DIR}/gnulib-src)
set(GNULIB_BUILD_DIR ${CMAKE_BINARY_DIR}/gnulib-build)
set(_gnulib_stamp ${GNULIB_BUILD_DIR}/.scourly-built)

if(NOT EXISTS ${_gnulib_stamp})
  message(STATUS "Building gnulib regex for ${SCOURLY_HOST} (about a minute)")
  file(REMOVE_RECURSE ${GNULIB_SRC_DIR} ${GNULIB_BUILD_DIR})
  execute_process(
    COMMAND ${GNULIB_TOOL} --create-testdir --dir=${GNULIB_SRC_DIR} --without-tests regex
    OUTPUT_FILE ${CMAKE_BINARY_DIR}/gnulib-tool.log ERROR_FILE ${CMAKE_BINARY_DIR}/gnulib-tool.log
    RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "gnulib-tool failed, see ${CMAKE_BINARY_DIR}/gnulib-tool.log")
  endif()
  file(MAKE_DIRECTORY ${GNULIB_BUILD_DIR})
  execute_process(
    COMMAND ${GNULIB_SRC_DIR}/configure --host=${SCOURLY_HOST}
            CC=${CMAKE_C_COMPILER} CFLAGS=-O2
    WORKING_DIRECTORY ${GNULIB_BUILD_DIR}
    OUTPUT_FILE ${GNULIB_BUILD_DIR}/configure.log ERROR_FILE ${GNULIB_BUILD_DIR}/configure.log
    RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "gnulib configure failed, see ${GNULIB_BUILD_DIR}/configure.log")
  endif()
  execute_process(
    COMMAND make -j2
    WORKING_DIRECTORY ${GNULIB_BUILD_DIR}
    OUTPUT_FILE ${GNULIB_BUILD_DIR}/make.log ERROR_FILE ${GNULIB_BUILD_DIR}/make.log
    RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "gnulib make failed, see ${GNULIB_BUILD_DIR}/make.log")
  endif()
  file(TOUCH ${_gnulib_stamp})
endif()

add_library(gnulib::gnu STATIC IMPORTED GLOBAL)
set_target_properties(gnulib::gnu PROPERTIES IMPORTED_LOCATION ${GNULIB_BUILD_DIR}/gllib/libgnu.a)
