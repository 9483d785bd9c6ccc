# One CTest test per GoogleTest suite of an executable, not per case: the cases of a suite
# share a process. Starting one costs a window test its own X server and the framework's
# start-up, and that was most of what a short case took (3 times the CPU time and 2.4 times
# the wall time of the same cases in one process). The suites are listed when CTest runs,
# as gtest_discover_tests' PRE_TEST mode does, so a new suite needs no new configure. Each
# test's TIMEOUT is 600 s unless PROPERTIES gives another.
function (cadenzium_add_suite_tests target)
    cmake_parse_arguments (ARG "" "" "PROPERTIES" ${ARGN})
    set (include_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_suites.cmake")
    file (GENERATE OUTPUT "${include_file}" CONTENT
"set (suite_executable [==[$<TARGET_FILE:${target}>]==])
set (suite_directory [==[${CMAKE_CURRENT_BINARY_DIR}]==])
set (suite_properties [==[${ARG_PROPERTIES}]==])
include ([==[${CMAKE_CURRENT_FUNCTION_LIST_DIR}/AddSuiteTests.cmake]==])
")
    set_property (DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${include_file}")
endfunction()
