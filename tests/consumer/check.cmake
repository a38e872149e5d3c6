# Installs the built library into a fresh prefix, then configures, builds and
# runs a consumer project that finds it with find_package.
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${COLANG_BINARY_DIR} --prefix ${WORK_DIR}/prefix
  RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "install failed")
endif()
# One source file per installed header, which includes that header alone.
file(GLOB_RECURSE headers RELATIVE ${WORK_DIR}/prefix/include ${WORK_DIR}/prefix/include/*.h)
if(NOT headers)
  message(FATAL_ERROR "no header installed")
endif()
set(header_sources "")
foreach(header ${headers})
  string(MAKE_C_IDENTIFIER ${header} stem)
  file(WRITE ${WORK_DIR}/headers/${stem}.cpp "#include \"${header}\"\n")
  list(APPEND header_sources ${WORK_DIR}/headers/${stem}.cpp)
endforeach()
list(LENGTH headers nHeaders)
message(STATUS "compiling each of the ${nHeaders} installed headers on its own")
execute_process(COMMAND ${CMAKE_COMMAND} -S ${CONSUMER_SOURCE_DIR} -B ${WORK_DIR}/build
  -DCMAKE_PREFIX_PATH=${WORK_DIR}/prefix -DCMAKE_CXX_COMPILER=${CMAKE_CXX_COMPILER}
  -DCMAKE_BUILD_RPATH=${WORK_DIR}/prefix/lib "-DCOLANG_HEADER_SOURCES=${header_sources}" RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "configure failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR}/build RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "build failed")
endif()
# The consumer loads the German sample catalog.
get_filename_component(catalog ${CONSUMER_SOURCE_DIR}/../../examples/rlg/App0407.rlg ABSOLUTE)
execute_process(COMMAND ${WORK_DIR}/build/consumer ${catalog} RESULT_VARIABLE rc OUTPUT_VARIABLE out)
message(STATUS "${out}")
if(rc)
  message(FATAL_ERROR "consumer failed")
endif()
