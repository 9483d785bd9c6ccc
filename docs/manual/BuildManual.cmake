# Markdown chapters -> one HTML page (pandoc) -> PDF (WeasyPrint). Run by the manual target:
# cmake -DPANDOC= -DWEASYPRINT= -DSOURCE=<docs/manual> -DOUTPUT=<build>/manual -DPDF=<file> -DVERSION= -P BuildManual.cmake
file (GLOB chapters "${SOURCE}/chapters/*.md")
list (SORT chapters)
file (COPY "${SOURCE}/manual.css" DESTINATION "${OUTPUT}")

# WeasyPrint leaves a missing picture out without a word: every picture a chapter shows must
# have been taken.
foreach (chapter ${chapters})
    file (READ "${chapter}" text)
    string (REGEX MATCHALL "\\(images/[^)]+\\.png\\)" pictures "${text}")
    foreach (picture ${pictures})
        string (REGEX REPLACE "^\\((.*)\\)$" "\\1" picture "${picture}")
        if (NOT EXISTS "${OUTPUT}/${picture}")
            get_filename_component (name "${chapter}" NAME)
            message (FATAL_ERROR "${name} shows ${picture}, which the screenshot program did not take")
        endif()
    endforeach()
endforeach()

execute_process (
    COMMAND "${PANDOC}" --from markdown --to html5 --standalone --toc --toc-depth=2
            --metadata "title=Cadenzium 2" --metadata "subtitle=User Manual, version ${VERSION}"
            --metadata "lang=en" --css manual.css -o manual.html ${chapters}
    WORKING_DIRECTORY "${OUTPUT}"
    RESULT_VARIABLE result)

if (NOT result EQUAL 0)
    message (FATAL_ERROR "pandoc could not convert the manual")
endif()

execute_process (
    COMMAND "${WEASYPRINT}" --quiet manual.html manual.pdf
    WORKING_DIRECTORY "${OUTPUT}"
    RESULT_VARIABLE result)

if (NOT result EQUAL 0)
    message (FATAL_ERROR "weasyprint could not print the manual")
endif()

file (COPY_FILE "${OUTPUT}/manual.pdf" "${PDF}")
