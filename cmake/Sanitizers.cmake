# Address and undefined-behaviour sanitizers, on an INTERFACE target linked PRIVATE by every
# target of ours. A sanitizer finding aborts the program so that the test that met it fails.
# The code is optimised lightly (-O1, frame pointers kept): the differential tests then run in
# seconds, and the reports still name every frame.
option(KALENO_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

add_library(kaleno_sanitizers INTERFACE)
if(KALENO_SANITIZE)
    set(_kaleno_sanitize_flags
        -fsanitize=address,undefined
        -fno-sanitize-recover=all
        -fno-omit-frame-pointer)
    target_compile_options(kaleno_sanitizers INTERFACE ${_kaleno_sanitize_flags} -O1)
    target_link_options(kaleno_sanitizers INTERFACE ${_kaleno_sanitize_flags})
endif()
