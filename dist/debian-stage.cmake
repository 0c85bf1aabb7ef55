# Run by CPack on the staged files before it makes the Debian package.
# Debian keeps the commands of games in /usr/games, so the link moves there
# (it is relative, and /usr/games sits beside /usr/lib, so it still points
# at the program). The program loses the sections a stripped Debian binary
# leaves out.
set(stage "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
if(NOT IS_SYMLINK "${stage}/bin/warrenfold")
  message(FATAL_ERROR "no launcher link in ${stage}/bin")
endif()
file(MAKE_DIRECTORY "${stage}/games")
file(RENAME "${stage}/bin/warrenfold" "${stage}/games/warrenfold")
file(GLOB left "${stage}/bin/*")
if(NOT left)
  file(REMOVE_RECURSE "${stage}/bin")
endif()
execute_process(COMMAND "${CPACK_WARRENFOLD_STRIP}" --remove-section=.comment
  --remove-section=.note "${stage}/lib/warrenfold/warrenfold"
  COMMAND_ERROR_IS_FATAL ANY)
