# GoogleTest built from Debian's sources with the cross compiler (there is no packaged MinGW
# build of it). Gives the same GTest::gtest and GTest::gtest_main targets as find_package.
set(SURFTALLY_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
if(NOT EXISTS ${SURFTALLY_GOOGLETEST_SOURCE}/googletest/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found in ${SURFTALLY_GOOGLETEST_SOURCE}; "
                        "install googletest (scripts/install-deps)")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
# Our warning options are for our code, not for GoogleTest's.
get_directory_property(saved_compile_options COMPILE_OPTIONS)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "")
add_subdirectory(${SURFTALLY_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "${saved_compile_options}")
