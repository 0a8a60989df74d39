# The build rules every library of the module shares.
#
# wms_library(name [FOLDER folder] [PRIVATE_HEADERS header...]): after
# add_library(name ...) in its folder (FOLDER: the folder its headers are
# included by, when it is not the library's name). Gives the library
#   - its public headers (every header it lists but the private ones) under
#     the same paths while building ("host/transaction.h") and once installed
#     (include/wms-rights), so that a host writes the same #include lines as
#     the module's own code. A library that links another sees that one's
#     public headers only: an include of another folder's private header, or
#     of a library not linked, does not compile;
#   - every header of its own folder, private ones included, for itself;
#   - an export header <name>/export.h with the macro WMS_<NAME>_EXPORT, and
#     hidden visibility when the libraries are shared;
#   - the project's version and SOVERSION, the warnings of wms_warnings;
#   - an install rule for the library and its public headers, in the export
#     set WmsRightsTargets (namespace WmsRights::), and an alias
#     WmsRights::<name> so that the build tree spells targets as a host does.
include(GenerateExportHeader)
include(GNUInstallDirs)

set(WMS_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/wms-rights)
set(WMS_EXPORT_HEADER_DIR ${PROJECT_BINARY_DIR}/export)

# wms_own_headers(target folder): the target includes "folder/x.h" for every
# header of its folder, and nothing else of the source tree. The folder is
# reached through a link in the build tree, so that the include path of the
# target does not hold the other folders.
function(wms_own_headers target folder)
  set(root ${PROJECT_BINARY_DIR}/own/${target})
  file(MAKE_DIRECTORY ${root})
  if(NOT EXISTS ${root}/${folder})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${target} PRIVATE ${root})
endfunction()

function(wms_library name)
  cmake_parse_arguments(ARG "" "FOLDER" "PRIVATE_HEADERS" ${ARGN})
  set(folder ${name})
  if(ARG_FOLDER)
    set(folder ${ARG_FOLDER})
  endif()
  string(TOUPPER ${name} upper)
  generate_export_header(${name}
    BASE_NAME WMS_${upper}
    EXPORT_FILE_NAME ${WMS_EXPORT_HEADER_DIR}/${name}/export.h)
  if(NOT BUILD_SHARED_LIBS)
    target_compile_definitions(${name} PUBLIC WMS_${upper}_STATIC_DEFINE)
  endif()
  set(public_root ${PROJECT_BINARY_DIR}/include/${name})
  target_include_directories(${name} PUBLIC
    $<BUILD_INTERFACE:${public_root}>
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

  wms_own_headers(${name} ${folder})

  # The public headers: every header the library lists but the private ones,
  # linked into the library's include path and installed.
  file(REMOVE_RECURSE ${public_root})
  file(MAKE_DIRECTORY ${public_root}/${folder})
  get_target_property(sources ${name} SOURCES)
  foreach(source IN LISTS sources)
    cmake_path(GET source FILENAME header)
    if(source MATCHES "\\.h$" AND NOT header IN_LIST ARG_PRIVATE_HEADERS)
      cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
      file(CREATE_LINK ${source} ${public_root}/${folder}/${header} SYMBOLIC)
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
