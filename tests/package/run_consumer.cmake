# cmake -DPREFIX=... -DWORK=... -DSOURCE=... -DGENERATOR=... -P run_consumer.cmake
# Builds the consumer against the installed prefix only and asks it, on a
# new sample database, the questions whose answers the sample data fixes.
include("${CMAKE_CURRENT_LIST_DIR}/build_against_prefix.cmake")
build_against_prefix("the consumer")

set(db "${WORK}/sample.db")
execute_process(COMMAND "${WORK}/build/make_sample" "${db}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "make_sample failed: ${rc}")
endif()

# operator item level -> answer exit code
set(cases
  "E001 w203 1 yes 0"   # 仓库管理员 holds 查询 on 库存查询
  "E001 w203 2 no 1"    # ... but not 修改
  "E001 w205 1 no 1"    # 库位管理 is 禁止 for the group
  "E002 w201 2 yes 0"   # of two groups the higher level counts
  "E004 m102 1 no 1"    # no row at all
  "admin w302 2 yes 0"  # admin holds everything
  "E001 nosuch 0 no 1"  # no row is no right, even for level 0
)
foreach(case IN LISTS cases)
  separate_arguments(args UNIX_COMMAND "${case}")
  list(GET args 0 operator)
  list(GET args 1 item)
  list(GET args 2 level)
  list(GET args 3 answer)
  list(GET args 4 code)
  execute_process(COMMAND "${WORK}/build/consumer" "${db}" ${operator} ${item} ${level}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT out STREQUAL answer OR NOT rc STREQUAL code)
    message(FATAL_ERROR "consumer ${operator} ${item} ${level}: \"${out}\" exit ${rc}, expected \"${answer}\" exit ${code}")
  endif()
endforeach()

# No database, or the wrong arguments: exit code 2 and no answer.
foreach(args IN ITEMS "${WORK}/no/such/folder/x.db;E001;w203;1" "${db};E001;w203")
  execute_process(COMMAND "${WORK}/build/consumer" ${args} RESULT_VARIABLE rc OUTPUT_VARIABLE out)
  if(NOT rc EQUAL 2 OR NOT out STREQUAL "")
    message(FATAL_ERROR "consumer ${args}: exit ${rc} \"${out}\", expected exit 2 and no answer")
  endif()
endforeach()
message(STATUS "consumer answered every case")
