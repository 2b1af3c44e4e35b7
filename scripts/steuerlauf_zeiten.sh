#!/usr/bin/env bash
# Figures of a control run on a fresh default database with simulated devices
# and the fast clock: wall time per live interval (engine, measurement and DAC
# protocol) and the time from "STOP" written to the runner's exit.
#
#   scripts/steuerlauf_zeiten.sh [varnek-cli] [data set] [intervals] [--test-mode]
set -euo pipefail
cli=$(realpath "${1:-build/release/varnek-cli}")
satz=${2:-Braunschweig EFH Intervall M}
n=${3:-40}
modus=${4:-}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$cli" init-db "$tmp/db" >/dev/null
cd "$tmp"
jetzt() { date +%s.%N; }
zeilen() { wc -l < out.txt; }
"$cli" --db "$tmp/db" --results "$tmp/res" control "$satz" --simulated-devices --fast-clock $modus \
    >out.txt 2>err.txt &
pid=$!
while [ "$(zeilen)" -lt 1 ]; do kill -0 $pid 2>/dev/null || { cat err.txt; exit 1; }; sleep 0.01; done
t1=$(jetzt)
while [ "$(zeilen)" -lt $((n + 1)) ]; do kill -0 $pid 2>/dev/null || { cat err.txt; exit 1; }; sleep 0.01; done
t2=$(jetzt)
"$cli" stop >/dev/null
t_stop=$(jetzt)
wait $pid
t_ende=$(jetzt)
gesamt=$(zeilen)
awk -v a="$t1" -v b="$t2" -v n="$n" -v s="$t_stop" -v e="$t_ende" -v g="$gesamt" -v m="${modus:-full}" 'BEGIN {
    printf "mode %s: %d live intervals timed, %.1f ms per live interval; STOP to exit %.1f ms; %d intervals in all\n",
           m, n, (b - a) * 1000 / n, (e - s) * 1000, g }'
tail -n 2 out.txt
