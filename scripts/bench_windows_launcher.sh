#!/usr/bin/env bash
# The Windows launcher under Wine on a virtual display (64-bit build):
# - start to the first painted frame: from just before Wine is started to the
#   moment the window has been shown and painted (the launcher's own start-up
#   through the toolkit's in-memory load and the window's creation), and the
#   part of it inside the program (from its main);
# - the in-memory load of the toolkit DLL alone, with the lookup of its create
#   entries, beside LoadLibrary of the same file.
# Usage: scripts/bench_windows_launcher.sh [REPEATS]
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${VLMR_JOBS:-2}
repeats=${1:-20}

cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchains/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DVLMR_BUILD_TESTS=ON -DVLMR_BUILD_BENCHMARKS=ON >/dev/null 2>&1
cmake --build build-win64 -j"$jobs" --target launcher_start_timing memory_module_timing

work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
mkfifo "$work/display.ready"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display.ready" >/dev/null 2>&1 &
pids+=($!)
read -r display <"$work/display.ready"
export DISPLAY=:$display
cp build-win64/bench/launcher_start_timing.exe "$work/"
scripts/wine-run.sh cmd /c exit  # the prefix and wineserver up before timing

# median NUMBERS...: the middle one, sorted.
median() { printf '%s\n' "$@" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
best() { printf '%s\n' "$@" | sort -n | head -1; }
totals=()
insides=()
for _ in $(seq "$repeats"); do
  before=$(date +%s%N)
  read -r frame inside < <(cd "$work" && "$OLDPWD/scripts/wine-run.sh" launcher_start_timing.exe | tr -d "\r")
  totals+=($(((frame - before) / 1000)))
  insides+=($((inside / 1000)))
done
ms() { awk -v us="$1" 'BEGIN { printf "%.1f ms", us / 1000 }'; }
echo "start under Wine to the first painted frame: best $(ms "$(best "${totals[@]}")"), median $(ms "$(median "${totals[@]}")") ($repeats runs)"
echo "  of it from the program's main: best $(ms "$(best "${insides[@]}")"), median $(ms "$(median "${insides[@]}")")"

toolkit="$PWD/build-win64/src/LumoVostr_Win32.dll"
scripts/wine-run.sh build-win64/bench/memory_module_timing.exe "Z:${toolkit//\//\\}" "$repeats" \
  CreateControl_WindowEx CreateControl_PictureBoxEx CreateControl_LabelEx CreateControl_ButtonEx \
  CreateControl_ChoiceboxEx CreateControl_ProgressbarEx ControlSendMessage ControlDestroy
