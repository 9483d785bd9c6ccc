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
