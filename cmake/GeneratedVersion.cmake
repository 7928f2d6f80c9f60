# The files made from cmake/Version.cmake: the header the programs include and the Windows
# version resource. Programs that show the version link kaleno_version.
string(REPLACE "." "," KALENO_VERSION_COMMAS "${KALENO_VERSION_NUMERIC}")

configure_file("${PROJECT_SOURCE_DIR}/cmake/kaleno_version.h.in"
    "${PROJECT_BINARY_DIR}/generated/kaleno_version.h" @ONLY)
configure_file("${PROJECT_SOURCE_DIR}/app/kaleno.rc.in"
    "${PROJECT_BINARY_DIR}/generated/kaleno.rc" @ONLY)

add_library(kaleno_version INTERFACE)
target_include_directories(kaleno_version INTERFACE "${PROJECT_BINARY_DIR}/generated")
