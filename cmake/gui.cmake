# The Qt 6 user interface. The controls' arithmetic (roviro_ui_geometry) stays free of Qt, so
# its tests need no window system; roviro_ui holds the widgets built on it.
find_package(Qt6 REQUIRED COMPONENTS Widgets)

file(GLOB ROVIRO_UI_GEOMETRY_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/ui/controls/*Geometry*.cpp)
add_library(roviro_ui_geometry STATIC ${ROVIRO_UI_GEOMETRY_SOURCES})
target_link_libraries(roviro_ui_geometry PUBLIC roviro_core)

file(GLOB ROVIRO_UI_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/ui/controls/*.cpp
  ${PROJECT_SOURCE_DIR}/ui/controls/*.h)
list(FILTER ROVIRO_UI_SOURCES EXCLUDE REGEX "Geometry[^/]*$")
add_library(roviro_ui STATIC ${ROVIRO_UI_SOURCES})
set_target_properties(roviro_ui PROPERTIES AUTOMOC ON)
target_link_libraries(roviro_ui PUBLIC roviro_ui_geometry roviro_core Qt6::Widgets)
