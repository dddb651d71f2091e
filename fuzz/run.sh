#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for SECONDS (default 60) from its
# seeds: fuzz/corpus/NAME where there is one, and for the targets that read
# tables, the test fixtures written by other dBASE software (tests/data/dbase).
# New inputs go to build-fuzz/corpus/, crashes to build-fuzz/artifacts/; the
# committed seeds are never changed.
#   fuzz/run.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
werror=()
[ "${WERROR:-0}" = 1 ] && werror=(-DHALVANE_WERROR=ON)
cmake --preset fuzz "${werror[@]}" >/dev/null
cmake --build --preset fuzz -j "$(nproc)"
mkdir -p build-fuzz/artifacts
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=($(cd build-fuzz/bin && ls fuzz_* | sed 's/^fuzz_//'))
status=0
for name in "${targets[@]}"; do
    work=build-fuzz/corpus/$name
    mkdir -p "$work"
    dict=()
    [ -f "fuzz/$name.dict" ] && dict=(-dict="fuzz/$name.dict")
    seeds=()
    [ -d "fuzz/corpus/$name" ] && seeds+=("fuzz/corpus/$name")
    case $name in table | run) seeds+=(tests/data/dbase) ;; esac
    echo "== fuzz_$name for ${seconds}s =="
    if ! build-fuzz/bin/fuzz_"$name" -max_total_time="$seconds" -print_final_stats=1 "${dict[@]}" \
        -artifact_prefix=build-fuzz/artifacts/"$name"- "$work" "${seeds[@]}" \
        >build-fuzz/"$name".log 2>&1; then
        status=1
        tail -n 40 build-fuzz/"$name".log
    fi
    grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' build-fuzz/"$name".log || true
done
exit $status
