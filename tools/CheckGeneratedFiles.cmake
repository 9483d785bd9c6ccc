# Runs a generator into a scratch folder and checks that it writes exactly the committed files,
# byte for byte: the shipped files must stay reproducible from their generator, and a file
# the generator no longer makes must not linger in the repository.
#   cmake -DGENERATOR=<exe> -DCOMMITTED=<folder> -DSCRATCH=<folder> -P CheckGeneratedFiles.cmake
cmake_minimum_required (VERSION 3.22)

file (REMOVE_RECURSE "${SCRATCH}")
file (MAKE_DIRECTORY "${SCRATCH}")
execute_process (COMMAND "${GENERATOR}" "${SCRATCH}" RESULT_VARIABLE result OUTPUT_QUIET)

if (NOT result EQUAL 0)
    message (FATAL_ERROR "${GENERATOR} failed: ${result}")
endif()

file (GLOB_RECURSE generated RELATIVE "${SCRATCH}" "${SCRATCH}/*")

if (NOT generated)
    message (FATAL_ERROR "${GENERATOR} wrote nothing")
endif()

foreach (name IN LISTS generated)
    execute_process (COMMAND "${CMAKE_COMMAND}" -E compare_files "${SCRATCH}/${name}" "${COMMITTED}/${name}"
                     RESULT_VARIABLE different)
    if (different)
        message (FATAL_ERROR "${COMMITTED}/${name} differs from what ${GENERATOR} writes: regenerate it")
    endif()
endforeach()

file (GLOB_RECURSE committed RELATIVE "${COMMITTED}" "${COMMITTED}/*")

foreach (name IN LISTS committed)
    if (NOT name IN_LIST generated)
        message (FATAL_ERROR "${COMMITTED}/${name} is not made by ${GENERATOR}: remove it or regenerate")
    endif()
endforeach()
