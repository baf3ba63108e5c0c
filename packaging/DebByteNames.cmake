# Run by CPack before it builds the Debian package (no package files yet) and after (with them):
# see deb_byte_names.sh.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()

function(byte_names step target)
  execute_process(
    COMMAND sh "${CMAKE_CURRENT_LIST_DIR}/deb_byte_names.sh" ${step} "${target}"
            "${CPACK_TOPLEVEL_DIRECTORY}/byte-named-files"
    RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "deb_byte_names.sh ${step} ${target} failed")
  endif()
endfunction()

if(CPACK_PACKAGE_FILES)
  foreach(deb IN LISTS CPACK_PACKAGE_FILES)
    byte_names(put-back "${deb}")
  endforeach()
else()
  byte_names(set-aside "${CPACK_TEMPORARY_DIRECTORY}")
endif()
