# cmake -DBUILD_DIR=... -DPREFIX=... -P install_prefix.cmake
# Installs the build tree into a fresh prefix and checks what a host finds
# there: the CMake package with no path into the source or build tree, the
# headers as the module's code includes them, the SQL scripts.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()

file(GLOB_RECURSE configs "${PREFIX}/*/WmsRights*.cmake")
if(NOT configs)
  message(FATAL_ERROR "no WmsRights CMake package under ${PREFIX}")
endif()
foreach(config IN LISTS configs)
  file(READ "${config}" text)
  foreach(tree IN ITEMS "${SOURCE_DIR}" "${BUILD_DIR}")
    string(FIND "${text}" "${tree}" at)
    if(at GREATER -1)
      message(FATAL_ERROR "${config} names ${tree}")
    endif()
  endforeach()
endforeach()

foreach(file IN ITEMS include/wms-rights/host/transaction.h include/wms-rights/host/export.h
                      include/wms-rights/rights/f_check_right.h include/wms-rights/usergroup/register_windows.h
                      share/wms-rights/sql/sqlite.sql share/wms-rights/sql/postgresql.sql)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "${file} is not installed")
  endif()
endforeach()
file(GLOB_RECURSE stray "${PREFIX}/include/*.cpp" "${PREFIX}/include/*/tools/*")
if(stray)
  message(FATAL_ERROR "not headers: ${stray}")
endif()
