#!/usr/bin/env bash
# A batch split over machines with GNU parallel over ssh, for sites without
# Slurm: part K of N (batch --shard K/N) on the next free host, each into its
# own result folder, the database only read; then the parts are merged here
# into the result folder and the database's catalogue.
#
#   scripts/parallel_serie.sh --db DIR --results DIR --shards N --hosts HOSTS
#                             [--from DATA_SET] [--cli PATH] [--lang de|en]
#
# HOSTS: a GNU parallel ssh login list ("host1,host2", "4/host3", ":" for this
# machine) or a file of them (--sshloginfile). The runner, DIR and the result
# folder must be reachable under the same paths on every host (shared file
# system). Each host runs one part at a time with all its cores (--jobs of
# the batch: the host's cores). A failed part stops the start of further
# parts; nothing is merged then, the parts stay for a second try.
set -euo pipefail

cli="$(cd "$(dirname "$0")/.." && pwd)/build/release/varnek-cli"
db="" results="" shards="" hosts="" from="" lang="de"
while [ $# -gt 0 ]; do
  case "$1" in
    --db) db="$2"; shift 2 ;;
    --results) results="$2"; shift 2 ;;
    --shards) shards="$2"; shift 2 ;;
    --hosts) hosts="$2"; shift 2 ;;
    --from) from="$2"; shift 2 ;;
    --cli) cli="$2"; shift 2 ;;
    --lang) lang="$2"; shift 2 ;;
    *) echo "parallel_serie.sh: unknown option: $1" >&2; exit 2 ;;
  esac
done
if [ -z "$db" ] || [ -z "$results" ] || [ -z "$hosts" ] || ! [[ "$shards" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: parallel_serie.sh --db DIR --results DIR --shards N --hosts HOSTS [--from DATA_SET] [--cli PATH]" >&2
  exit 2
fi
command -v parallel >/dev/null || { echo "parallel_serie.sh: GNU parallel not found" >&2; exit 1; }
db="$(realpath "$db")"
mkdir -p "$results"
results="$(realpath "$results")"
cli="$(realpath "$cli")"

if [ -f "$hosts" ]; then login=(--sshloginfile "$hosts"); else login=(-S "$hosts"); fi
befehl="$(printf '%q ' "$cli" --lang "$lang" --db "$db")--results $(printf '%q' "$results")/part-{} batch --shard {}/$shards"
[ -n "$from" ] && befehl+=" --from $(printf '%q' "$from")"

seq 1 "$shards" | parallel "${login[@]}" -j1 --halt soon,fail=1 --tagstring "part {}/$shards" "$befehl"
teile=()
for k in $(seq 1 "$shards"); do teile+=("$results/part-$k"); done
"$cli" --lang "$lang" --db "$db" --results "$results" merge "${teile[@]}"
