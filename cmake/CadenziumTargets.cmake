# cadenzium_add_library (name SOURCES ... [DEPENDS ...])
# A static library of our own code: strict warnings, the shared JUCE headers and
# definitions, and the JUCE modules from the plug-in's shared-code library.
function (cadenzium_add_library name)
    cmake_parse_arguments (ARG "" "" "SOURCES;DEPENDS" ${ARGN})
    add_library (${name} STATIC ${ARG_SOURCES})
    # Folders add their sources with target_sources; an empty library needs one to exist.
    if (NOT ARG_SOURCES)
        target_sources (${name} PRIVATE "${PROJECT_SOURCE_DIR}/cmake/empty.cpp")
    endif()
    target_link_libraries (${name}
        PUBLIC cadenzium_juce ${ARG_DEPENDS}
        PRIVATE cadenzium_warnings)
endfunction()

# cadenzium_check_includes (target FOLDERS ... [EXCLUDE ...] [ALLOW ...] [DENY ...] [EXCEPTIONS file=prefix ...])
# Makes an include the target's folders may not use a build error: before the target builds,
# cmake/CheckLayerIncludes.cmake reads every header and source under FOLDERS (not under EXCLUDE,
# which belong to other targets) and fails on an include of our own code that lies outside
# FOLDERS and ALLOW, or under DENY. Paths are relative to the project folder.
function (cadenzium_check_includes target)
    cmake_parse_arguments (ARG "" "" "FOLDERS;EXCLUDE;ALLOW;DENY;EXCEPTIONS" ${ARGN})

    set (watched)
    foreach (folder IN LISTS ARG_FOLDERS)
        file (GLOB_RECURSE found CONFIGURE_DEPENDS
            "${PROJECT_SOURCE_DIR}/${folder}/*.h"
            "${PROJECT_SOURCE_DIR}/${folder}/*.cpp")
        list (APPEND watched ${found})
    endforeach()

    set (script "${PROJECT_SOURCE_DIR}/cmake/CheckLayerIncludes.cmake")
    set (stamp "${CMAKE_CURRENT_BINARY_DIR}/${target}.includes-checked")
    list (JOIN ARG_FOLDERS "," folders)
    list (JOIN ARG_EXCLUDE "," excluded)
    list (JOIN ARG_ALLOW "," allowed)
    list (JOIN ARG_DENY "," denied)
    list (JOIN ARG_EXCEPTIONS "," exceptions)

    add_custom_command (
        OUTPUT "${stamp}"
        COMMAND "${CMAKE_COMMAND}"
            "-DROOT=${PROJECT_SOURCE_DIR}" "-DLAYER=${target}" "-DFOLDERS=${folders}"
            "-DEXCLUDE=${excluded}" "-DALLOW=${allowed}" "-DDENY=${denied}"
            "-DEXCEPTIONS=${exceptions}" "-DSTAMP=${stamp}" -P "${script}"
        DEPENDS "${script}" ${watched}
        COMMENT "Checking the includes of ${target}"
        VERBATIM)
    target_sources (${target} PRIVATE "${stamp}")
endfunction()
