# A separate build directory configured with -DCADENZIUM_SANITIZE=thread, address or
# address,undefined. Threads and addresses are instrumented everywhere, JUCE included, so
# races and memory errors are reported wherever they happen (a component freed by the
# editor and touched by the framework, say). Undefined behaviour is looked for in our own
# code only: in the framework it multiplied the build's time and is not ours to fix.
# With CADENZIUM_FRAMEWORK_ARCHIVE (make test's address build) the framework comes
# uninstrumented from the plain build: every error in our code is still reported, the
# allocator still catches a double or wrong delete anywhere, and with freed memory filled
# (ASAN_OPTIONS max_free_fill_size) the framework calling into a freed component crashes on
# the spot; only its quieter reads of freed memory go unseen (`make gui-fuzz` instruments
# everything).
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

# GCC's flow analysis sees through AddressSanitizer's checks less well and reports values
# (a std::optional returned empty, say) as maybe uninitialised that are not; the plain build
# keeps the warning.
if (CADENZIUM_SANITIZE MATCHES "address" AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    set_property (TARGET cadenzium_warnings APPEND PROPERTY INTERFACE_COMPILE_OPTIONS -Wno-maybe-uninitialized)
endif()
