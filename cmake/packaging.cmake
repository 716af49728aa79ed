# A Debian package of whatever the install rules put in place: the tool, its
# desktop entry and the udev rule that lets the user open the unit.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "velbrix-qorun")
set(CPACK_PACKAGE_VENDOR "Velbrix")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configurator for the Velbrix Qorun USB SMS alarm unit")
set(CPACK_PACKAGE_DESCRIPTION
    "Sets the SIM PIN, the operator's SMS service centre and, for each of the \
four alarm zones, the destination phone number and SMS text of a Velbrix Qorun \
SMS alarm unit connected over USB, and reads a zone's stored values back.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Velbrix Qorun developers <qorun@velbrix.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://velbrix.invalid/qorun")
# Qt, hidapi and udev runtime packages, found from the binary's libraries.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "udev")
include(CPack)
