# The Qt-free layers, one static library per folder, from the bottom up. Each links only the
# layers below it (ARCHITECTURE.md has the table; scripts/check-layers checks the includes).
function(roviro_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 layer "" "" "FOLDERS;PUBLIC;PRIVATE")
  set(sources "")
  foreach(folder ${layer_FOLDERS})
    file(GLOB folder_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
    list(APPEND sources ${folder_sources})
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${layer_PUBLIC} PRIVATE ${layer_PRIVATE})
endfunction()

# platform/: our stand-ins for the operating system's services (paths, folders, clock, message
# sink, serial port). Used by the core and by the simulator.
roviro_layer(roviro_platform FOLDERS platform PUBLIC Threads::Threads PRIVATE PkgConfig::SERIALPORT)
# pages/: page description files and the text helpers they use.
roviro_layer(roviro_pages FOLDERS pages PUBLIC roviro_platform)
# catalogue/: parameter image, archives, catalogues, contact profile, LUD files.
roviro_layer(roviro_catalogue FOLDERS catalogue PUBLIC roviro_pages tinyxml2::tinyxml2
  PRIVATE PkgConfig::MINIZIP OpenSSL::Crypto)
# device/: telegrams, the link, the transfer and test workers, verify and trace.
roviro_layer(roviro_device FOLDERS device PUBLIC roviro_catalogue Threads::Threads
  PRIVATE PkgConfig::SERIALPORT)
# records/: the fitter's stored files and records (parameter files, backups, history, settings,
# the local store in SQLite and the company store in PostgreSQL).
roviro_layer(roviro_records FOLDERS records PUBLIC roviro_catalogue Threads::Threads
  PRIVATE tinyxml2::tinyxml2 PkgConfig::SQLITE3 PkgConfig::LIBPQ OpenSSL::Crypto)
# rules/: what the screens decide without widgets.
roviro_layer(roviro_rules FOLDERS rules PUBLIC roviro_records roviro_device)

# roviro_core: every Qt-free layer, for the command-line tool, the tests and the window.
add_library(roviro_core INTERFACE)
target_link_libraries(roviro_core INTERFACE roviro_rules roviro_records roviro_device
  roviro_catalogue roviro_pages roviro_platform)
