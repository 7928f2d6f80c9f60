# Everything comes from Debian 12's packages (scripts/packages.txt); nothing is downloaded.
find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets)

if(PROJECT_IS_TOP_LEVEL)
    find_package(Qt6 6.4 REQUIRED COMPONENTS Test)
    find_package(GTest REQUIRED)
    find_package(benchmark REQUIRED)
endif()
