# What `cmake --install` puts under the prefix, and the .deb `make package`
# (cpack) builds from it:
#   lib/                        libwms-rights-<library>.a (.so with BUILD_SHARED_LIBS)
#   include/wms-rights/<dir>/   the public headers and <dir>/export.h
#   lib/cmake/WmsRights/        WmsRightsConfig.cmake, its version file, the targets
#   share/wms-rights/sql/       the CREATE TABLE scripts for SQLite and PostgreSQL
include(CMakePackageConfigHelpers)

# The umbrella target: every library of the module.
add_library(WmsRights INTERFACE)
target_link_libraries(WmsRights INTERFACE host_database host platform schema journal_core dataviews rights common usergroup department rightsetup
  journal)
add_library(WmsRights::WmsRights ALIAS WmsRights)
install(TARGETS WmsRights EXPORT WmsRightsTargets)

set(WMS_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/WmsRights)
set(WMS_INSTALL_SQLDIR ${CMAKE_INSTALL_DATADIR}/wms-rights/sql)
if(BUILD_SHARED_LIBS)
  set(BUILD_SHARED_LIBS_VALUE ON)
else()
  set(BUILD_SHARED_LIBS_VALUE OFF)
endif()

install(EXPORT WmsRightsTargets NAMESPACE WmsRights:: DESTINATION ${WMS_INSTALL_CMAKEDIR} COMPONENT development)
configure_package_config_file(cmake/WmsRightsConfig.cmake.in
  ${PROJECT_BINARY_DIR}/WmsRightsConfig.cmake
  INSTALL_DESTINATION ${WMS_INSTALL_CMAKEDIR}
  PATH_VARS WMS_INSTALL_SQLDIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/WmsRightsConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/WmsRightsConfig.cmake ${PROJECT_BINARY_DIR}/WmsRightsConfigVersion.cmake
  DESTINATION ${WMS_INSTALL_CMAKEDIR} COMPONENT development)

# The DDL scripts (tables, the journal and its triggers), written by schema's
# own statements (schema/tools/ddl.cpp). The folder is made first: Ninja makes
# an output's folder by itself, Unix Makefiles do not.
set(WMS_SQL_FILES ${PROJECT_BINARY_DIR}/sql/sqlite.sql ${PROJECT_BINARY_DIR}/sql/postgresql.sql)
add_custom_command(OUTPUT ${WMS_SQL_FILES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/sql
  COMMAND wms-rights-ddl sqlite ${PROJECT_BINARY_DIR}/sql/sqlite.sql
  COMMAND wms-rights-ddl postgresql ${PROJECT_BINARY_DIR}/sql/postgresql.sql
  DEPENDS wms-rights-ddl
  COMMENT "Writing the CREATE TABLE scripts")
add_custom_target(wms_sql ALL DEPENDS ${WMS_SQL_FILES})
install(FILES ${WMS_SQL_FILES} DESTINATION ${WMS_INSTALL_SQLDIR} COMPONENT development)

# make package: one Debian package with the libraries, headers, CMake package
# and scripts. A host links it against Debian's Qt, SQLite, libpq and libsodium.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME libwms-rights-dev)
set(CPACK_PACKAGE_VENDOR "wms-rights")
set(CPACK_PACKAGE_CONTACT "wms-rights developers <wms-rights@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Rights administration module of the warehouse management application")
set(CPACK_PACKAGE_DESCRIPTION
  "Libraries, headers and CMake package (find_package(WmsRights)) of the rights module: right checks,\n the user/group and department manager windows, and the CREATE TABLE scripts for SQLite and PostgreSQL.")
set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qt6-base-dev (>= 6.4), libqt6sql6-sqlite (>= 6.4), libsqlite3-dev, libpq-dev, libsodium-dev, pkg-config")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libqt6sql6-psql")
set(CPACK_STRIP_FILES OFF)
include(CPack)
