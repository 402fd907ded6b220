# roviro-cli: the command-line tool. Links the core only (and the simulator for --simulate).
file(GLOB ROVIRO_CLI_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/cli/*.cpp)
add_executable(roviro-cli ${ROVIRO_CLI_SOURCES})
target_link_libraries(roviro-cli PRIVATE roviro_core)
roviro_use_build_info(roviro-cli)
if(TARGET roviro_sim)
  target_link_libraries(roviro-cli PRIVATE roviro_sim)
endif()
# Its files are compiled as one unit (ROVIRO_UNITY): each pulls in the JSON library and the
# core's headers, so this builds in a third of the time. Two files that define the same name
# in an anonymous namespace then clash ("redefinition of ..."): give the helpers distinct names.
set_target_properties(roviro-cli PROPERTIES UNITY_BUILD ${ROVIRO_UNITY} UNITY_BUILD_BATCH_SIZE 8)
# Beside LoaderDaten/ in the build tree, as in an installation.
set_target_properties(roviro-cli PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
