# The Debian package: cpack in the build folder writes korvel_<version>_amd64.deb
# from what `cmake --install` lays out under /usr. Its dependencies on shared
# libraries come from dpkg-shlibdeps; the ones it cannot see are listed here:
# the desktop opener for the help page and a Japanese font for the windows.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Korvel")
set(CPACK_PACKAGE_CONTACT "Korvel support <support@korvel.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "design the private SNMP MIB of a device")
set(CPACK_PACKAGE_DESCRIPTION
    "Korvel builds a tree of SNMP MIB objects below the root enterprise, saves it as a design
file, generates an ASN.1 MIB module from it and reads MIB modules back. The user interface is
Japanese. korvelc converts design files and MIB modules without a window, for build pipelines.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://korvel.example.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# dpkg-shlibdeps finds libkorvel in the package's own library folder.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR})
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils, fonts-ipafont-gothic | fonts-japanese-gothic")
set(CPACK_STRIP_FILES ON)
include(CPack)
