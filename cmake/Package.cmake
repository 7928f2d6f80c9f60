# A Debian package of what cmake --install installs: cpack -G DEB in the build folder makes
# kaleno_<version>_<arch>.deb, its dependencies found by dpkg-shlibdeps.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "kaleno")
set(CPACK_PACKAGE_VERSION "${KALENO_VERSION_TEXT}")
set(CPACK_PACKAGE_CONTACT "Kaleno <kaleno@example.org>")
set(CPACK_PACKAGE_VENDOR "${KALENO_AUTHOR}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "solver of 9x9 number-placement puzzles")
# CPack puts the summary above this, as the synopsis.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Kaleno opens a window, in French, with a grid of 81 cells: type the known
digits of a puzzle and ask for the solution. The givens turn orange and the
other cells fill in, or a message says there is none. When a grid has several
completions, Kaleno gives the smallest, reading the cells row by row.
.
The command kaleno-solve solves whole files of puzzles and counts completions.")
# Not "games": that section wants its programs in /usr/games, and ours go to /usr/bin.
set(CPACK_DEBIAN_PACKAGE_SECTION "misc")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://kaleno.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beside the libraries dpkg-shlibdeps finds: Liberation Sans, the narrow face that stands in for
# the windows' MS Sans Serif (runtime/ui_style.cpp); without it they fall back to a wider one.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2 | fonts-liberation")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
include(CPack)
