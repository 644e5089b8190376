#!/usr/bin/env bash
# The launcher's main job on its built-in default: a demo game folder with a
# stand-in client, the update server on 127.0.0.1:8640 serving demo files and
# a manifest built from them, and the launcher window. Press the start button:
# the files download with the progress bar moving, then the stand-in client
# starts and prints its command line. The launcher's log is printed as it grows.
#
# Without a display the window runs on a virtual display (Xvfb, the first free
# one) and the demo presses start itself, saves pictures of the window during
# the download and at the end (demo/window-downloading.png,
# demo/window-done.png), then reports what happened.
#
# VLMR_LAUNCHER=PATH runs another launcher executable (one from a package).
#
# scripts/demo.sh --windows runs the Windows launcher (build-win64/, built by
# scripts/test_windows.sh) under Wine instead, with the Windows stand-in
# client, against the same server.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${VLMR_BUILD:-$root/build}
server_bin=$build/tools/update_server/update_server
builder=$build/tools/manifest_builder/manifest_builder
if [ "${1:-}" = "--windows" ]; then
  launcher=${VLMR_LAUNCHER:-$root/build-win64/src/vlmr-launcher.exe}
  launcher_name=vlmr-launcher.exe
  run=("$root/scripts/wine-run.sh")
  windows_client=$root/build-win64/tests/CorvaneQXT.EXE
  client_record=client-run.txt  # the Windows stand-in's: command line, then working folder
  for tool in "$launcher" "$windows_client"; do
    [ -f "$tool" ] || { echo "demo: $tool is missing; run scripts/test_windows.sh first" >&2; exit 1; }
  done
else
  launcher=${VLMR_LAUNCHER:-$build/src/vlmr-launcher}
  launcher_name=vlmr-launcher
  run=()
  client_record=client-started.txt
fi
for tool in "$launcher" "$server_bin" "$builder"; do
  [ -f "$tool" ] || { echo "demo: $tool is missing; run scripts/setup.sh first" >&2; exit 1; }
done

demo=$root/demo
game=$demo/game
files=$demo/server/files
rm -rf "$demo"
mkdir -p "$game/Lanternfall/DAC_VLMR" "$files/Lanternfall/DAC_VLMR" "$files/data"

# What the update server delivers.
head -c 48M /dev/urandom >"$files/data/world.pak"
head -c 16M /dev/urandom >"$files/data/music.pak"
printf 'old damage numbers\n' >"$files/Lanternfall/DAC_VLMR/0009.old"
printf 'new damage numbers\n' >"$files/Lanternfall/DAC_VLMR/0009.new"
"$builder" build "$files" http://127.0.0.1:8640/files -o "$demo/server/Updateini2.ini"

# The game folder: the launcher, a stale file, the client's configuration and
# a stand-in for the Windows client that says how it was started.
cp "$launcher" "$game/$launcher_name"
printf 'an outdated world\n' >"$game/Lanternfall/DAC_VLMR/0009.d2a"
printf '[CLIENT]\r\nSCREEN_WIDTH\t640\r\nSCREEN_HEIGHT\t480\r\nLANGUAGE\tzh-CN\r\n' >"$game/Corvane.INI"
cat >"$game/CorvaneQXT.EXE" <<'CLIENT'
#!/bin/sh
# Stand-in for the game client: records and prints how the launcher started it.
printf '%s\n' "$*" >"$(dirname "$0")/client-started.txt"
echo "CorvaneQXT.EXE (stand-in client) started with: $*" >&2
CLIENT
chmod +x "$game/CorvaneQXT.EXE"
[ -z "${windows_client:-}" ] || cp "$windows_client" "$game/CorvaneQXT.EXE"

pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT

# first_line FIFO: the first line written into FIFO by the program started on
# it, read as soon as the program is ready (empty when it ended first).
first_line() { local line=""; read -r line <"$1" || true; echo "$line"; }

mkfifo "$demo/server.ready"
"$server_bin" --host 127.0.0.1 --port 8640 --rate 12000 --quiet "$demo/server" >"$demo/server.ready" &
pids+=($!)
[ -n "$(first_line "$demo/server.ready")" ] ||
  { echo "demo: the update server could not start (is port 8640 in use?)" >&2; exit 1; }

log=$game/.vlmr/launcher.log
# Prints the launcher's log as it grows ("  log HH:MM:SS.mmm  line") until
# the launcher with the given process id has ended.
follow_log() {
  tail -n +1 -s 0.1 -F --pid="$1" "$log" 2>/dev/null |
    sed -u -E 's/^[0-9-]+ ([0-9:.]+) [+-][0-9]+ /  log \1  /'
}
# wait_for_log PATTERN: until a log line matches (an extended regex), at most a minute.
wait_for_log() {
  for _ in $(seq 600); do
    grep -qE "$1" "$log" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "demo: the launcher window opens; press 开始游戏 (start). Close the window to end the demo."
  (cd "$game" && exec "${run[@]}" "./$launcher_name") &
  launcher_pid=$!
  follow_log "$launcher_pid"
  wait "$launcher_pid" || true
  exit 0
fi

for program in Xvfb xdotool scrot; do
  command -v "$program" >/dev/null && continue
  echo "demo: there is no display (DISPLAY is not set) and $program is missing, so the window" >&2
  echo "demo: cannot be shown. Run this on a desktop, or run scripts/setup.sh, which installs it." >&2
  exit 1
done

echo "demo: no display: running the launcher on a virtual display (Xvfb) and pressing start"
mkfifo "$demo/display.ready"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$demo/display.ready" >/dev/null 2>&1 &
pids+=($!)
display=$(first_line "$demo/display.ready")
[ -n "$display" ] || { echo "demo: the virtual display did not start" >&2; exit 1; }
export DISPLAY=:$display

(cd "$game" && exec "${run[@]}" "./$launcher_name") &
launcher_pid=$!
pids+=("$launcher_pid")
follow_log "$launcher_pid" &
follower=$!
pids+=("$follower")
window=$(timeout 20 xdotool search --sync --name 'Vellmoor' 2>/dev/null | head -1) || true
[ -n "$window" ] || { echo "demo: the launcher window did not appear" >&2; exit 1; }

# picture NAME: the launcher window as it is on screen now, as demo/NAME.
picture() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$window")"
  scrot --overwrite --autoselect "$X,$Y,$WIDTH,$HEIGHT" "$demo/$1"
}

touch "$demo/pressed"
xdotool mousemove --window "$window" 639 450 click 1   # the start button
wait_for_log '\.pak: [4-9]0% ' && picture window-downloading.png
for _ in $(seq 300); do
  [ -f "$game/$client_record" ] && break
  sleep 0.2
done
[ -f "$game/$client_record" ] && picture window-done.png
xdotool mousemove --window "$window" 659 13 click 1    # the close button
wait "$launcher_pid" || true
wait "$follower" || true  # the log's last lines

if [ -f "$game/$client_record" ]; then
  echo "demo: pictures of the window: $(cd "$demo" && ls window-*.png | sed "s|^|demo/|" | tr '\n' ' ')"
  echo "demo: files the launcher wrote after start was pressed:"
  (cd "$game" && find . -type f -newer "$demo/pressed" ! -name "$client_record" | sort | sed 's/^/  /')
  echo "demo: the client was started with: $(head -1 "$game/$client_record")"
  echo "demo: Corvane.INI now reads:"; awk '{ sub(/\r$/, ""); print "  " $0 }' "$game/Corvane.INI"
else
  echo "demo: the client was not started" >&2
  exit 1
fi
