#!/usr/bin/env bash
# Timings of the desktop program (release build): start-up to the main window
# painted, first start (database created) and later starts, and the largest gap
# between two repaints (and the largest delay of a 100 ms timer) while the
# hourly interval data set "EFH Potsdam 2019 stuendlich Intervall M" is
# optimised with the run monitors on, how fast "Anhalten" ends such a run, the
# peak memory, and the results window's figures: six hourly result files
# (8760 rows each) loaded and the largest chart (6 + 6 curves of 2000 points)
# drawn in the chart window. Without a display it runs itself under xvfb-run when that is
# installed, else on Qt's offscreen platform.
# Usage: scripts/gui_zeiten.sh [later starts] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  if command -v xvfb-run > /dev/null; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
  fi
  export QT_QPA_PLATFORM=offscreen
fi
echo "platform: ${QT_QPA_PLATFORM:-X display $DISPLAY}"
starts=${1:-5}
runs=${2:-3}
cmake --preset release > /dev/null
cmake --build --preset release -j"$(nproc)" --target bench_gui_zeiten > /dev/null
prog=build/release/bench_gui_zeiten
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
ms() { date +%s%N; }
start() {
  local t0 t1
  t0=$(ms); "$prog" start --db "$dir/db" --results "$dir/res" 2>/dev/null; t1=$(ms)
  echo "  whole process (exec to exit): $(( (t1 - t0) / 1000000 )) ms"
}
start
for _ in $(seq "$starts"); do start; done
"$prog" optimierung --db "$dir/db" --results "$dir/res" --runs "$runs" "EFH Potsdam 2019 stuendlich Intervall M" 2>/dev/null
"$prog" ergebnisse --db "$dir/db" --results "$dir/res" --runs "$runs" 2>/dev/null
