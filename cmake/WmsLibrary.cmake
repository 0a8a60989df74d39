# The build rules every library of the module shares.
#
# wms_library(name): after add_library(name ...) in its folder. Gives the
# library
#   - the include path of this repository while building ("host/transaction.h")
#     and include/wms-rights once installed, so that a host writes the same
#     #include lines as the module's own code;
#   - an export header <name>/export.h with the macro WMS_<NAME>_EXPORT, and
#     hidden visibility when the libraries are shared;
#   - the project's version and SOVERSION, the warnings of wms_warnings;
#   - an install rule for the library and its headers, in the export set
#     WmsRightsTargets (namespace WmsRights::), and an alias WmsRights::<name>
#     so that the build tree spells targets as a host does.
include(GenerateExportHeader)
include(GNUInstallDirs)

set(WMS_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/wms-rights)
set(WMS_EXPORT_HEADER_DIR ${PROJECT_BINARY_DIR}/export)

function(wms_library name)
  string(TOUPPER ${name} upper)
  generate_export_header(${name}
    BASE_NAME WMS_${upper}
    EXPORT_FILE_NAME ${WMS_EXPORT_HEADER_DIR}/${name}/export.h)
  if(NOT BUILD_SHARED_LIBS)
    target_compile_definitions(${name} PUBLIC WMS_${upper}_STATIC_DEFINE)
  endif()
  target_include_directories(${name} PUBLIC
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
    $<BUILD_INTERFACE:${WMS_EXPORT_HEADER_DIR}>
    $<INSTALL_INTERFACE:${WMS_INSTALL_INCLUDEDIR}>)
  set_target_properties(${name} PROPERTIES
    OUTPUT_NAME wms-rights-${name}
    EXPORT_NAME ${name}
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR})
  if(BUILD_SHARED_LIBS)
    # Installed, each library finds the libraries it links next to itself.
    set_target_properties(${name} PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON
      INSTALL_RPATH "$ORIGIN")
  endif()
  target_link_libraries(${name} PRIVATE $<BUILD_INTERFACE:wms_warnings>)
  add_library(WmsRights::${name} ALIAS ${name})

  # The public headers: every header the library lists, in its folder.
  get_target_property(sources ${name} SOURCES)
  foreach(source IN LISTS sources)
    if(source MATCHES "\\.h$")
      cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
      cmake_path(RELATIVE_PATH source BASE_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE relative)
      cmake_path(GET relative PARENT_PATH folder)
      install(FILES ${source} DESTINATION ${WMS_INSTALL_INCLUDEDIR}/${folder} COMPONENT development)
    endif()
  endforeach()
  install(FILES ${WMS_EXPORT_HEADER_DIR}/${name}/export.h
    DESTINATION ${WMS_INSTALL_INCLUDEDIR}/${name} COMPONENT development)
  install(TARGETS ${name} EXPORT WmsRightsTargets
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
endfunction()
