# ccache, when it is installed, for every compile. scripts/lib.sh sets its base directory to the
# repository, so a fresh clone reuses what an earlier clone compiled.
find_program(KALENO_CCACHE ccache)
if(KALENO_CCACHE)
    set(CMAKE_CXX_COMPILER_LAUNCHER "${KALENO_CCACHE}")
endif()
