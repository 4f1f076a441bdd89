# Run by cpack on the staged package before it is packed: the program loses
# its symbols and the sections a Debian package leaves out (.comment, .note),
# as dh_strip would strip it.
file(GLOB_RECURSE programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/lib/pawfolio/pawfolio")
if(NOT programs)
  message(FATAL_ERROR "no program to strip in ${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
endif()
foreach(program IN LISTS programs)
  execute_process(COMMAND strip --strip-unneeded --remove-section=.comment --remove-section=.note "${program}"
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
