# cmake -DBUILD_DIR=... -DPREFIX=... -DEXPECTED=... -P InstallIntoPrefix.cmake
# Installs the build into PREFIX, checks that nothing went outside it, and compares the files
# under it with the list in EXPECTED.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the install into ${PREFIX} failed:\n${output}")
endif()
file(STRINGS ${BUILD_DIR}/install_manifest.txt installed)
foreach(path IN LISTS installed)
    string(FIND "${path}" "${PREFIX}/" at)
    if(NOT at EQUAL 0)
        message(FATAL_ERROR "installed outside the prefix: ${path}")
    endif()
endforeach()
# The manifest leaves out the links; the tree has them.
file(GLOB_RECURSE relative LIST_DIRECTORIES false RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT relative)
file(STRINGS ${EXPECTED} expected)
if(NOT relative STREQUAL expected)
    list(JOIN relative "\n" got)
    message(FATAL_ERROR "the installed files differ from ${EXPECTED}; installed:\n${got}")
endif()
