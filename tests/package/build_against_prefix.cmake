# Included by the package tests: configures and builds the project in SOURCE
# against the installed PREFIX only (no package registry), in WORK/build;
# `what` names it in the failure messages. CXX_FLAGS and LINKER_FLAGS, when
# given, are the flags the module was built with (the sanitizers' runtime must
# be linked into a program that uses libraries built with them).
function(build_against_prefix what)
  file(REMOVE_RECURSE "${WORK}")
  execute_process(COMMAND "${CMAKE_COMMAND}" -S "${SOURCE}" -B "${WORK}/build" -G "${GENERATOR}"
      -DCMAKE_BUILD_TYPE=Release "-DCMAKE_PREFIX_PATH=${PREFIX}" -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF
      "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${LINKER_FLAGS}"
    RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "configuring ${what} failed")
  endif()
  execute_process(COMMAND "${CMAKE_COMMAND}" --build "${WORK}/build" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "building ${what} failed")
  endif()
endfunction()
