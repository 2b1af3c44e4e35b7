#!/usr/bin/env bash
# A single-node Slurm started here (munged, slurmctld, slurmd on private
# ports, everything in a temporary folder), a small sweep computed as a job
# array by scripts/slurm_serie.sh and merged, and the merged folder and
# catalogue checked against a local batch. Exits 77 (skipped) when the
# scheduler cannot be started here (not root, packages missing, daemons do
# not come up); prints the scheduling overhead per array task.
#
#   scripts/slurm_test.sh <varnek-cli> [time limit in s, default 240]
set -uo pipefail

cli="$(realpath "${1:?usage: slurm_test.sh <varnek-cli> [seconds]}")"
limit="${2:-240}"
here="$(cd "$(dirname "$0")" && pwd)"
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; for f in "$w"/*.log "$w"/res/slurm/*.out; do [ -f "$f" ] && { echo "--- $f"; tail -20 "$f"; }; done; exit 1; }

[ "$(id -u)" -eq 0 ] || skip "needs root to start slurmctld and slurmd"
for p in munged slurmctld slurmd sbatch scontrol sinfo; do
  command -v "$p" >/dev/null || [ -x "/usr/sbin/$p" ] || skip "$p not installed (scripts/install-deps.sh)"
done
export PATH="$PATH:/usr/sbin"

w="$(mktemp -d /tmp/varnek-slurm.XXXXXX)"
chmod 711 "$w"
pids=()
aufraeumen() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  sleep 1
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null; done
  wait 2>/dev/null
  [ "${VARNEK_SLURM_BEHALTEN:-0}" = 1 ] || rm -rf "$w"
}
trap aufraeumen EXIT
deadline=$(( $(date +%s) + limit ))
zeit_uebrig() { [ "$(date +%s)" -lt "$deadline" ]; }

# munge with a key of its own on a socket of its own.
dd if=/dev/urandom of="$w/munge.key" bs=1024 count=1 status=none
chmod 400 "$w/munge.key"
mkdir -m 711 "$w/munge"
munged --foreground --force --key-file="$w/munge.key" --socket="$w/munge/sock" \
       --pid-file="$w/munge/pid" --seed-file="$w/munge/seed" >"$w/munged.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -S "$w/munge/sock" ] && break; sleep 0.1; done
[ -S "$w/munge/sock" ] || skip "munged did not start: $(tail -2 "$w/munged.log" 2>/dev/null)"

host="$(hostname -s)"
cpus="$(nproc)"
port=$(( 20000 + ($$ % 20000) ))
mkdir -p "$w/state" "$w/spool"
cat > "$w/slurm.conf" <<EOF
ClusterName=varnektest
SlurmctldHost=$host(127.0.0.1)
SlurmUser=root
SlurmdUser=root
SlurmctldPort=$port
SlurmdPort=$((port + 1))
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$w/munge/sock
StateSaveLocation=$w/state
SlurmdSpoolDir=$w/spool
SlurmctldPidFile=$w/slurmctld.pid
SlurmdPidFile=$w/slurmd.pid
SlurmctldLogFile=$w/slurmctld.log
SlurmdLogFile=$w/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
MpiDefault=none
SwitchType=switch/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
JobCompType=jobcomp/none
SchedulerType=sched/backfill
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
ReturnToService=2
SlurmdTimeout=30
MinJobAge=600
NodeName=$host NodeAddr=127.0.0.1 CPUs=$cpus State=UNKNOWN
PartitionName=varnek Nodes=$host Default=YES MaxTime=INFINITE State=UP
EOF
export SLURM_CONF="$w/slurm.conf"
slurmctld -D -c -f "$SLURM_CONF" >"$w/slurmctld.out" 2>&1 &
pids+=($!)
slurmd -D -f "$SLURM_CONF" -N "$host" >"$w/slurmd.out" 2>&1 &
pids+=($!)
bereit=0
for _ in $(seq 60); do
  state="$(sinfo -h -N -o %T 2>/dev/null | head -1)"
  case "$state" in idle*|mixed*|allocated*) bereit=1; break ;; esac
  sleep 0.5
done
if [ "$bereit" -ne 1 ]; then
  echo "scheduler state: ${state:-none}"
  tail -5 "$w/slurmctld.log" "$w/slurmd.log" "$w/slurmctld.out" "$w/slurmd.out" 2>/dev/null
  skip "slurmctld/slurmd did not come up"
fi
echo "single-node Slurm up: $host, $cpus CPUs, port $port"

# The study: a fresh database, its data sets fixed except a sweep of an
# analytic data set (2 x 3 variants), computed as 3 array tasks and merged.
"$cli" init-db "$w/db" >/dev/null || fail "init-db"
"$cli" --db "$w/db" sweep test_EJEG_IAAN-N_st0 --vary spei.spmax=0.5,1.5 --vary rech.maxa=12,14,16 \
       --name "test_zz_sweep_{n}" >"$w/sweep.out" || fail "sweep: $(cat "$w/sweep.out")"
cp -r "$w/db" "$w/db_lokal"
"$cli" --db "$w/db_lokal" --results "$w/lokal" batch --jobs 1 --from test_zz_sweep_1 >/dev/null 2>"$w/lokal.log" \
  || fail "local batch"

start=$(date +%s.%N)
chmod -R a-w "$w/db"   # the array only reads the database
out="$("$here/slurm_serie.sh" --cli "$cli" --db "$w/db" --results "$w/res" --shards 3 --from test_zz_sweep_1 2>&1)" \
  || fail "slurm_serie.sh: $out"
echo "$out"
zusammen="$(echo "$out" | sed -n 's/^merge //p')"
chmod -R u+w "$w/db"   # the merge job (pending until the array is done) writes the catalogue
while zeit_uebrig; do
  st="$(scontrol show job "$zusammen" 2>/dev/null | sed -n 's/.*JobState=\([A-Z_]*\).*/\1/p' | head -1)"
  [ "$st" = COMPLETED ] && break
  case "$st" in FAILED|CANCELLED|TIMEOUT|NODE_FAIL|"") fail "merge job $zusammen: ${st:-gone}" ;; esac
  sleep 0.5
