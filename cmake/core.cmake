# roviro_platform: our stand-ins for the operating system's services (paths, folders, clock,
# message sink, serial port). Used by the core and by the simulator.
file(GLOB ROVIRO_PLATFORM_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/platform/*.cpp)
add_library(roviro_platform STATIC ${ROVIRO_PLATFORM_SOURCES})
target_include_directories(roviro_platform PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(roviro_platform PUBLIC Threads::Threads PRIVATE PkgConfig::SERIALPORT)

# roviro_core: the Qt-free core (text helpers, page descriptions, parameter image, archives,
# catalogues, stored files, parameter file, the device link). Only the top level of each
# folder belongs to the core; widgets live in sub-folders of ui/ and screens/ and are built
# by the GUI target.
file(GLOB ROVIRO_CORE_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/ui/*.cpp
  ${PROJECT_SOURCE_DIR}/catalogue/*.cpp
  ${PROJECT_SOURCE_DIR}/screens/*.cpp
  ${PROJECT_SOURCE_DIR}/device/*.cpp)

add_library(roviro_core STATIC ${ROVIRO_CORE_SOURCES})
target_include_directories(roviro_core PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(roviro_core
  PUBLIC roviro_platform tinyxml2::tinyxml2 Threads::Threads
  PRIVATE PkgConfig::MINIZIP OpenSSL::Crypto PkgConfig::SERIALPORT)
