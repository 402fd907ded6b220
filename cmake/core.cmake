# roviro_core: the Qt-free core (platform stand-ins, text helpers, page descriptions,
# parameter image, archives, catalogues, stored files, parameter file, the device link).
# Only the top level of each folder belongs to the core; widgets live in sub-folders of
# ui/ and screens/ and are built by the GUI target.

file(GLOB ROVIRO_CORE_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/platform/*.cpp
  ${PROJECT_SOURCE_DIR}/ui/*.cpp
  ${PROJECT_SOURCE_DIR}/catalogue/*.cpp
  ${PROJECT_SOURCE_DIR}/screens/*.cpp
  ${PROJECT_SOURCE_DIR}/device/*.cpp)

add_library(roviro_core STATIC ${ROVIRO_CORE_SOURCES})
target_include_directories(roviro_core PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(roviro_core
  PUBLIC tinyxml2::tinyxml2 Threads::Threads
  PRIVATE PkgConfig::MINIZIP OpenSSL::Crypto)
