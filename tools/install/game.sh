#!/bin/sh
# Starts the installed game from its data folder, where it reads Content/,
# wherever the player starts it from. The prefix is found from this script's
# own place, so an installed tree can be moved.
here=$(dirname "$(readlink -f "$0")")
prefix=$(dirname "$here")
cd "$prefix/share/game" || exit 1
exec "$prefix/lib/game/Game" "$@"
