# Fails when a layer's files include a header they may not use.
#
#   cmake -DROOT=<project folder> -DLAYER=<target name> -DFOLDERS=<a,b> [-DEXCLUDE=<c,d>]
#         [-DALLOW=<e,f>] [-DDENY=<g,h>] [-DEXCEPTIONS=<file=prefix,...>] [-DSTAMP=<file>]
#         -P CheckLayerIncludes.cmake
#
# Every .h/.cpp under FOLDERS (but not under EXCLUDE, which other targets own) is read. An
# include of our own code (a path under tarn/, brindlex/ or source/, written from the project
# folder or relative to the including file) must lie under FOLDERS or ALLOW and not under DENY;
# an EXCEPTIONS entry lets one file include one more prefix. All paths are relative to ROOT and
# lists are comma-separated. On success the STAMP file is touched, so the build runs the check
# again only when a file changes.

cmake_minimum_required (VERSION 3.22)

foreach (required ROOT LAYER FOLDERS)
    if (NOT DEFINED ${required})
        message (FATAL_ERROR "CheckLayerIncludes: ${required} is not set")
    endif()
endforeach()

set (ownRoots tarn brindlex source)

# "a,b" to a list of folder prefixes ending in a slash.
function (to_prefixes out text)
    string (REPLACE "," ";" items "${text}")
    set (prefixes)
    foreach (item IN LISTS items)
        string (STRIP "${item}" item)
        if (item STREQUAL "")
            continue()
        endif()
        string (REGEX REPLACE "/+$" "" item "${item}")
        list (APPEND prefixes "${item}/")
    endforeach()
    set (${out} "${prefixes}" PARENT_SCOPE)
endfunction()

function (starts_with_any out path prefixes)
    set (${out} FALSE PARENT_SCOPE)
    foreach (prefix IN LISTS prefixes)
        if (prefix STREQUAL "")
            continue()
        endif()
        string (LENGTH "${prefix}" length)
        string (SUBSTRING "${path}" 0 ${length} head)
        if (head STREQUAL prefix)
            set (${out} TRUE PARENT_SCOPE)
            return()
        endif()
    endforeach()
endfunction()

to_prefixes (folders "${FOLDERS}")
to_prefixes (excluded "${EXCLUDE}")
to_prefixes (allowed "${ALLOW}")
to_prefixes (denied "${DENY}")
list (APPEND allowed ${folders})

string (REPLACE "," ";" exceptions "${EXCEPTIONS}")

set (files)
foreach (folder IN LISTS folders)
    file (GLOB_RECURSE found RELATIVE "${ROOT}" "${ROOT}/${folder}*.h" "${ROOT}/${folder}*.cpp")
    list (APPEND files ${found})
endforeach()
list (REMOVE_DUPLICATES files)
list (SORT files)

set (problems)

foreach (file IN LISTS files)
    starts_with_any (isExcluded "${file}" "${excluded}")
    if (isExcluded)
        continue()
    endif()

    # The prefixes this one file may include besides the layer's own.
    set (extra)
    foreach (exception IN LISTS exceptions)
        if (exception MATCHES "^([^=]+)=(.+)$" AND CMAKE_MATCH_1 STREQUAL file)
            to_prefixes (prefix "${CMAKE_MATCH_2}")
            list (APPEND extra ${prefix})
        endif()
    endforeach()

    get_filename_component (folderOfFile "${file}" DIRECTORY)
    file (STRINGS "${ROOT}/${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")

    foreach (line IN LISTS lines)
        if (NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*([<\"])([^>\"]+)[>\"]")
            continue()
        endif()

        set (included "${CMAKE_MATCH_2}")

        # A quoted include names a file next to the includer first.
        if (CMAKE_MATCH_1 STREQUAL "\"" AND EXISTS "${ROOT}/${folderOfFile}/${included}")
            get_filename_component (absolute "${ROOT}/${folderOfFile}/${included}" ABSOLUTE)
            file (RELATIVE_PATH included "${ROOT}" "${absolute}")
        endif()

        set (isOurs FALSE)
        foreach (ownRoot IN LISTS ownRoots)
            if (included MATCHES "^${ownRoot}/")
                set (isOurs TRUE)
            endif()
        endforeach()

        if (NOT isOurs)
            continue()
        endif()

        starts_with_any (isAllowed "${included}" "${allowed};${extra}")
        starts_with_any (isDenied "${included}" "${denied}")
        starts_with_any (isException "${included}" "${extra}")

        if ((NOT isAllowed OR isDenied) AND NOT isException)
            list (APPEND problems "  ${file} includes ${included}")
        endif()
    endforeach()
endforeach()

if (problems)
    string (REPLACE ";" ", " allowedText "${allowed}")
    string (REPLACE ";" ", " deniedText "${denied}")
    if (deniedText STREQUAL "")
        set (deniedText "nothing")
    endif()
    list (JOIN problems "\n" problemText)
    message (FATAL_ERROR "Forbidden include in ${LAYER}: its files may include ${allowedText} "
                        "(but not ${deniedText}), and nothing of a layer above.\n${problemText}\n")
endif()

if (DEFINED STAMP)
    file (TOUCH "${STAMP}")
endif()
