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

# ThreadSanitizer, in a build of its own (the tsan preset): it cannot share a program with the
# address sanitizer. The full test run builds kaleno-solve and the tests of its threads so, and
# runs those.
option(KALENO_SANITIZE_THREADS "Build with ThreadSanitizer" OFF)
if(KALENO_SANITIZE_THREADS)
    if(KALENO_SANITIZE)
        message(FATAL_ERROR "KALENO_SANITIZE and KALENO_SANITIZE_THREADS exclude each other")
    endif()
    set(_kaleno_thread_flags -fsanitize=thread -fno-omit-frame-pointer)
    target_compile_options(kaleno_sanitizers INTERFACE ${_kaleno_thread_flags} -O1)
    target_link_options(kaleno_sanitizers INTERFACE ${_kaleno_thread_flags})
endif()
