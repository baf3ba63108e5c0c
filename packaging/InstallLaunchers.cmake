# Runs at install time and writes the launchers into the installed bin folder. The paths from there
# to the program and asset folders are worked out now, from the prefix this install really uses,
# and written relative, so the installed tree can be moved or packaged as a whole.
#
# In: GLIMMERSET_LAUNCHERS (template names), GLIMMERSET_LAUNCHER_SOURCE_DIR, GLIMMERSET_LAUNCHER_WORK_DIR,
# GLIMMERSET_BINDIR, GLIMMERSET_PROGRAMDIR, GLIMMERSET_ASSETDIR (each relative to the prefix, or absolute).

foreach(dir BINDIR PROGRAMDIR ASSETDIR)
  if(IS_ABSOLUTE "${GLIMMERSET_${dir}}")
    set(full_${dir} "${GLIMMERSET_${dir}}")
  else()
    set(full_${dir} "${CMAKE_INSTALL_PREFIX}/${GLIMMERSET_${dir}}")
  endif()
endforeach()
file(RELATIVE_PATH GLIMMERSET_REL_PROGRAMS "${full_BINDIR}" "${full_PROGRAMDIR}")
file(RELATIVE_PATH GLIMMERSET_REL_ASSETS "${full_BINDIR}" "${full_ASSETDIR}")

foreach(launcher IN LISTS GLIMMERSET_LAUNCHERS)
  configure_file("${GLIMMERSET_LAUNCHER_SOURCE_DIR}/${launcher}.in" "${GLIMMERSET_LAUNCHER_WORK_DIR}/${launcher}" @ONLY)
  file(INSTALL DESTINATION "${full_BINDIR}" TYPE PROGRAM FILES "${GLIMMERSET_LAUNCHER_WORK_DIR}/${launcher}")
endforeach()
