# What the .deb holds beyond the programs (see the install rules of src/app, src/cli,
# companion and res), and the package itself: cmake --build BUILD --target package.

# bin/ links to the programs in their own directory, where they find the companion library
# and vx_modul.dat (/proc/self/exe names the link's target).
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/links)
foreach(program orbistav orbistav-cli)
  file(CREATE_LINK ../${ORBISTAV_INSTALL_PROGRAMDIR}/${program}
       ${CMAKE_BINARY_DIR}/links/${program} SYMBOLIC)
  install(FILES ${CMAKE_BINARY_DIR}/links/${program} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/share/man/orbistav.1 ${PROJECT_SOURCE_DIR}/share/man/orbistav-cli.1
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/share/bash-completion/orbistav-cli
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES ${PROJECT_SOURCE_DIR}/share/metainfo/org.quillmoor.orbistav.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orbistav)
set(CPACK_PACKAGE_VENDOR Quillmoor)
set(CPACK_PACKAGE_CONTACT "Quillmoor <orbistav@quillmoor.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Browser and extractor for FreeSpace .VP and Summoner/Red Faction .VPP archives")
set(CPACK_PACKAGE_DESCRIPTION
    "ORBISTAV shows the directories and files of game package archives, previews their\n\
pictures, animations, sounds, tables and models, and extracts them. orbistav-cli lists,\n\
extracts, prints, digests and renders entries, and packs, compresses and verifies .VP\n\
archives.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The Debian packages of the libraries the programs link, found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded when a sound first plays, so dpkg-shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsdl2-2.0-0 (>= 2.0.18)")
set(CPACK_STRIP_FILES ON)
include(CPack)
