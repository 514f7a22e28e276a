#!/usr/bin/env bash
# The game as a player installs it, then played through the torvel launcher
# with HOME in a scratch folder and the working directory elsewhere:
#   installed.sh install BUILD_DIR   cmake --install into a scratch DESTDIR
#   installed.sh package BUILD_DIR   cpack's Debian package, checked by
#                                    lintian and unpacked with dpkg-deb -x
MODE=$1
BUILD=$2
# The shared helpers want a game and a resource folder; both are known only
# once installed, and the play folder they lay out is not used here.
source "$(dirname "$0")/../e2e/lib.sh" unset unset
# The game is started from $WORK/bin, where no ../res/ is.
rm "$WORK/res"
ELSEWHERE=$WORK/bin
ROOT=$WORK/root
PLAYER=$WORK/home
mkdir -p "$PLAYER"

case $MODE in
install)
  DESTDIR=$ROOT cmake --install "$BUILD" --prefix /usr/local >"$WORK/install.txt" || fail "cmake --install failed"
  PREFIX=$ROOT/usr/local
  LAUNCHER=$PREFIX/bin/torvel
  ;;
package)
  cpack --config "$BUILD/CPackConfig.cmake" -G DEB -B "$WORK/pkg" >"$WORK/cpack.txt" 2>&1 ||
    { cat "$WORK/cpack.txt" >&2; fail "cpack failed"; }
  debs=("$WORK"/pkg/*.deb)
  [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made ${#debs[@]} packages"
  DEB=${debs[0]}
  # Worked out from the libraries the binary links, not written by hand.
  depends=$(dpkg-deb -f "$DEB" Depends)
  for library in libirrlicht1.8 libopenal1 libsndfile1 libx11-6 libc6; do
    [[ ", $depends" == *", $library"* ]] || fail "the package does not depend on $library: $depends"
  done
  # A sanitized build (it depends on the sanitizer's runtime) is packaged
  # unstripped, for its leak reports; nothing else is let pass.
  unstripped=()
  [[ "$depends" != *libasan* ]] || unstripped=(--suppress-tags unstripped-binary-or-object)
  lintian --fail-on error "${unstripped[@]}" "$DEB" >"$WORK/lintian.txt" 2>&1 || { cat "$WORK/lintian.txt" >&2; fail "lintian finds errors"; }
  dpkg-deb -x "$DEB" "$ROOT" || fail "dpkg-deb -x failed"
  PREFIX=$ROOT/usr
  LAUNCHER=$PREFIX/games/torvel
  ;;
*)
  fail "unknown mode $MODE"
  ;;
esac

GAME=$PREFIX/lib/torvel/torvel
INSTALLED_RES=$PREFIX/share/torvel/res
DESKTOP=$PREFIX/share/applications/org.torvel.Torvel.desktop
[ -x "$LAUNCHER" ] || fail "no launcher at $LAUNCHER"
[ -x "$GAME" ] || fail "no game at $GAME"
[ -f "$INSTALLED_RES/fontlucida.png" ] && [ -f "$INSTALLED_RES/guns.obj" ] || fail "no resources in $INSTALLED_RES"
[ ! -e "$INSTALLED_RES/.baked" ] && [ ! -e "$INSTALLED_RES/icon.png" ] || fail "build leftovers among the installed resources"

# The desktop entry and the metadata pass their validators and point at what
# is installed: the launcher's name and the icon's.
desktop-file-validate "$DESKTOP" || fail "desktop-file-validate rejects $DESKTOP"
appstreamcli validate --no-net "$PREFIX/share/metainfo/org.torvel.Torvel.metainfo.xml" >"$WORK/appstream.txt" 2>&1 ||
  { cat "$WORK/appstream.txt" >&2; fail "appstreamcli validate rejects the metadata"; }
[ "$(sed -n 's/^Exec=//p' "$DESKTOP")" = "$(basename "$LAUNCHER")" ] || fail "the desktop entry does not start the launcher"
icon=$PREFIX/share/icons/hicolor/256x256/apps/$(sed -n 's/^Icon=//p' "$DESKTOP").png
[ "$(identify -format '%wx%h %m' "$icon" 2>/dev/null)" = "256x256 PNG" ] || fail "no 256 x 256 PNG icon at $icon"
[ -f "$PREFIX/share/man/man6/torvel.6.gz" ] || fail "no manual page"

# The launcher's own arguments.
version=$("$LAUNCHER" --version) || fail "--version: status $?"
[[ "$version" =~ ^torvel\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version says '$version'"
"$LAUNCHER" --help >"$WORK/help.txt" || fail "--help: status $?"
grep -q '^usage: torvel ' "$WORK/help.txt" || fail "--help shows no usage"
for wrong in "--fullscreen --windowed" "-x" "--help --version" "--version extra"; do
  status=0
  # shellcheck disable=SC2086 # each case is a list of words
  (cd "$ELSEWHERE" && HOME=$PLAYER "$LAUNCHER" $wrong) >"$WORK/arg-out.txt" 2>"$WORK/arg-err.txt" || status=$?
  [ $status -eq 2 ] || fail "'torvel $wrong' ended with status $status, not 2"
  [ ! -s "$WORK/arg-out.txt" ] && [ "$(wc -l <"$WORK/arg-err.txt")" -eq 1 ] && grep -q 'usage: torvel' "$WORK/arg-err.txt" ||
    fail "'torvel $wrong' did not answer with one usage line: $(cat "$WORK/arg-err.txt")"
done
[ ! -e "$PLAYER/.local" ] || fail "a wrong argument made the player's folder"

# The game binary started where ../res/ is missing says so in one line.
status=0
(cd "$ELSEWHERE" && "$GAME") >"$WORK/wrong-out.txt" 2>"$WORK/wrong-err.txt" || status=$?
[ $status -eq 0 ] || fail "the game in the wrong folder ended with status $status"
[ "$(wc -l <"$WORK/wrong-out.txt")" -eq 1 ] && grep -qF "$WORK/res/" "$WORK/wrong-out.txt" && grep -q 'torvel launcher' "$WORK/wrong-out.txt" ||
  fail "the game in the wrong folder said: $(cat "$WORK/wrong-out.txt" "$WORK/wrong-err.txt")"

if [ "$MODE" = install ]; then
  # Where the launcher plays, tried without a display: the game then ends at
  # once, after finding ../res/ (or saying it cannot).
  no_display() { (cd "$ELSEWHERE" && env -u DISPLAY "$@" "$LAUNCHER") >"$WORK/nd-out.txt" 2>&1; }
  no_display HOME="$PLAYER" XDG_DATA_HOME="$WORK/xdg" || fail "status $? with XDG_DATA_HOME set"
  grep -q '^Torvel cannot open its window' "$WORK/nd-out.txt" || fail "the game did not find its resources: $(cat "$WORK/nd-out.txt")"
  [ -d "$WORK/xdg/torvel/run" ] && [ -L "$WORK/xdg/torvel/res" ] || fail "no play folder under XDG_DATA_HOME"
  # A relative XDG_DATA_HOME does not count.
  no_display HOME="$WORK/other" XDG_DATA_HOME=relative || fail "status $? with a relative XDG_DATA_HOME"
  [ -d "$WORK/other/.local/share/torvel/run" ] && [ ! -e "$ELSEWHERE/relative" ] || fail "a relative XDG_DATA_HOME was used"
  # A link left by an installation that moved is renewed; anything else in
  # its place is left alone and named.
  ln -sfn /nowhere "$WORK/xdg/torvel/res"
  no_display HOME="$PLAYER" XDG_DATA_HOME="$WORK/xdg" || fail "status $? with a stale res link"
  [ "$(readlink "$WORK/xdg/torvel/res")" = "$(readlink -f "$INSTALLED_RES")" ] || fail "the stale res link was not renewed"
  rm "$WORK/xdg/torvel/res"
  mkdir "$WORK/xdg/torvel/res"
  status=0
  no_display HOME="$PLAYER" XDG_DATA_HOME="$WORK/xdg" || status=$?
  [ $status -eq 1 ] && grep -q 'in the way' "$WORK/nd-out.txt" && [ -d "$WORK/xdg/torvel/res" ] && [ ! -L "$WORK/xdg/torvel/res" ] ||
    fail "a folder in the way of the res link: status $status, $(cat "$WORK/nd-out.txt")"
fi

# A whole run through the launcher: every resource found, T writes its PNG
# into the player's folder, F12 ends with status 0.
TORVEL=$LAUNCHER
USER_DIR=$PLAYER/.local/share/torvel
start_game env -u XDG_DATA_HOME HOME="$PLAYER"
wait_for_line "Joystick support is enabled and 0 joystick(s) are present." 30
sleep 2
# Desktops match the window to its entry by the window's class.
xdotool search --class '^Torvel$' >/dev/null || fail "no window of class Torvel"

press t
for _ in $(seq 50); do
  level=$(mean_level "$USER_DIR"/run/*.png 2>/dev/null) && break
  sleep 0.2
done
shots=("$USER_DIR"/run/*.png)
[ -f "${shots[0]}" ] && [ ${#shots[@]} -eq 1 ] || fail "T did not write one screenshot into $USER_DIR/run/"
[[ "$(basename "${shots[0]}")" =~ ^[1-9][0-9]*\.png$ ]] || fail "bad screenshot name ${shots[0]}"
[ "$(identify -format '%wx%h' "${shots[0]}")" = "1366x768" ] || fail "the screenshot is not 1366x768"
awk -v l="$level" 'BEGIN { exit !(l > 0.15) }' || fail "the screenshot is dark (mean $level)"

press F12
wait_for_exit 10
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after F12"
[ "$(cat "$WORK/out.txt")" = "Joystick support is enabled and 0 joystick(s) are present." ] ||
  fail "the game named missing resources"
! grep -Ei 'could not|cannot' "$WORK/err.txt" || fail "the engine could not load something"
[ "$(readlink "$USER_DIR/res")" = "$(readlink -f "$INSTALLED_RES")" ] || fail "res is not a link to the installed resources"
[ -f "$USER_DIR/run/cAudioEngineLog.html" ] || fail "the sound log is not in the player's folder"
[ -z "$(ls "$ELSEWHERE")" ] || fail "the game wrote into the folder it was started from: $(ls "$ELSEWHERE")"
echo "dist_$MODE: ok (${shots[0]#"$WORK"/}, mean $level)"
if [ "$MODE" = package ]; then
  echo "lintian:"
  sed 's/^/  /' "$WORK/lintian.txt"
fi
