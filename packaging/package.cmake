# cmake --build build --target package: a Debian package of the whole program, its
# dependencies found by dpkg-shlibdeps from the libraries it links.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrova-videos)
set(CPACK_PACKAGE_VENDOR "The Kestrova Videos 97 developers")
set(CPACK_PACKAGE_CONTACT "The Kestrova Videos 97 developers <kestrova-videos@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "catalogue of a private video collection")
set(CPACK_PACKAGE_DESCRIPTION
    "Kestrova Videos 97 catalogues video tapes and discs in dBASE tables (.DBF) with a dBASE IV\n"
    "production index: a configurable grid, an edit window fed by pick lists, searches, sort\n"
    "orders, reports and tape labels, import, export and backup. kestrova-cli gives batch\n"
    "access to the same catalogues.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${KV_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The reports and labels are laid out in the metric faces of Arial and Courier New.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
include(CPack)
