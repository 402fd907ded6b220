# The screens as the window shows them: roviro_screens holds the data screens (screens/data/)
# and the settings screens (screens/settings/), built on the main dialog and the custom
# controls. Their arithmetic and wording live in rules/ and records/, which belong to the core.
file(GLOB ROVIRO_SCREENS_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/screens/data/*.cpp
  ${PROJECT_SOURCE_DIR}/screens/data/*.h
  ${PROJECT_SOURCE_DIR}/screens/settings/*.cpp
  ${PROJECT_SOURCE_DIR}/screens/settings/*.h)
add_library(roviro_screens STATIC ${ROVIRO_SCREENS_SOURCES})
set_target_properties(roviro_screens PROPERTIES AUTOMOC ON)
target_link_libraries(roviro_screens PUBLIC roviro_app)
