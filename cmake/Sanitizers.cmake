# A separate build directory configured with -DCADENZIUM_SANITIZE=thread, address or
# address,undefined. Threads and addresses are instrumented everywhere, JUCE included, so
# races and memory errors are reported wherever they happen (a component freed by the
# editor and touched by the framework, say). Undefined behaviour is looked for in our own
# code only: in the framework it multiplied the build's time and is not ours to fix.
if (CADENZIUM_SANITIZE)
    string (REPLACE "," ";" sanitizers "${CADENZIUM_SANITIZE}")
    set (everywhere ${sanitizers})
    list (REMOVE_ITEM everywhere undefined)
    list (JOIN everywhere "," everywhere)

    if (everywhere)
        add_compile_options (-fsanitize=${everywhere} -fno-omit-frame-pointer)
    endif()

    add_link_options (-fsanitize=${CADENZIUM_SANITIZE})

    if ("undefined" IN_LIST sanitizers)
        set_property (TARGET cadenzium_warnings APPEND PROPERTY INTERFACE_COMPILE_OPTIONS
            -fsanitize=undefined -fno-sanitize-recover=undefined)
    endif()
endif()
