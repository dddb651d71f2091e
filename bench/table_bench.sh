#!/usr/bin/env bash
# Times shamsi-dates on generated SHAMSI tables against cp of the same file,
# in the same run, and measures its peak memory.
#
# Usage: bench/table_bench.sh [BIN_DIR] [RECORDS...]
#   BIN_DIR   where make-table, shamsi-dates and DATES.TXT are (default build-bench/bin)
#   RECORDS   table sizes to measure (default 1000000 100000)
#   REPS=N    repetitions per measurement (default 5); the median is reported
#   BENCH_DIR where the tables are written (default a fresh folder under /tmp);
#             put it on the disk you care about: a run ends by syncing its table
set -euo pipefail

bin=${1:-build-bench/bin}
shift || true
sizes=("$@")
((${#sizes[@]})) || sizes=(1000000 100000)
reps=${REPS:-5}
for tool in make-table shamsi-dates DATES.TXT; do
    [ -e "$bin/$tool" ] || { echo "table_bench: $bin/$tool is missing; build first" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "table_bench: /usr/bin/time is missing (Debian package time)" >&2; exit 1; }

work=$(mktemp -d "${BENCH_DIR:-/tmp}/table-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

now() { echo "${EPOCHREALTIME/[.,]/}"; } # microseconds
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
seconds() { awk -v us="$1" 'BEGIN {printf "%.3f", us / 1e6}'; }

printf '%-10s %9s %9s %12s %13s %9s %14s\n' records "size MB" "cp s" "cp+fsync s" "shamsi-dates s" "x cp" "peak memory MB"
for n in "${sizes[@]}"; do
    "$bin/make-table" "$work/source.dbf" --records "$n" --out-of-range 100
    size=$(stat -c %s "$work/source.dbf")
    cps=() syncs=() runs=()
    for ((i = 0; i < reps; i++)); do
        rm -f "$work/copy.dbf"
        t0=$(now)
        cp "$work/source.dbf" "$work/copy.dbf"
        t1=$(now)
        cps+=($((t1 - t0)))

        rm -f "$work/copy.dbf"
        t0=$(now)
        cp "$work/source.dbf" "$work/copy.dbf"
        sync "$work/copy.dbf"
        t1=$(now)
        syncs+=($((t1 - t0)))

        cp "$work/source.dbf" "$work/table.dbf"
        sync "$work/table.dbf" # a fresh, unfilled table with nothing left to write back
        t0=$(now)
        "$bin/shamsi-dates" --dates "$bin/DATES.TXT" "$work/table.dbf" >/dev/null
        t1=$(now)
        runs+=($((t1 - t0)))
    done
    cp "$work/source.dbf" "$work/table.dbf"
    peak=$(/usr/bin/time -f %M "$bin/shamsi-dates" --dates "$bin/DATES.TXT" "$work/table.dbf" 2>&1 >/dev/null | tail -n 1)
    cp_us=$(median "${cps[@]}")
    run_us=$(median "${runs[@]}")
    printf '%-10s %9.1f %9s %12s %13s %9.2f %14.1f\n' "$n" "$(awk -v b="$size" 'BEGIN {print b / 1048576}')" \
        "$(seconds "$cp_us")" "$(seconds "$(median "${syncs[@]}")")" "$(seconds "$run_us")" \
        "$(awk -v a="$run_us" -v b="$cp_us" 'BEGIN {print a / b}')" "$(awk -v k="$peak" 'BEGIN {print k / 1024}')"
    rm -f "$work"/*.dbf
done
echo "(medians of $reps runs; shamsi-dates includes loading DATES.TXT and syncing the table to disk)"
