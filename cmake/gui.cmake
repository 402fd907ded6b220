# The Qt 6 custom controls. Their arithmetic (controls/geometry/, roviro_controls_geometry)
# stays free of Qt, so its tests need no window system; roviro_controls (controls/) holds the
# widgets built on it.
find_package(Qt6 REQUIRED COMPONENTS Widgets)

roviro_layer(roviro_controls_geometry FOLDERS controls/geometry PUBLIC roviro_pages)

file(GLOB ROVIRO_CONTROLS_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/controls/*.cpp
  ${PROJECT_SOURCE_DIR}/controls/*.h)
add_library(roviro_controls STATIC ${ROVIRO_CONTROLS_SOURCES})
set_target_properties(roviro_controls PROPERTIES AUTOMOC ON)
target_link_libraries(roviro_controls PUBLIC roviro_controls_geometry roviro_pages Qt6::Widgets)
