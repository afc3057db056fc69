# The Debian package, built with `cpack -G DEB` from a Release build tree.
# Included from the top-level CMakeLists.txt, after the other install() rules.
set(CPACK_PACKAGE_NAME tamarin)
set(CPACK_PACKAGE_VENDOR "The Tamarin developers")
set(CPACK_PACKAGE_CONTACT "The Tamarin developers <tamarin@example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL ${PROJECT_HOMEPAGE_URL})
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

# What Debian asks of every binary package beside the program: the copyright
# file, for a package with a Debian revision its changelog, and a manual
# page for the program; compressed without a time stamp, so that the package
# builds the same twice.
execute_process(COMMAND env LC_ALL=C date -u -R -d "${TAMARIN_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE TAMARIN_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
set(TAMARIN_RELEASE_NOTE "${TAMARIN_RELEASE_STAGE} release.")
set(compressed)
foreach(file changelog.Debian tamarin.1)
  set(plain ${PROJECT_BINARY_DIR}/packaging/${file})
  configure_file(${CMAKE_CURRENT_LIST_DIR}/${file}.in ${plain} @ONLY)
  add_custom_command(
    OUTPUT ${plain}.gz
    COMMAND gzip -9 --no-name --force --keep ${plain}
    DEPENDS ${plain}
    COMMENT "Compressing ${file}"
    VERBATIM)
  list(APPEND compressed ${plain}.gz)
endforeach()
add_custom_target(tamarin_debian_docs ALL DEPENDS ${compressed})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${PROJECT_BINARY_DIR}/packaging/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})
install(FILES ${PROJECT_BINARY_DIR}/packaging/tamarin.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

include(CPack)
