# Builds the Debian package and checks that it holds the installed tree below /usr and depends
# on the packages of the shared libraries.
#   cmake -DBUILD=<build> -DWORK=<scratch> -DAPP_ID=<desktop id> -DCPACK=<cpack> -P CheckPackage.cmake
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CPACK} -G DEB --config ${BUILD}/CPackConfig.cmake -B ${WORK}
  WORKING_DIRECTORY ${BUILD} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(GLOB deb ${WORK}/*.deb)
if(NOT rc EQUAL 0 OR NOT deb)
  message(FATAL_ERROR "cpack failed (${rc}):\n${out}${err}")
endif()
execute_process(COMMAND dpkg-deb --contents ${deb} OUTPUT_VARIABLE contents)
execute_process(COMMAND dpkg-deb --field ${deb} Package Version Depends OUTPUT_VARIABLE fields)
message("${deb}:\n${fields}")
foreach(entry ./usr/bin/roviro-dazo ./usr/share/roviro-dazo/LoaderDaten/Config/standard.kxbmc
    ./usr/share/metainfo/${APP_ID}.metainfo.xml ./usr/share/icons/hicolor/48x48/apps/${APP_ID}.png)
  string(FIND "${contents}" " ${entry}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the package lacks ${entry}:\n${contents}")
  endif()
endforeach()
if(NOT fields MATCHES "libqt6widgets6" OR NOT fields MATCHES "libserialport")
  message(FATAL_ERROR "the package's dependencies miss the shared libraries")
endif()
file(REMOVE_RECURSE ${WORK})
