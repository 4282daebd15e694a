# The Debian package: `cpack -G DEB` in a build folder (after the build)
# writes quorvel_<version>_<architecture>.deb holding what `cmake --install`
# puts under /usr: the program, quorvel-calc and its manual page, the desktop
# entry and the icons. Its dependencies are read by dpkg-shlibdeps from the
# libraries the two programs are linked with, so that they name the Qt and
# Qwt packages (and the C++ runtime) of the machine that built it, at the
# versions its libraries need.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Quorvel developers")
set(CPACK_PACKAGE_CONTACT "Quorvel developers <quorvel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Plans how precise the survival estimates of a tagged-release fish study will be")
set(CPACK_PACKAGE_DESCRIPTION
    "Before a study, a biologist states its design (release sizes, reaches,
detection sites) and the expected survival, detection and removal
probabilities; Quorvel computes the variances, standard errors and 90% and
95% confidence half-widths of the survival estimates over a range of one
input, with a report and a plot. quorvel-calc does the same without a
window, from design files.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# Only the two programs and their files: the test and benchmark programs are
# never installed.
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};ALL;/")
include(CPack)
