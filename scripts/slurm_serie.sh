#!/usr/bin/env bash
# A batch as a Slurm job array: one array task per part (batch --shard K/N),
# each into its own result folder, the database only read; then a merge job
# that depends on the whole array gathers the parts into the result folder
# and the database's catalogue.
#
#   scripts/slurm_serie.sh --db DIR --results DIR --shards N [--from DATA_SET]
#                          [--cpus C] [--cli PATH] [--lang de|en] [--wait] [-- SBATCH_OPTIONS...]
#
# DIR must be visible under the same path on every node (shared file system).
# Prints the job ids of the array and of the merge job; with --wait it waits
# for the merge job and exits 0 only when it completed.
set -euo pipefail

cli="$(cd "$(dirname "$0")/.." && pwd)/build/release/varnek-cli"
db="" results="" shards="" from="" cpus=1 lang="de" wait=0
sbatch_extra=()
while [ $# -gt 0 ]; do
  case "$1" in
    --db) db="$2"; shift 2 ;;
    --results) results="$2"; shift 2 ;;
    --shards) shards="$2"; shift 2 ;;
    --from) from="$2"; shift 2 ;;
    --cpus) cpus="$2"; shift 2 ;;
    --cli) cli="$2"; shift 2 ;;
    --lang) lang="$2"; shift 2 ;;
    --wait) wait=1; shift ;;
    --) shift; sbatch_extra=("$@"); break ;;
    *) echo "slurm_serie.sh: unknown option: $1" >&2; exit 2 ;;
  esac
done
if [ -z "$db" ] || [ -z "$results" ] || ! [[ "$shards" =~ ^[1-9][0-9]*$ ]] || ! [[ "$cpus" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: slurm_serie.sh --db DIR --results DIR --shards N [--from DATA_SET] [--cpus C] [--cli PATH] [--wait]" >&2
  exit 2
fi
[ -x "$cli" ] || { echo "slurm_serie.sh: runner not found: $cli" >&2; exit 1; }
command -v sbatch >/dev/null || { echo "slurm_serie.sh: sbatch not found" >&2; exit 1; }

db="$(realpath "$db")"
mkdir -p "$results/slurm"
results="$(realpath "$results")"
cli="$(realpath "$cli")"
from_q=""
[ -n "$from" ] && from_q="--from $(printf '%q' "$from")"

# One task: part K of N into results/part-K. The submission time lets the
# task report how long it waited for its start.
task="$results/slurm/teil.sh"
cat > "$task" <<EOF
#!/usr/bin/env bash
set -euo pipefail
k="\$SLURM_ARRAY_TASK_ID"
start=\$(date +%s.%N)
$(printf '%q ' "$cli" --lang "$lang" --db "$db")--results $(printf '%q' "$results")/part-\$k batch --shard \$k/$shards --jobs $cpus $from_q
ende=\$(date +%s.%N)
echo "part \$k/$shards: submitted \${VARNEK_EINGEREICHT:-\$start} started \$start ended \$ende"
EOF
chmod +x "$task"

merge="$results/slurm/zusammenfuehren.sh"
{
  echo '#!/usr/bin/env bash'
  echo 'set -euo pipefail'
  printf '%q ' "$cli" --lang "$lang" --db "$db" --results "$results" merge
  for k in $(seq 1 "$shards"); do printf '%q ' "$results/part-$k"; done
  echo
  echo 'echo "merged: $(date +%s.%N)"'
} > "$merge"
chmod +x "$merge"

export VARNEK_EINGEREICHT="$(date +%s.%N)"
array=$(sbatch --parsable --export=ALL --job-name=varnek-teil --array="1-$shards" --cpus-per-task="$cpus" \
               --output="$results/slurm/teil-%a.out" "${sbatch_extra[@]}" "$task")
array="${array%%;*}"
zusammen=$(sbatch --parsable --export=ALL --job-name=varnek-merge --dependency="afterok:$array" \
                  --kill-on-invalid-dep=yes --output="$results/slurm/merge.out" "${sbatch_extra[@]}" "$merge")
zusammen="${zusammen%%;*}"
echo "array $array"
echo "merge $zusammen"

if [ "$wait" -eq 1 ]; then
  while :; do
    state=$(scontrol show job "$zusammen" 2>/dev/null | sed -n 's/.*JobState=\([A-Z_]*\).*/\1/p' | head -1)
    case "$state" in
      COMPLETED) exit 0 ;;
      FAILED|CANCELLED|TIMEOUT|NODE_FAIL|OUT_OF_MEMORY|BOOT_FAIL|DEADLINE|PREEMPTED)
        echo "slurm_serie.sh: merge job $zusammen: $state" >&2; exit 1 ;;
      "") echo "slurm_serie.sh: merge job $zusammen no longer known" >&2
          grep -q '^merged:' "$results/slurm/merge.out" 2>/dev/null && exit 0 || exit 1 ;;
    esac
    sleep 1
  done
fi
