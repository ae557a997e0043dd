# The Debian package rxt9-update, made by CPack's DEB generator from the install rules of
# cmake/Install.cmake: what `cmake --install` puts on a machine is what the package holds.
# scripts/build-package builds the programs first (only those the package needs) and then
# runs cpack; the install step does not build everything first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rxt9-update)
set(CPACK_PACKAGE_VERSION ${RXT9_PACKAGE_VERSION})
set(CPACK_PACKAGE_CONTACT ${RXT9_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${RXT9_PACKAGE_MAINTAINER})
# The dependencies are those of the programs and the library, found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "firmware update tool for the KALDERON RX-T9 photo printer")
# The extended description; CPack puts the summary before it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "The tool carries the printer's firmware package inside itself. It checks that
exactly one idle KALDERON RX-T9 printer is attached by USB, reads its firmware
versions, puts it into download mode, sends the firmware images, reads the
versions back to verify them and restarts the printer.
.
rxt9-update shows the tool's windows; rxt9-update-cli does the same in a
terminal or a script. Both reach the printer through libusb; the udev rule
of the package lets the user at the machine open it.")
# The library is private (dlopen'ed from /usr/lib/rxt9-update), so the package's own scripts
# replace the ldconfig calls that CPack would add for it.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CMAKE_SOURCE_DIR}/packaging/debian/postinst ${CMAKE_SOURCE_DIR}/packaging/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
