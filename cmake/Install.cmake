# The programs are installed in a directory of their own, beside the vendor library that they
# load from their own directory, with links in the binary directory; a link resolves to the
# real program, beside which the library is found.
include(GNUInstallDirs)

# Installed programs reach real printers; the build tree keeps the simulated library beside the
# programs.
set(RXT9_ZELPORT_TARGET rxt9_zelport_usb CACHE STRING
    "The vendor library target that the programs are installed with, as ZELPORT.so")

set(RXT9_INSTALL_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/rxt9-update)
install(TARGETS rxt9-update rxt9-update-cli RUNTIME DESTINATION ${RXT9_INSTALL_PROGRAM_DIR})
install(PROGRAMS $<TARGET_FILE:${RXT9_ZELPORT_TARGET}> DESTINATION ${RXT9_INSTALL_PROGRAM_DIR})
foreach(program rxt9-update rxt9-update-cli)
    file(RELATIVE_PATH link /prefix/${CMAKE_INSTALL_BINDIR}
         /prefix/${RXT9_INSTALL_PROGRAM_DIR}/${program})
    install(CODE "
        set(bin_dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
        file(MAKE_DIRECTORY \"\${bin_dir}\")
        message(STATUS \"Installing: \${bin_dir}/${program} -> ${link}\")
        file(CREATE_LINK \"${link}\" \"\${bin_dir}/${program}\" SYMBOLIC)
    ")
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/platform/qt/rxt9-update.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${RXT9_ICON_PNG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
