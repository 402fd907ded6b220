# Installing as a Linux desktop program, and the Debian package.
#
#   bin/roviro-dazo, bin/roviro-cli
#   share/roviro-dazo/LoaderDaten/...                 the read-only data (the programs find it
#                                                     from bin/ as ../share/roviro-dazo)
#   share/applications/<desktop id>.desktop
#   share/metainfo/<desktop id>.metainfo.xml          AppStream
#   share/icons/hicolor/<n>x<n>/apps/<desktop id>.png
#   share/man/man1/roviro-dazo.1.gz, roviro-cli.1.gz     made from the --help texts (help2man)
#   share/bash-completion/completions/roviro-cli
#   share/doc/roviro-dazo/copyright, changelog.Debian.gz
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

# Manual pages from the programs' own --help and --version, so they never disagree with them.
find_program(ROVIRO_HELP2MAN help2man)
set(roviro_man_pages)
if(ROVIRO_HELP2MAN)
  set(roviro_man_names
    "roviro-dazo|configure tubular roller-shutter motors through the ZodavaRoze box"
    "roviro-cli|program tubular motors, inspect parameter files and catalogues from a terminal")
  foreach(entry ${roviro_man_names})
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 program)
    list(GET entry 1 summary)
    if(NOT TARGET ${program})
      continue()
    endif()
    set(page ${CMAKE_BINARY_DIR}/man/${program}.1.gz)
    add_custom_command(OUTPUT ${page}
      COMMAND ${CMAKE_COMMAND} -DHELP2MAN=${ROVIRO_HELP2MAN} -DPROGRAM=$<TARGET_FILE:${program}>
              -DSUMMARY=${summary} -DOUTPUT=${page}
              -P ${PROJECT_SOURCE_DIR}/data/cmake/ManPage.cmake
      DEPENDS ${program} ${PROJECT_SOURCE_DIR}/data/cmake/ManPage.cmake
      COMMENT "Manual page of ${program}"
      VERBATIM)
    list(APPEND roviro_man_pages ${page})
  endforeach()
  add_custom_target(roviro-man-pages ALL DEPENDS ${roviro_man_pages})
  install(FILES ${roviro_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(STATUS "help2man not found: no manual pages (scripts/deps installs it)")
endif()

if(TARGET roviro-cli)
  install(FILES ${PROJECT_SOURCE_DIR}/data/completion/roviro-cli
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
endif()

# What Debian expects of every package: the copyright and the package's changelog, compressed
# without a time stamp so that the package is the same from build to build.
set(roviro_changelog ${CMAKE_BINARY_DIR}/share/changelog.Debian.gz)
add_custom_command(OUTPUT ${roviro_changelog}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/share
  COMMAND sh -c "gzip -9n < \"$1\" > \"$2\"" sh ${PROJECT_SOURCE_DIR}/data/debian/changelog
          ${roviro_changelog}
  DEPENDS ${PROJECT_SOURCE_DIR}/data/debian/changelog
  VERBATIM)
add_custom_target(roviro-changelog ALL DEPENDS ${roviro_changelog})
install(FILES ${PROJECT_SOURCE_DIR}/data/debian/copyright ${roviro_changelog}
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/roviro-dazo)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME roviro-dazo)
set(CPACK_PACKAGE_VENDOR Trevanic)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# Packaged apart from the source (data/debian/changelog names this version and release).
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "configures tubular roller-shutter motors through the ZodavaRoze programming box")
# Lines of at most 80 characters, as Debian's tools show them.
set(CPACK_PACKAGE_DESCRIPTION
  "RoviroDazo reads a motor's parameter set from the motor, the box, a parameter
file or a catalogue, changes it on settings screens, writes it into motor and
box and saves it as a file. roviro-cli does the same from a terminal; both
have a built-in simulated box.")
set(CPACK_PACKAGE_CONTACT "Trevanic <service@trevanic.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
# The shared libraries' packages (Qt, libserialport, minizip, ...) found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "hicolor-icon-theme")
# The binaries without their debug information (31 MB and 18 MB with it); the build folder
# keeps the unstripped ones.
set(CPACK_STRIP_FILES TRUE)
include(CPack)

# The installed program finds its data and starts; the validators accept what the desktop
# reads. The package holds the same tree below /usr.
if(ROVIRO_TESTS AND TARGET roviro-dazo AND TARGET roviro-cli)
  add_test(NAME install_tree
    COMMAND ${CMAKE_COMMAND} -DBUILD=${CMAKE_BINARY_DIR} -DWORK=${CMAKE_BINARY_DIR}/install-test
            -DAPP_ID=${ROVIRO_APP_ID} -P ${PROJECT_SOURCE_DIR}/data/cmake/CheckInstall.cmake)
  find_program(ROVIRO_DPKG_DEB dpkg-deb)
  find_program(ROVIRO_DPKG_SHLIBDEPS dpkg-shlibdeps)
  find_program(ROVIRO_LINTIAN lintian)
  if(ROVIRO_DPKG_DEB AND ROVIRO_DPKG_SHLIBDEPS)
    add_test(NAME install_package
      COMMAND ${CMAKE_COMMAND} -DBUILD=${CMAKE_BINARY_DIR} -DWORK=${CMAKE_BINARY_DIR}/package-test
              -DAPP_ID=${ROVIRO_APP_ID} -DCPACK=${CMAKE_CPACK_COMMAND}
              -DVERSION=${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}
              -DCHANGELOG=${PROJECT_SOURCE_DIR}/data/debian/changelog -DLINTIAN=${ROVIRO_LINTIAN}
              -P ${PROJECT_SOURCE_DIR}/data/cmake/CheckPackage.cmake)
    # Both install from the same build folder.
    set_tests_properties(install_package PROPERTIES RUN_SERIAL TRUE)
    set_tests_properties(install_tree PROPERTIES RUN_SERIAL TRUE)
  endif()
endif()
