#!/usr/bin/env bash
# Builds the fuzz targets with clang (in build-fuzz/) and runs them on their seed corpus.
#   tests/fuzz/run.sh logloader 600      one target for ten minutes
#   tests/fuzz/run.sh --all 20           every target in turn (what CI does)
# Extra arguments after "--" go to libFuzzer (e.g. -- -jobs=2 -workers=2). New inputs collect in
# build-fuzz/fuzz-work/NAME/corpus, crashes beside it; the seeds in tests/fuzz/corpus are only read.
set -euo pipefail
cd "$(dirname "$0")/../.."

names=(logloader adifimport cabrilloimport mastercalldb textmasterfile inifile countylist contestdefinition)
usage() {
    echo "usage: $0 NAME|--all [SECONDS] [-- LIBFUZZER-OPTIONS]   (NAME: ${names[*]})" >&2
    exit 2
}
[ $# -ge 1 ] || usage
if [ "$1" = "--all" ]; then
    selected=("${names[@]}")
elif [[ " ${names[*]} " == *" $1 "* ]]; then
    selected=("$1")
else
    usage
fi
shift
seconds=60
if [ $# -ge 1 ] && [ "$1" != "--" ]; then
    seconds=$1
    shift
fi
[ "${1:-}" = "--" ] && shift
extra=("$@")

build=build-fuzz
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DKVR_FUZZ=ON >/dev/null
fi
targets=()
for name in "${selected[@]}"; do targets+=("fuzz_$name"); done
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]}"

export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
failed=()
for name in "${selected[@]}"; do
    work="$build/fuzz-work/$name"
    mkdir -p "$work/corpus"
    touch "$work/started"
    options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
             -artifact_prefix="$work/")
    [ -f "tests/fuzz/$name.dict" ] && options+=(-dict="tests/fuzz/$name.dict")
    echo "== fuzz_$name for ${seconds}s"
    if ! "$build/fuzz/fuzz_$name" "${options[@]}" "${extra[@]}" "$work/corpus" "tests/fuzz/corpus/$name" \
        >"$work/log.txt" 2>&1; then
        failed+=("$name")
        tail -n 60 "$work/log.txt"
        find "$work" -maxdepth 1 -type f -newer "$work/started" -name '*-*' | while read -r crash; do
            echo "-- $crash:"
            od -c "$crash" | head -n 40
        done
    else
        grep -E "^stat::(number_of_executed_units|peak_rss_mb)|^Done" "$work/log.txt" || true
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz targets that failed: ${failed[*]} (logs and inputs in $build/fuzz-work/)" >&2
    exit 1
fi
