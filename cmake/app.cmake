# The program window: roviro_app (application object, main dialog, screen base and switching,
# first-start dialog, the Qt message sink and prompts), the screens on it (cmake/screens.cmake)
# and the executable roviro-dazo (programs/), which sits beside LoaderDaten/ in the build tree
# as in an installation.
if(NOT TARGET roviro_controls OR NOT TARGET roviro_sim)
  message(STATUS "roviro-dazo needs the custom controls and the simulator; not built")
  return()
endif()

file(GLOB ROVIRO_APP_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/app/*.cpp
  ${PROJECT_SOURCE_DIR}/app/*.h)
# The history dialog's chart. Qt's package file for Charts also wants the OpenGL module's
# development files (libqt6opengl6-dev); where they are missing, the library and its headers
# are taken as they are (the chart's headers need nothing of OpenGL).
find_package(Qt6 QUIET COMPONENTS Charts)
if(NOT TARGET Qt6::Charts)
  get_target_property(_qt_core_includes Qt6::Core INTERFACE_INCLUDE_DIRECTORIES)
  find_library(ROVIRO_QT_CHARTS_LIBRARY Qt6Charts REQUIRED)
  find_path(ROVIRO_QT_CHARTS_INCLUDE QtCharts/QChartView PATHS ${_qt_core_includes}
    PATH_SUFFIXES .. REQUIRED)
  add_library(Qt6::Charts UNKNOWN IMPORTED)
  set_target_properties(Qt6::Charts PROPERTIES IMPORTED_LOCATION ${ROVIRO_QT_CHARTS_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES "${ROVIRO_QT_CHARTS_INCLUDE};${ROVIRO_QT_CHARTS_INCLUDE}/QtCharts"
    INTERFACE_LINK_LIBRARIES Qt6::Widgets)
endif()
add_library(roviro_app STATIC ${ROVIRO_APP_SOURCES})
set_target_properties(roviro_app PROPERTIES AUTOMOC ON)
target_link_libraries(roviro_app PUBLIC roviro_controls roviro_core roviro_sim Qt6::Widgets
  Qt6::Charts)
target_compile_definitions(roviro_app PUBLIC ROVIRO_APP_ID="${ROVIRO_APP_ID}")

include(${PROJECT_SOURCE_DIR}/cmake/screens.cmake)

# The entry point stands above everything: it builds the dialog and registers the screens.
add_executable(roviro-dazo ${PROJECT_SOURCE_DIR}/programs/roviro-dazo.cpp)
target_link_libraries(roviro-dazo PRIVATE roviro_screens)
roviro_use_build_info(roviro-dazo)
set_target_properties(roviro-dazo PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