done
ende=$(date +%s.%N)
[ "$st" = COMPLETED ] || fail "merge job not done within ${limit}s (state $st)"

# The merged folder holds exactly the local batch's files, byte for byte,
# the catalogue the six rows in that folder, and the variants are fixed.
lokal="$(cd "$w/lokal" && ls *.dat | sort)"
merged="$(cd "$w/res" && ls *.dat | sort)"
[ "$(echo "$lokal" | wc -l)" -eq 6 ] || fail "local batch wrote: $lokal"
[ "$lokal" = "$merged" ] || fail "merged files differ: $merged"
for f in $lokal; do cmp -s "$w/lokal/$f" "$w/res/$f" || fail "$f differs from the local batch"; done
liste="$("$cli" --db "$w/db" list)"
[ "$(echo "$liste" | grep -c $'^test_zz_sweep_[1-6]\tF')" -eq 6 ] || fail "variants not fixed: $liste"
grep -q "6 Dateien und 6 Katalogzeilen" "$w/res/slurm/merge.out" || fail "merge output"

# Overhead per task: start latency after submission and what the task spent
# outside the runner, from the tasks' own time stamps.
awk -v s="$start" -v e="$ende" '
  /^part / { n++; wait += $6 - $4; run += $8 - $6; if ($8 > last) last = $8 }
  END {
    if (n == 0) exit 1
    printf "array tasks: %d, mean wait from submission to start %.2f s, mean run %.2f s\n", n, wait / n, run / n
    printf "submission to merged: %.2f s; last task to merged: %.2f s\n", e - s, e - last
  }' "$w"/res/slurm/teil-*.out || fail "no task time stamps"
echo "PASS"
