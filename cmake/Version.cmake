# The program's version and names, in one place. Everything else is generated from here: the
# header the programs include, the Windows version resource, the package, the metainfo.
set(KALENO_VERSION_NUMERIC "1.1.0.0") # file and product version of the version resource
set(KALENO_VERSION_TEXT "1.01") # what people see, and the package's version
set(KALENO_PRODUCT_NAME "kaleno")
set(KALENO_INTERNAL_NAME "kaleno")
set(KALENO_AUTHOR "Kaleno")
set(KALENO_APP_ID "org.example.Kaleno") # desktop entry, metainfo and icons share it

string(REPLACE "." "," KALENO_VERSION_COMMAS "${KALENO_VERSION_NUMERIC}")

configure_file("${PROJECT_SOURCE_DIR}/cmake/kaleno_version.h.in" "${PROJECT_BINARY_DIR}/generated/kaleno_version.h" @ONLY)
configure_file("${PROJECT_SOURCE_DIR}/app/kaleno.rc.in" "${PROJECT_BINARY_DIR}/generated/kaleno.rc" @ONLY)

add_library(kaleno_version INTERFACE)
target_include_directories(kaleno_version INTERFACE "${PROJECT_BINARY_DIR}/generated")
