# The Debian package: `cpack` in a build folder gives surftally_<version>_amd64.deb of what
# `cmake --install` installs, under /usr (the autostart entry under /etc).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME surftally)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Surftally developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "countdown of the prepaid on-line time of an Internet account")
# The long description, one line of the control file each (CPack indents them).
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Surftally is a small strip on the desktop that counts down the prepaid"
    "on-line time of an Internet account while the computer is on-line through"
    "a modem or a LAN, and holds the balance and shows the clock while it is"
    "off-line. It knows a cheaper period of the day with its discount, turns"
    "red below a minimum, can be frozen or hidden to its notification icon,"
    "speaks English or Serbian, and keeps everything in a few text files."
    "."
    "The launcher fills a new user's data folder from the defaults, and an"
    "autostart entry brings the strip up at every log-in.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
# Installed with the prefix /usr into a staging folder (DESTDIR), so that the entries name
# /usr/bin/surftally and the autostart entry goes to /etc.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SURFTALLY_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${SURFTALLY_HOMEPAGE}")
# Depends from the libraries the program and its message helper link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Sessions without XWayland need Qt's Wayland platform.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
# A file under /etc is the administrator's: dpkg keeps their change and purge removes it.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/debian/conffiles
    "/etc/xdg/autostart/${SURFTALLY_APP_ID}.desktop\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_BINARY_DIR}/debian/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
