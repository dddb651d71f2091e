#!/usr/bin/env bash
# Times shamsi-dates on generated SHAMSI tables, side by side in one run with
# cp, cp + fsync and cat of the same file: a first run on an unfilled table
# (against cp + fsync) and a rerun on the table it filled, which writes
# nothing (against cat); and measures the peak memory of both. Then the
# windowed program's Run (window-run-bench, when built) on the first size,
# every date inside 1980 to 2023, by the date table and by the Persian
# calendar (qrx2 --exact), side by side.
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

printf '%-9s %8s %7s %10s %7s %11s %7s %9s %6s %14s\n' records "size MB" "cp s" "cp+fsync s" "cat s" \
    "first run s" "x sync" "rerun s" "x cat" "peak memory MB"
for n in "${sizes[@]}"; do
    "$bin/make-table" "$work/source.dbf" --records "$n" --out-of-range 100
    size=$(stat -c %s "$work/source.dbf")
    cps=() syncs=() cats=() firsts=() reruns=() peak=0
    run() { # run VAR: times one run of shamsi-dates on table.dbf into the array VAR
        local t0 t1 user sys kb
        t0=$(now)
        /usr/bin/time -f '%U %S %M' -o "$work/time.txt" \
            "$bin/shamsi-dates" --dates "$bin/DATES.TXT" "$work/table.dbf" >/dev/null
        t1=$(now)
        eval "$1+=($((t1 - t0)))"
        read -r user sys kb <"$work/time.txt"
        ((kb > peak)) && peak=$kb
        return 0
    }
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

        t0=$(now)
        cat "$work/source.dbf" >/dev/null
        t1=$(now)
        cats+=($((t1 - t0)))

        cp "$work/source.dbf" "$work/table.dbf"
        sync "$work/table.dbf" # a fresh, unfilled table with nothing left to write back
        run firsts
        run reruns # on the table just filled: nothing changes, nothing is written
    done
    sync_us=$(median "${syncs[@]}")
    cat_us=$(median "${cats[@]}")
    first_us=$(median "${firsts[@]}")
    rerun_us=$(median "${reruns[@]}")
    printf '%-9s %8.1f %7s %10s %7s %11s %7.1f %9s %6.1f %14.1f\n' "$n" \
        "$(awk -v b="$size" 'BEGIN {print b / 1048576}')" "$(seconds "$(median "${cps[@]}")")" \
        "$(seconds "$sync_us")" "$(seconds "$cat_us")" "$(seconds "$first_us")" \
        "$(awk -v a="$first_us" -v b="$sync_us" 'BEGIN {print a / b}')" "$(seconds "$rerun_us")" \
        "$(awk -v a="$rerun_us" -v b="$cat_us" 'BEGIN {print a / b}')" \
        "$(awk -v k="$peak" 'BEGIN {print k / 1024}')"
    rm -f "$work"/*.dbf
done
echo "(wall-clock medians of $reps runs; a run includes loading DATES.TXT and, when it wrote,"
echo " syncing the table to disk; x sync: first run / (cp + fsync); x cat: rerun / cat;"
echo " peak memory: the largest resident size of all the runs)"

if [ -x "$bin/window-run-bench" ]; then
    echo
    "$bin/make-table" "$work/window.dbf" --records "${sizes[0]}"
    "$bin/window-run-bench" "$work/window.dbf" "$reps"
    echo "(medians of $reps first runs on a fresh copy each, alternating; x table: exact / table)"
fi
