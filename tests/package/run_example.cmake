# cmake -DPREFIX=... -DWORK=... -DSOURCE=... -DGENERATOR=... -DSAMPLE=... -P run_example.cmake
# Builds examples/minimal-host against the installed prefix only and runs it
# offscreen for three operators of the sample database: the menu it gates,
# the windows that open and the button its own window enables.
include("${CMAKE_CURRENT_LIST_DIR}/build_against_prefix.cmake")
build_against_prefix("the example host")
file(COPY_FILE "${SAMPLE}" "${WORK}/sample.db")

set(ENV{QT_QPA_PLATFORM} offscreen)
function(expect operator password code expected)
  set(ENV{WMS_PASSWORD} "${password}")
  execute_process(COMMAND "${WORK}/build/minimal-host" "${WORK}/sample.db" ${operator} --check
    WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
  string(STRIP "${out}" out)
  string(REPLACE ";" "\n" expected "${expected}")
  if(NOT rc STREQUAL code OR NOT out STREQUAL expected)
    message(FATAL_ERROR "minimal-host as ${operator}: exit ${rc}\n${out}\n${err}\nexpected exit ${code}\n${expected}")
  endif()
endfunction()

expect(admin admin 0 "权限管理 enabled;w_right_setup open;部门管理 enabled;w_right_department_manage open;库存盘点 enabled;w_stock_check open;保存 enabled")
# 仓库管理员: 库存盘点 at level 2, no administration.
expect(E001 123 0 "权限管理 disabled;部门管理 disabled;库存盘点 enabled;w_stock_check open;保存 enabled")
# 财务组 and 查询员: 部门管理 at level 1, no warehouse work.
expect(E004 123 0 "权限管理 disabled;部门管理 enabled;w_right_department_manage open;库存盘点 disabled")
expect(E001 wrong 1 "")
message(STATUS "the example host gated its menu and opened its windows")
