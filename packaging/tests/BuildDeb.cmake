# Builds the Debian package from the build tree into a fresh OUTPUT folder.
file(REMOVE_RECURSE "${OUTPUT}")
execute_process(COMMAND "${CPACK_COMMAND}" -G DEB --config "${CONFIG}" -B "${OUTPUT}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cpack failed: ${result}")
endif()
