# The shipped LoaderDaten tree, assembled beside the executables (${CMAKE_BINARY_DIR}, which
# the programs take as their program folder):
#   LoaderDaten/Screen/...        page files of the main description and of every language
#                                 folder (Deutsch, English, Francais, Italiano, Nederlands), copied
#   LoaderDaten/Screen/Bilder/    pictures, drawn by roviro-artgen (needs Qt 6 Gui)
#   LoaderDaten/Config/*.kxbmc    catalogue archives, packed from data/catalogues/<family>/*.xml
#                                 by roviro-cli (when that target exists)
# Nothing generated is kept in the source tree.

set(ROVIRO_DATA_SOURCE ${PROJECT_SOURCE_DIR}/data)
set(ROVIRO_DATA_TREE ${CMAKE_BINARY_DIR}/LoaderDaten)

# Page files: copied one by one, so an edited page reaches the build tree on the next build.
file(GLOB_RECURSE roviro_data_pages CONFIGURE_DEPENDS
  RELATIVE ${ROVIRO_DATA_SOURCE}/LoaderDaten
  ${ROVIRO_DATA_SOURCE}/LoaderDaten/*)
set(roviro_data_copied)
foreach(page ${roviro_data_pages})
  set(out ${ROVIRO_DATA_TREE}/${page})
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${ROVIRO_DATA_SOURCE}/LoaderDaten/${page} ${out}
    DEPENDS ${ROVIRO_DATA_SOURCE}/LoaderDaten/${page}
    COMMENT "LoaderDaten/${page}"
    VERBATIM)
  list(APPEND roviro_data_copied ${out})
endforeach()
add_custom_target(roviro-data-pages ALL DEPENDS ${roviro_data_copied})

# Pictures.
find_package(Qt6 QUIET COMPONENTS Gui)
if(TARGET Qt6::Gui)
  add_executable(roviro-artgen
    ${ROVIRO_DATA_SOURCE}/art/Main.cpp
    ${ROVIRO_DATA_SOURCE}/art/Artwork.cpp)
  target_link_libraries(roviro-artgen PRIVATE roviro_pages Qt6::Gui)

  set(roviro_pictures_stamp ${CMAKE_BINARY_DIR}/roviro-pictures.stamp)
  add_custom_command(OUTPUT ${roviro_pictures_stamp}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:roviro-artgen> ${ROVIRO_DATA_TREE}/Screen/Bilder
            --sheet ${CMAKE_BINARY_DIR}/artwork-sheet.png
    COMMAND ${CMAKE_COMMAND} -E touch ${roviro_pictures_stamp}
    DEPENDS roviro-artgen
    COMMENT "Drawing the LoaderDaten pictures"
    VERBATIM)
  add_custom_target(roviro-data-pictures ALL DEPENDS ${roviro_pictures_stamp})

  # The program's icon in the hicolor theme's layout beside the program folder
  # (icons/hicolor/<n>x<n>/apps/<desktop id>.png), where the window finds it before it is
  # installed.
  set(roviro_icons_stamp ${CMAKE_BINARY_DIR}/roviro-icons.stamp)
  add_custom_command(OUTPUT ${roviro_icons_stamp}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:roviro-artgen> --icons ${CMAKE_BINARY_DIR}/icons/hicolor ${ROVIRO_APP_ID}
    COMMAND ${CMAKE_COMMAND} -E touch ${roviro_icons_stamp}
    DEPENDS roviro-artgen
    COMMENT "Drawing the program's icon"
    VERBATIM)
  add_custom_target(roviro-data-icons ALL DEPENDS ${roviro_icons_stamp})

  if(ROVIRO_TESTS)
    # Every page of the built tree loads and every picture it names loads as a picture.
    add_test(NAME data_pictures
      COMMAND $<TARGET_FILE:roviro-artgen> --check ${CMAKE_BINARY_DIR})
    # (Leak reports from the font libraries are not ours; sanitizer builds ignore them here.)
    set_tests_properties(data_pictures PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0")
  endif()
else()
  message(STATUS "Qt 6 Gui not found: the LoaderDaten pictures are not drawn")
endif()

# Catalogue archives: one per family folder.
if(TARGET roviro-cli)
  file(GLOB roviro_families LIST_DIRECTORIES true CONFIGURE_DEPENDS
    ${ROVIRO_DATA_SOURCE}/catalogues/*)
  set(roviro_archives)
  foreach(family_dir ${roviro_families})
    if(NOT IS_DIRECTORY ${family_dir})
      continue()
    endif()
    get_filename_component(family ${family_dir} NAME)
    file(GLOB family_sources CONFIGURE_DEPENDS ${family_dir}/*.xml)
    if(NOT family_sources)
      continue()
    endif()
    list(SORT family_sources)
    set(archive ${ROVIRO_DATA_TREE}/Config/${family}.kxbmc)
    add_custom_command(OUTPUT ${archive}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${ROVIRO_DATA_TREE}/Config
      COMMAND $<TARGET_FILE:roviro-cli> catalogue pack ${family_sources} -o ${archive}
      DEPENDS ${family_sources} roviro-cli
      COMMENT "Packing catalogue family ${family}"
      VERBATIM)
    list(APPEND roviro_archives ${archive})
  endforeach()
  add_custom_target(roviro-data-catalogues ALL DEPENDS ${roviro_archives})

  if(ROVIRO_TESTS)
    # The packed archives load as start-up loads them: no message, nine motor types.
    add_test(NAME data_catalogue_check
      COMMAND ${CMAKE_COMMAND} -DCLI=$<TARGET_FILE:roviro-cli> -DCONFIG=${ROVIRO_DATA_TREE}/Config
              -DEXPECTED=9 -P ${ROVIRO_DATA_SOURCE}/cmake/CheckCatalogues.cmake)
  endif()
endif()
