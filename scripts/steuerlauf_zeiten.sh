#!/usr/bin/env bash
# Figures of a control run on a fresh default database with simulated devices
# and the fast clock: wall time per live interval (engine, measurement and DAC
# protocol) and the time from "STOP" written to the end of the runner's
# output. Each output line is stamped with the wall time when it arrives.
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
("$cli" --db "$tmp/db" --results "$tmp/res" control "$satz" --simulated-devices --fast-clock $modus 2>err.txt |
    python3 -u -c "$stempeln") &
zeilen() { wc -l <stempel.txt; }
while [ "$(zeilen)" -lt $((n + 1)) ]; do
    if ! jobs %1 >/dev/null 2>&1; then cat err.txt; exit 1; fi
    sleep 0.005
done
# "STOP" written as `varnek-cli stop` writes it (a new file renamed into
# place), stamped at once; the runner's own start-up is not part of the figure.
t_stop=$(python3 -c 'import os, time
open("kontrolle.text.neu", "wb").write(b"STOP\r\n")
os.replace("kontrolle.text.neu", "kontrolle.text")
print("%.6f" % time.time())')
wait
awk -v n="$n" -v s="$t_stop" -v m="${modus:-full}" '
    NR == 1 { a = $1 } NR == n + 1 { b = $1 } $2 == "ENDE" { e = $1; g = NR - 1 }
    END { printf "mode %s: %.2f ms per live interval (lines 1..%d); STOP to end of run %.1f ms; %d live intervals in all\n",
          m, (b - a) * 1000 / n, n + 1, (e - s) * 1000, g }' stempel.txt
