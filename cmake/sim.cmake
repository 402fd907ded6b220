# roviro_sim: the programming box and motor simulator. It sits beside the core, not on it: it
# has its own frame codec and links only the platform layer, so a framing fault on either side
# of the wire shows up in the tests instead of cancelling out.
file(GLOB ROVIRO_SIM_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/sim/*.cpp)
if(ROVIRO_SIM_SOURCES)
  add_library(roviro_sim STATIC ${ROVIRO_SIM_SOURCES})
  target_include_directories(roviro_sim PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(roviro_sim PUBLIC roviro_platform Threads::Threads)
endif()
