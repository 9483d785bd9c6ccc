# Runs a generator into a scratch folder and checks that every file it writes equals the
# committed copy: the shipped example files must stay reproducible from their generator.
#   cmake -DGENERATOR=<exe> -DCOMMITTED=<folder> -DSCRATCH=<folder> -P CheckGeneratedFiles.cmake
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
