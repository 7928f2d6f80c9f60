# The solve loops gain a fifth or more from -O3's unrolling; the rest of the program doesn't
# care. Linked PRIVATE by the hot libraries only, and never in Debug builds.
add_library(kaleno_hot_code INTERFACE)
target_compile_options(kaleno_hot_code INTERFACE $<$<NOT:$<CONFIG:Debug>>:-O3>)
