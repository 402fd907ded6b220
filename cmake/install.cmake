# Installing as a Linux desktop program, and the Debian package.
#
#   bin/roviro-dazo, bin/roviro-cli
#   share/roviro-dazo/LoaderDaten/...                 the read-only data (the programs find it
#                                                     from bin/ as ../share/roviro-dazo)
#   share/applications/<desktop id>.desktop
#   share/metainfo/<desktop id>.metainfo.xml          AppStream
#   share/icons/hicolor/<n>x<n>/apps/<desktop id>.png
#
# cmake --install <build> --prefix <dir> installs it; cpack -G DEB (in the build folder) makes
# the package, which installs below /usr.
include(GNUInstallDirs)

foreach(program roviro-dazo roviro-cli)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

# The tree as the build assembles it beside the executables (pages, pictures, catalogues).
install(DIRECTORY ${CMAKE_BINARY_DIR}/LoaderDaten
  DESTINATION ${CMAKE_INSTALL_DATADIR}/roviro-dazo
  PATTERN "*.part.*" EXCLUDE)

if(TARGET roviro-dazo)
  set(roviro_desktop ${CMAKE_BINARY_DIR}/share/${ROVIRO_APP_ID}.desktop)
  set(roviro_metainfo ${CMAKE_BINARY_DIR}/share/${ROVIRO_APP_ID}.metainfo.xml)
  configure_file(${PROJECT_SOURCE_DIR}/data/desktop/roviro-dazo.desktop.in ${roviro_desktop} @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/data/desktop/roviro-dazo.metainfo.xml.in ${roviro_metainfo}
    @ONLY)
  install(FILES ${roviro_desktop} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${roviro_metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  if(TARGET roviro-data-icons)
    install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
      PATTERN "*.part.*" EXCLUDE)
  endif()
endif()

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME roviro-dazo)
set(CPACK_PACKAGE_VENDOR Trevanic)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "configures tubular roller-shutter motors through the ZodavaRoze programming box")
set(CPACK_PACKAGE_DESCRIPTION
  "RoviroDazo reads a motor's parameter set from the motor, the box, a parameter file or a
catalogue, changes it on settings screens, writes it into motor and box and saves it as a
file. roviro-cli does the same from a terminal; both have a built-in simulated box.")
set(CPACK_PACKAGE_CONTACT "Trevanic <service@trevanic.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
# The shared libraries' packages (Qt, libserialport, minizip, ...) found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "hicolor-icon-theme")
include(CPack)

# The installed program finds its data and starts; the validators accept what the desktop
# reads. The package holds the same tree below /usr.
if(ROVIRO_TESTS AND TARGET roviro-dazo AND TARGET roviro-cli)
  add_test(NAME install_tree
    COMMAND ${CMAKE_COMMAND} -DBUILD=${CMAKE_BINARY_DIR} -DWORK=${CMAKE_BINARY_DIR}/install-test
            -DAPP_ID=${ROVIRO_APP_ID} -P ${PROJECT_SOURCE_DIR}/data/cmake/CheckInstall.cmake)
  find_program(ROVIRO_DPKG_DEB dpkg-deb)
  find_program(ROVIRO_DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(ROVIRO_DPKG_DEB AND ROVIRO_DPKG_SHLIBDEPS)
    add_test(NAME install_package
      COMMAND ${CMAKE_COMMAND} -DBUILD=${CMAKE_BINARY_DIR} -DWORK=${CMAKE_BINARY_DIR}/package-test
              -DAPP_ID=${ROVIRO_APP_ID} -DCPACK=${CMAKE_CPACK_COMMAND}
              -P ${PROJECT_SOURCE_DIR}/data/cmake/CheckPackage.cmake)
    # Both install from the same build folder.
    set_tests_properties(install_package PROPERTIES RUN_SERIAL TRUE)
    set_tests_properties(install_tree PROPERTIES RUN_SERIAL TRUE)
  endif()
endif()
