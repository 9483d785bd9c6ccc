# Run by CTest (see SuiteTests.cmake): adds a test for each suite the executable lists.
# In: suite_executable, suite_directory, suite_properties.
get_filename_component (executable_name "${suite_executable}" NAME)

if (NOT EXISTS "${suite_executable}")
    add_test ("${executable_name}_NOT_BUILT" "${suite_executable}")
    return()
endif()

execute_process (COMMAND "${suite_executable}" --gtest_list_tests
                 WORKING_DIRECTORY "${suite_directory}"
                 OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE result TIMEOUT 60)

if (NOT result EQUAL 0)
    # A test that fails, with the reason, rather than tests that silently vanish.
    add_test ("${executable_name}_CANNOT_LIST" "${CMAKE_COMMAND}" -E echo "cannot list the tests of ${suite_executable}: ${result} ${errors}")
    set_tests_properties ("${executable_name}_CANNOT_LIST" PROPERTIES WILL_FAIL TRUE)
    return()
endif()

string (REPLACE "\n" ";" lines "${listing}")

# A long suite runs in shards of about this many cases (GoogleTest's own sharding), so that
# CTest can still spread it over the cores.
set (cases_per_shard 6)

function (add_suite suite cases)
    math (EXPR shards "(${cases} + ${cases_per_shard} - 1) / ${cases_per_shard}")
    math (EXPR last "${shards} - 1")

    foreach (shard RANGE ${last})
        set (name "${suite}")
        if (shards GREATER 1)
            math (EXPR number "${shard} + 1")
            string (APPEND name " (${number}/${shards})")
        endif()
        add_test ("${name}" "${suite_executable}" "--gtest_filter=${suite}.*")
        set_tests_properties ("${name}" PROPERTIES WORKING_DIRECTORY "${suite_directory}" TIMEOUT 600
                              ENVIRONMENT "GTEST_TOTAL_SHARDS=${shards};GTEST_SHARD_INDEX=${shard}" ${suite_properties})
    endforeach()
endfunction()

set (suite "")

foreach (line IN LISTS lines)
    # "Suite." or "Prefix/Suite.  # TypeParam = ..." start a suite; its cases are indented.
    if (line MATCHES "^([^ ]+)\\.( |$)")
        if (suite)
            add_suite ("${suite}" ${cases})
        endif()
        set (suite "${CMAKE_MATCH_1}")
        set (cases 0)
    elseif (suite AND line MATCHES "^  [^ ]")
        math (EXPR cases "${cases} + 1")
    endif()
endforeach()

if (suite)
    add_suite ("${suite}" ${cases})
endif()
