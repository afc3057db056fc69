# The Debian package, built with `cpack -G DEB` from a Release build tree.
# Included from the top-level CMakeLists.txt, after every install() rule.
set(CPACK_PACKAGE_NAME tamarin)
set(CPACK_PACKAGE_VENDOR "The Tamarin developers")
set(CPACK_PACKAGE_CONTACT "The Tamarin developers <tamarin@example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://tamarin.example.org/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "workbench for trying out regular expressions")
set(CPACK_PACKAGE_DESCRIPTION
  "Tamarin compiles a pattern in Perl, POSIX Basic or POSIX Extended syntax,\n"
  "case-sensitively or not, matches it against the whole input or searches\n"
  "for its first match, and shows what matched, its position and length, and\n"
  "the text before and after it, live as you type.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})

# All four parts of the version, as the program shows it.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
# Library dependencies are read from the executable by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The layout asks for Verdana, which Debian does not ship; DejaVu Sans is
# the sans-serif that stands in for it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")

include(CPack)
