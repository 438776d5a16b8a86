# cmake --install and the Debian package. Every part goes below the prefix in the folders of
# PortavoLayout.cmake; the programs find them from their own location, so nothing is looked up
# in the build tree once installed.

install(TARGETS portavo portavo-setting RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The wizard library is no public library: a private folder, found through the launcher's
# RPATH.
install(TARGETS portavowizard portavomedia LIBRARY DESTINATION ${PORTAVO_INSTALL_PRIVATE_LIBDIR})
install(TARGETS KavoEngine RUNTIME DESTINATION ${PORTAVO_INSTALL_LIBEXECDIR})

install(DIRECTORY ${CMAKE_SOURCE_DIR}/src/shell/help/ DESTINATION ${PORTAVO_INSTALL_DATADIR}/help)
# The images and style sheets as a resource file (they are compiled in as well).
install(FILES ${CMAKE_BINARY_DIR}/Resources/DeviceTransferWizard.rcc
        DESTINATION ${PORTAVO_INSTALL_DATADIR})
# Translations, wherever the build puts them beside the program.
install(DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/i18n/ DESTINATION ${PORTAVO_INSTALL_DATADIR}/i18n
        OPTIONAL FILES_MATCHING PATTERN "*.qm")

# Desktop integration: menu entry, icon in the hicolor theme, AppStream data, manual pages.
set(PORTAVO_APP_ID org.portavo.Portavo)
set(pkg ${CMAKE_SOURCE_DIR}/packaging)
install(FILES ${pkg}/${PORTAVO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${pkg}/${PORTAVO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(icon_svg ${CMAKE_SOURCE_DIR}/src/resources/svg/portavo.svg)
install(FILES ${icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
set(icon_pngs)
foreach(size 16 22 24 32 48 64 128 256)
  set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/portavo.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            $<TARGET_FILE:SvgRenderTool> --size ${size} ${png} ${icon_svg}
    DEPENDS SvgRenderTool ${icon_svg}
    COMMENT "Rendering the ${size} px icon"
    VERBATIM)
  list(APPEND icon_pngs ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Manual pages and the package's documents, compressed as Debian wants them.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(docs)
foreach(page portavo portavo-setting)
  set(gz ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${GZIP_PROGRAM} -9nc ${pkg}/${page}.1 > ${gz}
    DEPENDS ${pkg}/${page}.1
    VERBATIM)
  list(APPEND docs ${gz})
  install(FILES ${gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
set(changelog_gz ${CMAKE_BINARY_DIR}/doc/changelog.gz)
add_custom_command(OUTPUT ${changelog_gz}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/doc
  COMMAND ${GZIP_PROGRAM} -9nc ${pkg}/changelog > ${changelog_gz}
  DEPENDS ${pkg}/changelog
  VERBATIM)
list(APPEND docs ${changelog_gz})
install(FILES ${changelog_gz} ${pkg}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/portavo)
add_custom_target(portavo_desktop_files ALL DEPENDS ${icon_pngs} ${docs})

# cpack -G DEB: a Debian package of the installed tree, dependencies from dpkg-shlibdeps.
# Configure with -DCMAKE_INSTALL_PREFIX=/usr for it (scripts/package.sh does): the private
# library then sits in the multiarch folder, outside ldconfig's.
set(CPACK_PACKAGE_NAME portavo)
set(CPACK_PACKAGE_VENDOR "The Portavo developers")
set(CPACK_PACKAGE_CONTACT "Portavo developers <dev@portavo.invalid>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "put videos on a disc or USB drive that a player can play")
set(CPACK_PACKAGE_DESCRIPTION
  "A wizard that takes video files and puts them on a medium that a home
video device can play: a recordable CD, DVD or Blu-ray disc, or a USB
drive. Videos the device cannot play are converted first. It also runs
unattended from scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The SQLite driver is a Qt plug-in, which dpkg-shlibdeps cannot see; the rest are tools the
# program runs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://portavo.invalid/")
include(CPack)
