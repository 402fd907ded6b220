# The program's own messages in the other four languages: translations/roviro_<code>.ts
# compiled by lrelease into <build>/translations/roviro_<code>.qm, beside LoaderDaten/ where
# the program looks for them (app/Translations.cpp), and installed beside the data.
# German is the source text and has no file.
set(ROVIRO_TRANSLATION_LANGUAGES en fr it nl)
set(ROVIRO_TRANSLATIONS_DIR ${CMAKE_BINARY_DIR}/translations)

find_package(Qt6 QUIET COMPONENTS LinguistTools)
if(TARGET Qt6::lrelease)
  set(roviro_lrelease $<TARGET_FILE:Qt6::lrelease>)
else()
  find_program(ROVIRO_LRELEASE NAMES lrelease lrelease-qt6 PATHS /usr/lib/qt6/bin)
  set(roviro_lrelease ${ROVIRO_LRELEASE})
endif()

if(roviro_lrelease)
  set(roviro_qm_files)
  foreach(code ${ROVIRO_TRANSLATION_LANGUAGES})
    set(ts ${PROJECT_SOURCE_DIR}/translations/roviro_${code}.ts)
    set(qm ${ROVIRO_TRANSLATIONS_DIR}/roviro_${code}.qm)
    add_custom_command(OUTPUT ${qm}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${ROVIRO_TRANSLATIONS_DIR}
      COMMAND ${roviro_lrelease} -silent ${ts} -qm ${qm}
      DEPENDS ${ts}
      COMMENT "Translations roviro_${code}.qm"
      VERBATIM)
    list(APPEND roviro_qm_files ${qm})
  endforeach()
  add_custom_target(roviro-translations ALL DEPENDS ${roviro_qm_files})
  # The program and the window tests read them.
  foreach(reader roviro-dazo tests_app app_screenshots tests_screens)
    if(TARGET ${reader})
      add_dependencies(${reader} roviro-translations)
    endif()
  endforeach()
  install(FILES ${roviro_qm_files} DESTINATION ${CMAKE_INSTALL_DATADIR}/roviro-dazo/translations)
else()
  message(WARNING "lrelease not found (qt6-l10n-tools): the program speaks only German")
endif()

if(ROVIRO_TESTS)
  find_package(Python3 COMPONENTS Interpreter)
  if(Python3_Interpreter_FOUND)
    # Every message of the code has a finished translation in each language.
    add_test(NAME translations_complete
      COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/translations check
              --root ${PROJECT_SOURCE_DIR})
  endif()
endif()
