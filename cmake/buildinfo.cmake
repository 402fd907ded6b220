# BuildInfo.h (version and git revision for --version), refreshed at every build. The
# programs that print it depend on roviro-build-info and add ROVIRO_BUILD_INFO_DIR to their
# include path.
set(ROVIRO_BUILD_INFO_DIR ${CMAKE_BINARY_DIR}/generated)
add_custom_target(roviro-build-info
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR}
          -DOUTPUT=${ROVIRO_BUILD_INFO_DIR}/BuildInfo.h -DVERSION=${PROJECT_VERSION}
          -P ${PROJECT_SOURCE_DIR}/cmake/write-build-info.cmake
  BYPRODUCTS ${ROVIRO_BUILD_INFO_DIR}/BuildInfo.h
  COMMENT "Build version and revision"
  VERBATIM)

function(roviro_use_build_info target)
  add_dependencies(${target} roviro-build-info)
  target_include_directories(${target} PRIVATE ${ROVIRO_BUILD_INFO_DIR})
endfunction()
