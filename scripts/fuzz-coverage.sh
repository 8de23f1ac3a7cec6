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
targets=(drive_reply cli_output sysfs_reader command_line replayed_report)

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

# llvm-cov's table of every file, names relative to the sources (a build through ccache with a
# base folder records them relative to the build folder). An inline function that one target
# never uses has no counters there, which llvm-cov warns of as mismatched data: that warning is
# dropped.
others=("${binaries[@]:1}")
llvm-cov report "${binaries[0]}" "${others[@]/#/-object=}" \
    -instr-profile="$profiles/merged.profdata" -show-region-summary=false \
    2>"$profiles/llvm-cov.err" | sed -E "s#^($root/|(\.\./)+)##" >"$profiles/report.txt"
grep -v 'functions have mismatched data' "$profiles/llvm-cov.err" >&2 || true

# The rows of the files under a folder (or the one file), and their sum as "lines L % (M of N
# missed), branches B % (M of N missed)".
rows() { awk -v p="$1" 'index($1, p) == 1' "$profiles/report.txt"; }
summary() {
    awk '{ lines += $5; missed += $6; branches += $8; bmissed += $9 }
        END {
            printf "lines %.2f %% (%d of %d missed), branches %.2f %% (%d of %d missed)\n",
                lines ? 100 * (lines - missed) / lines : 100, missed, lines,
                branches ? 100 * (branches - bmissed) / branches : 100, bmissed, branches
        }'
}

status=0
echo "source coverage of the fuzz corpora (llvm-cov):"
folders=(drive/ settings/ cli/ platform/sysfs_optical_drives.cpp)
for folder in "${folders[@]}"; do
    line=$(rows "$folder" | summary)
    printf '  %-36s %s\n' "$folder" "$line"
    case $folder in
    drive/ | settings/)
        percent=$(echo "$line" | sed -E 's/^lines ([0-9.]+) %.*/\1/')
        if awk -v p="$percent" -v m="$minimum" 'BEGIN { exit !(p < m) }'; then
            echo "  *** $folder: $percent % of its lines, below $minimum %"
            status=1
        fi
        ;;
    esac
done
echo
head -n 2 "$profiles/report.txt"
for folder in "${folders[@]}"; do
    rows "$folder"
done
exit "$status"
