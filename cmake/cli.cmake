# roviro-cli: the command-line tool. Links the core only (and the simulator for --simulate).
file(GLOB ROVIRO_CLI_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/cli/*.cpp)
add_executable(roviro-cli ${ROVIRO_CLI_SOURCES})
target_link_libraries(roviro-cli PRIVATE roviro_core)
if(TARGET roviro_sim)
  target_link_libraries(roviro-cli PRIVATE roviro_sim)
endif()
# Beside LoaderDaten/ in the build tree, as in an installation.
set_target_properties(roviro-cli PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
