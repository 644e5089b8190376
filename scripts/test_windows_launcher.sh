#!/usr/bin/env bash
# The Windows launcher end to end, under Wine on a virtual display: a game
# folder with vlmr-launcher.exe (nothing else of ours beside it), the Windows
# stand-in client as CorvaneQXT.EXE, a stale data file and Corvane.INI; the
# update server on 127.0.0.1:8640 (the address the build talks to) serving
# newer files, slowly enough that the progress moves. The test picks
# 1024*768 in the settings panel and confirms, presses start, and then checks
# what a player would: LoginConfig.ini holds the choice, the files are the
# server's, the progress went through its tenths, Corvane.INI lines 2 and 3
# carry the new size, the client was started with the exact command line in
# the game folder, and the close button ends the launcher.
# Usage: scripts/test_windows_launcher.sh [WINDOWS_BUILD] [LINUX_BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
windows_build=${1:-$root/build-win64}
linux_build=${2:-$root/build}
launcher=$windows_build/src/vlmr-launcher.exe
client=$windows_build/tests/CorvaneQXT.EXE
server_bin=$linux_build/tools/update_server/update_server
builder=$linux_build/tools/manifest_builder/manifest_builder
for needed in "$launcher" "$client" "$server_bin" "$builder"; do
  [ -e "$needed" ] || { echo "launcher e2e: $needed is missing" >&2; exit 1; }
done

work=$(mktemp -d)
pids=()
cleanup() {
  kill "${pids[@]}" 2>/dev/null || true
  WINEPREFIX=${WINEPREFIX:-${TMPDIR:-/tmp}/vlmr-wine-$(id -u)} wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "launcher e2e: FAILED: $*" >&2
  echo "--- launcher's stderr" >&2; cat "$work/launcher.err" >&2 || true
  echo "--- launcher's log" >&2; cat "$game/.vlmr/launcher.log" >&2 || true
  exit 1
}
# wait_for SECONDS COMMAND...: until the command succeeds.
wait_for() {
  local tenths=$(($1 * 10)); shift
  for _ in $(seq "$tenths"); do "$@" && return 0; sleep 0.1; done
  return 1
}
first_line() { local line=""; read -r line <"$1" || true; echo "$line"; }

game=$work/game
files=$work/server/files
mkdir -p "$game/Lanternfall/DAC_VLMR" "$game/data" "$files/Lanternfall/DAC_VLMR" "$files/data"
head -c 6M /dev/urandom >"$files/data/world.pak"
printf 'old damage numbers\n' >"$files/Lanternfall/DAC_VLMR/0009.old"
printf 'new damage numbers\n' >"$files/Lanternfall/DAC_VLMR/0009.new"
"$builder" build "$files" http://127.0.0.1:8640/files -o "$work/server/Updateini2.ini" >/dev/null

cp "$launcher" "$game/vlmr-launcher.exe"
cp "$client" "$game/CorvaneQXT.EXE"
printf 'an outdated world\n' >"$game/data/world.pak"
printf 'an outdated world\n' >"$game/Lanternfall/DAC_VLMR/0009.d2a"
printf '[CLIENT]\r\nSCREEN_WIDTH\t640\r\nSCREEN_HEIGHT\t480\r\nLANGUAGE\tzh-CN\r\n' >"$game/Corvane.INI"

mkfifo "$work/server.ready" "$work/display.ready"
"$server_bin" --port 8640 --rate 2048 --quiet "$work/server" >"$work/server.ready" &
pids+=($!)
[ -n "$(first_line "$work/server.ready")" ] || fail "the update server could not start on 8640"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display.ready" >/dev/null 2>&1 &
pids+=($!)
display=$(first_line "$work/display.ready")
[ -n "$display" ] || fail "the virtual display did not start"
export DISPLAY=:$display

(cd "$game" && exec "$root/scripts/wine-run.sh" vlmr-launcher.exe) >"$work/launcher.out" 2>"$work/launcher.err" &
pids+=($!)
window=$(timeout 90 xdotool search --sync --name 'Vellmoor' 2>/dev/null | head -1) || true
[ -n "$window" ] || fail "the launcher window did not appear"
# click X Y: a left click at client coordinates of the launcher window.
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.5; }

# The settings panel (game settings button), 1024*768, confirm.
click 298 440
click 35 216
click 60 372
setting_saved() { grep -q 'ResolvingPower=2' "$game/LoginConfig.ini" 2>/dev/null; }
wait_for 10 setting_saved || fail "LoginConfig.ini does not hold ResolvingPower=2 after confirm"

click 639 450
wait_for 120 test -s "$game/client-run.txt" || fail "the client was not started"

expected_line='CorvaneQXT.EXE  /USE_SERVER 1 /ADDR 61 /PORT 0 1024768 1 /REFRESHRATE 56'
command_line=$(sed -n 1p "$game/client-run.txt")
[ "$command_line" = "$expected_line" ] || fail "client command line \"$command_line\", expected \"$expected_line\""
folder=$(sed -n 2p "$game/client-run.txt")
expected_folder="Z:${game//\//\\}"
[ "${folder,,}" = "${expected_folder,,}" ] || fail "client started in \"$folder\", expected \"$expected_folder\""
cmp -s "$game/data/world.pak" "$files/data/world.pak" || fail "data/world.pak is not the server's"
for pair in 'data/world.pak: 50%' 'data/world.pak: 100%'; do
  grep -qF "$pair" "$game/.vlmr/launcher.log" || fail "the log has no progress line \"$pair\""
done
[ "$(sed -n 2p "$game/Corvane.INI")" = $'SCREEN_WIDTH\t1024\r' ] || fail "Corvane.INI line 2 is not SCREEN_WIDTH 1024"
[ "$(sed -n 3p "$game/Corvane.INI")" = $'SCREEN_HEIGHT\t768\r' ] || fail "Corvane.INI line 3 is not SCREEN_HEIGHT 768"
damage=$game/Lanternfall/DAC_VLMR/0009.d2a
cmp -s "$damage" "$files/Lanternfall/DAC_VLMR/0009.old" || cmp -s "$damage" "$files/Lanternfall/DAC_VLMR/0009.new" ||
  fail "0009.d2a is neither damage-number file"
# The close button ends the launcher.
launcher_pid=${pids[-1]}
click 659 13
wait_for 20 eval '! kill -0 "$launcher_pid" 2>/dev/null' || fail "the close button did not end the launcher"
echo "launcher e2e: passed (settings saved, $(grep -c 'data/world.pak: ' "$game/.vlmr/launcher.log") progress lines, client started: $command_line)"
