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
# The history dialog's chart (qt6-charts-dev; its package file also wants libqt6opengl6-dev).
find_package(Qt6 REQUIRED COMPONENTS Charts)
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
