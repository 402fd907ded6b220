# Builds the Debian package and checks that it holds the installed tree below /usr and depends
# on the packages of the shared libraries, that its binaries are stripped, that it carries the
# manual pages, the completion, the copyright and a changelog of its own version, and that
# lintian finds no error in it (its warnings are printed).
#   cmake -DBUILD=<build> -DWORK=<scratch> -DAPP_ID=<desktop id> -DCPACK=<cpack>
#         -DVERSION=<package version> -DCHANGELOG=<data/debian/changelog> [-DLINTIAN=<lintian>]
#         -P CheckPackage.cmake

file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CPACK} -G DEB --config ${BUILD}/CPackConfig.cmake -B ${WORK}
  WORKING_DIRECTORY ${BUILD} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(GLOB deb ${WORK}/*.deb)
if(NOT rc EQUAL 0 OR NOT deb)
  message(FATAL_ERROR "cpack failed (${rc}):\n${out}${err}")
endif()
execute_process(COMMAND dpkg-deb --contents ${deb} OUTPUT_VARIABLE contents)
execute_process(COMMAND dpkg-deb --field ${deb} Package Version Installed-Size Depends
  OUTPUT_VARIABLE fields)
message("${deb}:\n${fields}")
foreach(entry ./usr/bin/roviro-dazo ./usr/share/roviro-dazo/LoaderDaten/Config/standard.kxbmc
    ./usr/share/metainfo/${APP_ID}.metainfo.xml ./usr/share/icons/hicolor/48x48/apps/${APP_ID}.png
    ./usr/share/man/man1/roviro-dazo.1.gz ./usr/share/man/man1/roviro-cli.1.gz
    ./usr/share/bash-completion/completions/roviro-cli ./usr/share/doc/roviro-dazo/copyright
    ./usr/share/doc/roviro-dazo/changelog.Debian.gz ./usr/share/roviro-dazo/translations/roviro_fr.qm)
  string(FIND "${contents}" " ${entry}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the package lacks ${entry}:\n${contents}")
  endif()
endforeach()
if(NOT fields MATCHES "libqt6widgets6" OR NOT fields MATCHES "libserialport")
  message(FATAL_ERROR "the package's dependencies miss the shared libraries")
endif()

# The package's version is the one its changelog names first.
file(STRINGS ${CHANGELOG} first LIMIT_COUNT 1)
if(NOT fields MATCHES "Version: ${VERSION}\n" OR NOT first MATCHES "^roviro-dazo \\(${VERSION}\\) ")
  message(FATAL_ERROR "package version ${VERSION}, changelog starts with: ${first}\n${fields}")
endif()

# Stripped: no debug sections left in the programs.
execute_process(COMMAND dpkg-deb -x ${deb} ${WORK}/root)
foreach(program roviro-dazo roviro-cli)
  execute_process(COMMAND readelf -S ${WORK}/root/usr/bin/${program} OUTPUT_VARIABLE sections)
  if(sections MATCHES "\\.debug_")
    message(FATAL_ERROR "${program} in the package carries debug information")
  endif()
endforeach()

if(LINTIAN)
  execute_process(COMMAND ${LINTIAN} --tag-display-limit 0 ${deb}
    OUTPUT_VARIABLE tags ERROR_VARIABLE lintian_err RESULT_VARIABLE lintian_rc)
  message("lintian:\n${tags}${lintian_err}")
  if(tags MATCHES "(^|\n)E: ")
    message(FATAL_ERROR "lintian reports errors")
  endif()
else()
  message("lintian not found: the package is not checked by it (scripts/deps installs it)")
endif()
