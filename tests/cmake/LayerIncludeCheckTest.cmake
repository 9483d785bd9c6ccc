# Runs cmake/CheckLayerIncludes.cmake on a small made-up project in a scratch folder and
# fails unless it refuses exactly the includes a layer may not use.
#
#   cmake -DSCRIPT=<CheckLayerIncludes.cmake> -DSCRATCH=<folder> -P LayerIncludeCheckTest.cmake

set (root "${SCRATCH}/project")
file (REMOVE_RECURSE "${root}")

file (WRITE "${root}/tarn/util/Helper.h" "#pragma once\n")
file (WRITE "${root}/tarn/gui/Knob.h" "#pragma once\n")
file (WRITE "${root}/source/processor/Processor.h" "#pragma once\n#include <tarn/util/Helper.h>\n")
file (WRITE "${root}/source/processor/Processor.cpp"
      "#include \"Processor.h\"\n#include <juce_core/juce_core.h>\n#include <vector>\n")
file (WRITE "${root}/source/processor/Plugin.cpp" "#include <source/editor/Editor.h>\n")
file (WRITE "${root}/source/editor/Editor.h" "#pragma once\n#include <tarn/gui/Knob.h>\n")

# The processor's rules: tarn but not its widgets, and the editor only from Plugin.cpp.
function (check outVariable)
    execute_process (
        COMMAND "${CMAKE_COMMAND}" "-DROOT=${root}" -DLAYER=processor -DFOLDERS=source/processor
                "-DALLOW=tarn" "-DDENY=tarn/gui" "-DEXCEPTIONS=source/processor/Plugin.cpp=source/editor"
                -P "${SCRIPT}"
        RESULT_VARIABLE result
        ERROR_VARIABLE output)
    set (${outVariable}_result "${result}" PARENT_SCOPE)
    set (${outVariable}_output "${output}" PARENT_SCOPE)
endfunction()

check (clean)
if (NOT clean_result EQUAL 0)
    message (FATAL_ERROR "A layer that includes only what it may was refused:\n${clean_output}")
endif()

# Planted: a widget header, an editor header from a file without the exception, and a path
# that climbs out of the folder to reach the editor.
file (WRITE "${root}/source/processor/Pipeline.cpp"
      "#include \"Processor.h\"\n  #  include <tarn/gui/Knob.h>\n#include \"../editor/Editor.h\"\n")
check (planted)

if (planted_result EQUAL 0)
    message (FATAL_ERROR "The planted forbidden includes passed the check")
endif()

foreach (expected
         "Forbidden include in processor"
         "source/processor/Pipeline.cpp includes tarn/gui/Knob.h"
         "source/processor/Pipeline.cpp includes source/editor/Editor.h")
    string (FIND "${planted_output}" "${expected}" at)
    if (at EQUAL -1)
        message (FATAL_ERROR "The check's message lacks \"${expected}\":\n${planted_output}")
    endif()
endforeach()

foreach (allowed "Plugin.cpp" "Processor.h includes" "Processor.cpp includes")
    string (FIND "${planted_output}" "${allowed}" at)
    if (NOT at EQUAL -1)
        message (FATAL_ERROR "The check refused an allowed include (${allowed}):\n${planted_output}")
    endif()
endforeach()
