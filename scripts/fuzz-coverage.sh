#!/usr/bin/env bash
# What the fuzz corpora reach: builds the fuzz targets with clang's source coverage, replays each
# target's corpus (tests/fuzz/corpus/<target>, each input once) and prints llvm-cov's line and
# branch coverage of drive/, settings/, cli/ and the sysfs reader, folder by folder, then file by
# file. Fails when drive/ or settings/ has less than FUZZ_COVERAGE_MINIMUM (90) % of its lines
# covered.
#   scripts/fuzz-coverage.sh [BUILD_DIR]     (default build/coverage)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-build/coverage}
minimum=${FUZZ_COVERAGE_MINIMUM:-90}
targets=(drive_reply cli_output sysfs_reader command_line)

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DDRIVE_UTILITY_FUZZ=ON -DDRIVE_UTILITY_FUZZ_COVERAGE=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/%/_fuzzer}" >/dev/null

profiles=$build/coverage-profiles
rm -rf "$profiles" && mkdir -p "$profiles"
binaries=()
for target in "${targets[@]}"; do
    binary=$build/tests/fuzz/${target}_fuzzer
    LLVM_PROFILE_FILE="$profiles/$target-%p.profraw" "$binary" -runs=0 \
        "tests/fuzz/corpus/$target" >"$profiles/$target.log" 2>&1 ||
        { tail -n 20 "$profiles/$target.log"; exit 1; }
    binaries+=("$binary")
done
llvm-profdata merge -sparse "$profiles"/*.profraw -o "$profiles/merged.profdata"

# report SOURCES...: llvm-cov's table of these sources. An inline function that one target never
# uses has no counters there, which llvm-cov warns of as mismatched data: that warning is dropped.
report() {
    local others=("${binaries[@]:1}")
    llvm-cov report "${binaries[0]}" "${others[@]/#/-object=}" \
        -instr-profile="$profiles/merged.profdata" -show-region-summary=false "$@" \
        2>"$profiles/llvm-cov.err"
    grep -v 'functions have mismatched data' "$profiles/llvm-cov.err" >&2 || true
}
# The TOTAL row of a table as "lines L % (missed M of N), branches B % (...)".
summary() {
    awk '$1 == "TOTAL" {
        printf "lines %s (%d of %d missed), branches %s (%d of %d missed)\n", $7, $6, $5, $10, $9, $8
    }'
}

status=0
echo "source coverage of the fuzz corpora (llvm-cov):"
for folder in drive settings cli platform/sysfs_optical_drives.cpp; do
    line=$(report "$root/$folder" | summary)
    printf '  %-36s %s\n' "$folder" "$line"
    case $folder in
    drive | settings)
        percent=$(echo "$line" | sed -E 's/^lines ([0-9.]+)%.*/\1/')
        if awk -v p="$percent" -v m="$minimum" 'BEGIN { exit !(p < m) }'; then
            echo "  *** $folder: $percent % of its lines, below $minimum %"
            status=1
        fi
        ;;
    esac
done
echo
report "$root/drive" "$root/settings" "$root/cli" "$root/platform/sysfs_optical_drives.cpp" |
    sed "s|$root/||"
exit "$status"
