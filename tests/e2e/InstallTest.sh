# The game installed like any game: `cmake --install` into a temporary
# prefix, then the installed launcher, started from another folder, finds
# the installed Content/ and shows the scene; a close request ends it with
# status 0. `cpack -G DEB` makes a package of the same files, with the
# libraries the game links declared as dependencies.
# Extra argument: the build folder.
source "$(dirname "$0")/Common.sh" "$@"
in_virtual_display
build=$5

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || fail "cmake --install failed"
for file in bin/game share/game/Content/Config/KeyMappings.json share/applications/game.desktop \
  share/icons/hicolor/128x128/apps/game.png; do
  [ -e "$prefix/$file" ] || fail "$file was not installed"
done

mkdir -p "$work/elsewhere"
game="$prefix/bin/game"
start_game "$work/elsewhere" dummy
wait_for_window
sleep 1
import -window "$window" "$work/installed.png"
cp "$work/installed.png" "$artifacts/installed.png"
colours=$(convert "$work/installed.png" -unique-colors txt:- | grep -c -v '^#')
[ "$colours" -gt 20 ] || fail "the installed game shows no ships ($colours colours)"
"$send_close" "$window" || fail "could not send the close request"
wait_for_game
[ "$status" = 0 ] || fail "the installed game ended with status $status: $(cat "$work/stderr")"

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1) ||
  fail "cpack failed: $(tail -n 5 "$work/cpack.log")"
package=$(ls "$work"/game_*.deb)
depends=$(dpkg-deb -f "$package" Depends)
for library in libsdl2-2.0-0 libsdl2-image-2.0-0 libsndfile1 libsamplerate0 libpixman-1-0; do
  [[ $depends == *"$library "* ]] || fail "the package does not depend on $library: $depends"
done
dpkg-deb -c "$package" | grep -q ' ./usr/bin/game$' || fail "the package has no /usr/bin/game"
echo "PASS: $(basename "$package"), depends on $depends"
