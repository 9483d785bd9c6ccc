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
    cadenzium_use_precompiled_headers (${name})
    cadenzium_unity_build (${name})
endfunction()

# cadenzium_define_precompiled_headers (name header)
# A target that only compiles `header` as a precompiled header, with the flags and definitions
# every target of ours has (the framework's, and our warnings), for them to reuse.
function (cadenzium_define_precompiled_headers name header)
    add_library (${name} STATIC "${PROJECT_SOURCE_DIR}/cmake/empty.cpp")
    target_link_libraries (${name} PRIVATE cadenzium_juce cadenzium_warnings ${ARGN})
    target_precompile_headers (${name} PRIVATE "${header}")
endfunction()

# cadenzium_use_precompiled_headers (target [FROM pch-target])
# The target's files start from the precompiled framework headers (cadenzium_pch, or the
# tests' with FROM cadenzium_test_pch).
function (cadenzium_use_precompiled_headers target)
    cmake_parse_arguments (ARG "" "FROM" "" ${ARGN})
    if (NOT ARG_FROM)
        set (ARG_FROM cadenzium_pch)
    endif()
    target_precompile_headers (${target} REUSE_FROM ${ARG_FROM})

    # The headers were compiled as position-independent library code (-fPIC); the compiler
    # takes them only into files compiled the same way, which an executable's can be as well
    # (the later -fPIC wins over its -fPIE).
    get_target_property (type ${target} TYPE)
    if (type STREQUAL "EXECUTABLE")
        target_compile_options (${target} PRIVATE -fPIC)
    endif()
endfunction()

# cadenzium_unity_build (target)
# Compiles the target's files in batches, each batch as one file: the framework's templates
# are then instantiated and optimised once per batch instead of once per file.
function (cadenzium_unity_build target)
    set_target_properties (${target} PROPERTIES UNITY_BUILD ${CADENZIUM_UNITY_BUILD}
                                                UNITY_BUILD_BATCH_SIZE ${CADENZIUM_UNITY_BATCH_SIZE})
    # A file of a batch is an included file to the compiler, which then warns about every
    # class with a base or member from that file's anonymous namespace (test fixtures).
    if (CADENZIUM_UNITY_BUILD AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        target_compile_options (${target} PRIVATE -Wno-subobject-linkage)
    endif()
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
