# Warnings travel on an INTERFACE target that each of our targets links PRIVATE, so nothing
# leaks into the flags of whoever builds against us.
option(KALENO_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)

add_library(kaleno_warnings INTERFACE)
target_compile_options(kaleno_warnings INTERFACE
    -Wall -Wextra -Wpedantic
    -Wshadow -Wconversion
    -Wnon-virtual-dtor -Woverloaded-virtual
    -Wcast-align -Wunused -Wformat=2 -Wimplicit-fallthrough
    $<$<BOOL:${KALENO_WARNINGS_AS_ERRORS}>:-Werror>)
