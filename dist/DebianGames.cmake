# Run by cpack on the files it is about to pack into the Debian package:
# Debian keeps the programs of games in /usr/games, so the launcher moves
# there from /usr/bin. It finds the game from where it lies, and games/ is as
# deep as bin/, so its way to the game stays the same.
set(root ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
file(MAKE_DIRECTORY ${root}/games)
file(RENAME ${root}/bin/torvel ${root}/games/torvel)
file(GLOB others ${root}/bin/*)
if(NOT others)
  file(REMOVE_RECURSE ${root}/bin)
endif()
