# The program's version and names: the one place to change them. The top-level CMakeLists.txt
# reads this file before project(), and everything else takes them from there: the version
# header, the Windows version resource, the man pages, the metainfo, the package and its checks.
set(KALENO_VERSION_NUMERIC "1.1.0.0") # file and product version of the version resource
set(KALENO_VERSION_TEXT "1.01") # what people see, and the package's version
set(KALENO_PRODUCT_NAME "kaleno")
set(KALENO_INTERNAL_NAME "kaleno")
set(KALENO_AUTHOR "Kaleno")
set(KALENO_APP_ID "org.example.Kaleno") # desktop entry, metainfo and icons share it
