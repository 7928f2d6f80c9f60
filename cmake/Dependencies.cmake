# Everything comes from Debian 12's packages (scripts/packages.txt); nothing is downloaded.
find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets)

# The test and benchmark libraries only for a build with tests: a packager's build
# (-DBUILD_TESTING=OFF) needs none of them.
if(PROJECT_IS_TOP_LEVEL AND BUILD_TESTING)
    find_package(Qt6 6.4 REQUIRED COMPONENTS Test)
    find_package(GTest REQUIRED)
    find_package(benchmark REQUIRED)
endif()
