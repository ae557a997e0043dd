# The programs are installed in a directory of their own, beside the vendor library that they
# load from their own directory, with links in the binary directory; a link resolves to the
# real program, beside which the library is found. Around them: the desktop entry, the icon
# at the usual sizes, the AppStream metainfo, the manual pages, and the copyright and
# changelog that a Debian package carries. The udev rule is installed by zelport/usb.
include(GNUInstallDirs)

# Installed programs reach real printers; the build tree keeps the simulated library beside the
# programs.
set(RXT9_ZELPORT_TARGET rxt9_zelport_usb CACHE STRING
    "The vendor library target that the programs are installed with, as ZELPORT.so")
set(RXT9_PACKAGE_MAINTAINER
    "RX-T9 update tool maintainers <rxt9-update-maintainers@kalderon.example>" CACHE STRING
    "Who maintains the installed tool: the package's maintainer and the changelog's author")
# A suffix such as +1 makes a package of a higher version from the same programs.
set(RXT9_PACKAGE_VERSION_SUFFIX "" CACHE STRING "Appended to the package's version")
set(RXT9_PACKAGE_VERSION ${PROJECT_VERSION}${RXT9_PACKAGE_VERSION_SUFFIX})
set(RXT9_VERSION ${PROJECT_VERSION})

# A private directory: lib/rxt9-update, never the (multiarch) directory of shared libraries.
set(RXT9_INSTALL_PROGRAM_DIR lib/rxt9-update)
install(TARGETS rxt9-update rxt9-update-cli RUNTIME DESTINATION ${RXT9_INSTALL_PROGRAM_DIR})
# Loaded with dlopen, never executed: not executable, as Debian wants of shared libraries.
install(TARGETS ${RXT9_ZELPORT_TARGET} LIBRARY DESTINATION ${RXT9_INSTALL_PROGRAM_DIR}
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
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

set(packaging_dir ${CMAKE_SOURCE_DIR}/packaging)
set(generated_dir ${CMAKE_BINARY_DIR}/packaging)
set(RXT9_APPSTREAM_ID com.kalderon.rxt9_update)
install(FILES ${packaging_dir}/rxt9-update.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${packaging_dir}/${RXT9_APPSTREAM_ID}.metainfo.xml.in
               ${generated_dir}/${RXT9_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${generated_dir}/${RXT9_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Files that Debian wants compressed (gzip -9n: no name or time inside, so that the same
# input makes the same file).
set(package_files)
function(rxt9_gzip input output)
    add_custom_command(OUTPUT ${output}
        COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" gzip ${input} ${output}
        DEPENDS ${input}
        VERBATIM)
    set(package_files ${package_files} ${output} PARENT_SCOPE)
endfunction()

foreach(program rxt9-update rxt9-update-cli)
    configure_file(${packaging_dir}/man/${program}.1 ${generated_dir}/man/${program}.1 @ONLY)
    rxt9_gzip(${generated_dir}/man/${program}.1 ${generated_dir}/man/${program}.1.gz)
    install(FILES ${generated_dir}/man/${program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/rxt9-update)
configure_file(${packaging_dir}/debian/copyright.in ${generated_dir}/copyright @ONLY)
configure_file(${packaging_dir}/debian/changelog.in ${generated_dir}/changelog @ONLY)
rxt9_gzip(${generated_dir}/changelog ${generated_dir}/changelog.gz)
install(FILES ${generated_dir}/copyright ${generated_dir}/changelog.gz DESTINATION ${doc_dir})

# The icon at every size of the hicolor theme, drawn by the build itself.
foreach(size IN LISTS RXT9_ICON_SIZES)
    install(FILES ${RXT9_ICON_PNG_${size}}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Everything above that the build makes, beside the programs and the library.
add_custom_target(rxt9_package_files ALL DEPENDS ${package_files})
add_dependencies(rxt9_package_files rxt9_update_icon)
