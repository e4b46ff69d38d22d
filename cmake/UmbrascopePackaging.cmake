# `cpack -G DEB` in a build folder makes the Debian package from the install
# rules. Runtime libraries are found by dpkg-shlibdeps; the fonts the windows
# draw their captions with are named here, since no library links them.
set(CPACK_PACKAGE_NAME umbrascope)
set(CPACK_PACKAGE_VENDOR "The Umbrascope developers")
set(CPACK_PACKAGE_CONTACT "Umbrascope developers <developers@umbrascope.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "watch whether a list of QQ numbers are online")
set(CPACK_PACKAGE_DESCRIPTION
  "Umbrascope asks a web presence endpoint, in one request, whether each of a\nlist of QQ account numbers is online, sorts them into an online and an\noffline list and repeats on a timer. Every change of state goes into an\nevent log and into a text file per number. umbrascope-watch is the same\nwatch for terminals and servers.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://umbrascope.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS ${UMBRASCOPE_FONT_PACKAGES})
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
