# Strict warnings for our own sources only: JUCE's module sources trip several
# GCC 12 warnings that are not ours to fix.
add_library (cadenzium_warnings INTERFACE)
target_compile_options (cadenzium_warnings INTERFACE
    -Wall -Wextra -Wpedantic
    -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
    -Wcast-align -Wunused
    -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough
    -Wsign-compare -Wmisleading-indentation
    $<$<CXX_COMPILER_ID:GNU>:-Wduplicated-cond -Wlogical-op>
    -Werror)
