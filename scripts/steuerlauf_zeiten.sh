#!/usr/bin/env bash
# Figures of a control run on a fresh default database with simulated devices
# and the fast clock: wall time per live interval (engine, measurement and DAC
# protocol) and the time from "STOP" written to the end of the runner's
# output. Each output line is stamped with the wall time when it arrives; the
# lines come faster than a pipe hands them on, so the time per live interval
# is the run's wall time less a load of the same data set ("inputs"), over
# the live intervals. A full-mode run also ends by itself at the year's end.
#
#   scripts/steuerlauf_zeiten.sh [varnek-cli] [data set] [intervals] [--test-mode]
# BEHALTEN=1 keeps the scratch folder with the stamped output.
set -euo pipefail
cli=$(realpath "${1:-build/release/varnek-cli}")
satz=${2:-EFH Potsdam 2019 stuendlich Intervall M}
n=${3:-100}
modus=${4:-}
tmp=$(mktemp -d)
trap '[ -n "${BEHALTEN:-}" ] || rm -rf "$tmp"' EXIT
"$cli" init-db "$tmp/db" >/dev/null
cd "$tmp"
: >stempel.txt
# Stamps every line; the last stamp is the end of the output.
stempeln='import sys, time
with open("stempel.txt", "a", buffering=1) as f:
    for zeile in sys.stdin:
        f.write("%.6f %s" % (time.time(), zeile))
    f.write("%.6f ENDE\n" % time.time())'
t_laden=$(python3 -c 'import subprocess, sys, time
t = time.time()
subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, check=True)
print("%.6f" % (time.time() - t))' "$cli" --db "$tmp/db" --results "$tmp/res" inputs "$satz")
t_start=$(python3 -c 'import time; print("%.6f" % time.time())')
("$cli" --db "$tmp/db" --results "$tmp/res" control "$satz" --simulated-devices --fast-clock $modus 2>err.txt |
    python3 -u -c "$stempeln") &
zeilen() { wc -l <stempel.txt; }
while [ "$(zeilen)" -lt $((n + 1)) ]; do
    if ! jobs %1 >/dev/null 2>&1; then break; fi
    sleep 0.005
done
# "STOP" written as `varnek-cli stop` writes it (a new file renamed into
# place), stamped at once; the runner's own start-up is not part of the figure.
t_stop=$(python3 -c 'import os, time
open("kontrolle.text.neu", "wb").write(b"STOP\r\n")
os.replace("kontrolle.text.neu", "kontrolle.text")
print("%.6f" % time.time())')
wait
awk -v s="$t_stop" -v t0="$t_start" -v l="$t_laden" -v m="${modus:-full}" '
    $2 == "ENDE" { e = $1; g = NR - 1 }
    END { printf "mode %s: %.3f ms per live interval (run %.1f ms less load %.1f ms, %d live intervals); ",
          m, ((e - t0) - l) * 1000 / g, (e - t0) * 1000, l * 1000, g
          if (s < e) printf "STOP to end of run %.1f ms\n", (e - s) * 1000
          else printf "the run had ended before STOP\n" }' stempel.txt
