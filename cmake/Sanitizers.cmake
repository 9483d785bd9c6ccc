# A separate build directory configured with -DCADENZIUM_SANITIZE=thread (or address)
# instruments everything, JUCE included, so races and memory errors are reported
# wherever they happen.
if (CADENZIUM_SANITIZE)
    add_compile_options (-fsanitize=${CADENZIUM_SANITIZE} -fno-omit-frame-pointer -g)
    add_link_options (-fsanitize=${CADENZIUM_SANITIZE})
endif()
