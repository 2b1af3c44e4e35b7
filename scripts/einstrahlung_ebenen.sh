#!/usr/bin/env bash
# Irradiation of a data set's weather record on collector planes, as the run lays it out:
# the monthly sums on a 45° south plane and on a vertical east wall, and the largest
# hourly (interval) irradiance on any plane of a sweep over tilt 15..90° and azimuth
# -180..165° in 15° steps.
#
# Usage: scripts/einstrahlung_ebenen.sh <data set> [runner options, e.g. --db DIR]
# The runner is $VARNEK_CLI (default build/release/varnek-cli).
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -ge 1 ] || { echo "usage: $0 <data set> [runner options]" >&2; exit 2; }
datensatz=$1
shift
cli=${VARNEK_CLI:-build/release/varnek-cli}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

ebene() {  # tilt azimuth -> $tmp/<tilt>_<azimuth>.csv
    "$cli" "$@" inputs "$datensatz" --tilt "$T" --azimuth "$A" --csv > "$tmp/${T}_${A}.csv"
}

T=45 A=0 ebene "$@"
T=90 A=-90 ebene "$@"
echo "data set: $datensatz"
echo "month,45 deg south [kWh/qm],90 deg east [kWh/qm]"
paste -d, <(awk -F, 'NR>2 && NR<=14 {print $1 "," $2}' "$tmp/45_0.csv") \
          <(awk -F, 'NR>2 && NR<=14 {print $2}' "$tmp/90_-90.csv") |
    awk -F, '{printf "%d,%.1f,%.1f\n", $1, $2, $3; s1 += $2; s2 += $3}
             END {printf "year,%.1f,%.1f\n", s1, s2}'

for T in 15 30 45 60 75 90; do
    for A in $(seq -180 15 165); do
        [ -f "$tmp/${T}_${A}.csv" ] || ebene "$@"
    done
done
# Interval rows follow the second header: month,interval,is0,...
for f in "$tmp"/*.csv; do
    awk -F, -v ebene="$(basename "$f" .csv)" '
        /^month,interval/ {reihen = 1; next}
        reihen && $3 > max {max = $3; wo = $1 "," $2}
        END {print max "," ebene "," wo}' "$f"
done | sort -t, -k1,1 -g | tail -1 |
    awk -F, '{split($2, e, "_"); printf "largest interval irradiance: %.0f W/qm (tilt %s, azimuth %s, month %s, interval %s)\n", $1, e[1], e[2], $3, $4}'
