# Installs the build into a fresh prefix and proves that the installed programs find their
# data in ../share/roviro-dazo without --program-dir, that the language choice goes below the
# shared data folder instead of into the read-only data, and that the desktop file and the
# AppStream metadata pass their validators (when these are installed).
#   cmake -DBUILD=<build> -DWORK=<scratch folder> -DAPP_ID=<desktop id> -P CheckInstall.cmake
set(prefix ${WORK}/prefix)
set(data ${prefix}/share/roviro-dazo)
file(REMOVE_RECURSE ${WORK})
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGN}\nfailed (${rc}):\n${out}${err}")
  endif()
  set(run_output "${out}${err}" PARENT_SCOPE)
endfunction()
# expect(<if() condition...> <message>)
function(expect)
  list(POP_BACK ARGN text)
  if(NOT (${ARGN}))
    message(FATAL_ERROR "${text}")
  endif()
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix})
file(GLOB installed LIST_DIRECTORIES false RELATIVE ${prefix} ${prefix}/bin/*
     ${data}/LoaderDaten/Config/*.kxbmc ${prefix}/share/applications/* ${prefix}/share/metainfo/*
     ${prefix}/share/icons/hicolor/*/apps/*)
list(LENGTH installed count)
list(JOIN installed ", " listed)
# Two programs, the three catalogue families, the two desktop files, seven icon sizes.
expect(count EQUAL 14 "installed: ${listed}")
expect(NOT EXISTS ${prefix}/bin/LoaderDaten "the data must not lie beside the executables")
# The program's own messages in the four languages beside German, beside the data.
foreach(code en fr it nl)
  expect(EXISTS ${data}/translations/roviro_${code}.qm "roviro_${code}.qm is not installed")
endforeach()

# The window's start view, offscreen, as installed and pointed at an empty folder: without
# its data it would look the same.
set(ENV{QT_QPA_PLATFORM} offscreen)
run(${prefix}/bin/roviro-dazo --data-dir ${WORK}/home1 --screenshot ${WORK}/installed.png)
expect(EXISTS "${WORK}/home1/Trevanic/DI DU-RoviroDazo/StartIni.dat"
       "the language choice was not kept below the shared data folder")
expect(NOT EXISTS ${data}/StartIni.dat "the program wrote into its read-only data folder")
file(MAKE_DIRECTORY ${WORK}/empty)
run(${prefix}/bin/roviro-dazo --program-dir ${WORK}/empty --data-dir ${WORK}/home2
    --screenshot ${WORK}/nodata.png)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/installed.png ${WORK}/nodata.png
  RESULT_VARIABLE differs)
expect(differs "the installed program did not find its data")

# The command-line tool finds the catalogues too.
run(${prefix}/bin/roviro-cli --data-dir ${WORK}/home1 --simulate download -o ${WORK}/set.kxmc)
run(${prefix}/bin/roviro-cli --data-dir ${WORK}/home1 show ${WORK}/set.kxmc)
expect(run_output MATCHES "Catalogue motor: Rohrmotor" "roviro-cli found no catalogue")

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
find_program(APPSTREAMCLI appstreamcli)
if(DESKTOP_FILE_VALIDATE)
  run(${DESKTOP_FILE_VALIDATE} ${prefix}/share/applications/${APP_ID}.desktop)
  message("desktop-file-validate: passed ${run_output}")
endif()
if(APPSTREAMCLI)
  run(${APPSTREAMCLI} validate --no-net ${prefix}/share/metainfo/${APP_ID}.metainfo.xml)
  message("appstreamcli validate: ${run_output}")
endif()
file(REMOVE_RECURSE ${WORK})
