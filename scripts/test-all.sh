#!/usr/bin/env bash
# Builds everything and runs every test: the native suite plainly and under ASan+UBSan and TSan,
# the fuzz targets (clang, libFuzzer) on their corpora, each for a bounded time, and the source
# coverage of their corpora, the win64 and win32 builds, the end-to-end tests of the win64 build
# under Wine, and two release builds of HEAD that must give identical archives.
# The native and ASan builds take the Qt backend (velmora-drive-utility and its demo, the Qt tests
# on Qt's offscreen platform); the TSan build the in-memory one, as Qt's libraries are not
# instrumented.
# Installs what it needs first (as root). Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

if [ "$(id -u)" = 0 ]; then
    scripts/install-deps.sh
fi

jobs=$(nproc)
# Sanitizer reports fail the run; each variable only affects the build that has that sanitizer.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
export LSAN_OPTIONS=suppressions=$root/tests/sanitizers/lsan.supp
passed=0
failed=0
failures=()

stage() {  # stage NAME COMMAND...
    local name=$1 start=$SECONDS
    shift
    echo "=== $name"
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        failures+=("$name")
        echo "*** stage failed: $name"
    fi
    echo "--- $name: $((SECONDS - start)) s"
}

native_build() {  # native_build DIR [cmake args...]
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null &&
        cmake --build "$dir" -j "$jobs"
}

native_tests() {  # native_tests DIR
    ctest --test-dir "$1" --output-on-failure -j "$jobs" --timeout 600
}

windows_build() {  # windows_build DIR TOOLCHAIN
    cmake -S . -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$2" >/dev/null &&
        cmake --build "$1" -j "$jobs"
}

release_reproducible() {  # two releases of HEAD, from copies in differently named folders, are identical
    local tmp status=0
    tmp=$(mktemp -d "${TMPDIR:-/tmp}/release-check.XXXXXX")
    mkdir -p "$tmp/first" "$tmp/second-in-a-longer-folder"
    TMPDIR=$tmp/first scripts/release.sh "$tmp/first/out" &&
        TMPDIR=$tmp/second-in-a-longer-folder scripts/release.sh "$tmp/second-in-a-longer-folder/out" &&
        diff -r "$tmp/first/out" "$tmp/second-in-a-longer-folder/out" || status=1
    rm -rf "$tmp"
    return "$status"
}

# The fuzz targets (tests/fuzz): the drive's replies through the window's operations and through
# velmora-drive, the Linux drive list, velmora-drive's command line and locale, a replayed
# diagnostic report.
fuzz_targets=(drive_reply cli_output sysfs_reader command_line replayed_report)

fuzz_build() {  # fuzz_build DIR: only the fuzz targets and the libraries under them
    CC=clang CXX=clang++ cmake -S . -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DDRIVE_UTILITY_FUZZ=ON >/dev/null &&
        cmake --build "$1" -j "$jobs" --target "${fuzz_targets[@]/%/_fuzzer}"
}

# fuzz_run DIR TARGET SECONDS: fuzzes from a copy of the target's corpus; any finding fails the
# stage. Prints the inputs run and the rate from libFuzzer's last status line.
fuzz_run() {
    local work=$1/fuzz-run/$2 last
    rm -rf "$work" && mkdir -p "$work/corpus" "$work/findings" &&
        cp "tests/fuzz/corpus/$2"/* "$work/corpus/" || return 1
    if "$1/tests/fuzz/$2_fuzzer" -max_total_time="$3" -timeout=30 \
        -artifact_prefix="$work/findings/" "$work/corpus" 2>"$work/log"; then
        last=$(grep -E '^#[0-9]+[[:space:]]' "$work/log" | tail -n 1)
        echo "$last"
        echo "$last" | sed -E 's/^#([0-9]+).*exec\/s: ([0-9]+).*/'"$2"': \1 inputs in '"$3"' s, \2 inputs\/s/'
    else
        tail -n 40 "$work/log"
        echo "findings in $work/findings"
        return 1
    fi
}

export QT_QPA_PLATFORM=offscreen
stage "layer check" scripts/check-layers.sh
stage "native build" native_build build/native -DDRIVE_UTILITY_GUI=qt
stage "native tests" native_tests build/native
# In CI (CI=true, as root) the package is installed with dpkg -i; elsewhere it is unpacked only.
stage "debian package" env CHECK_PACKAGE_INSTALL="$([ "${CI:-}" = true ] && echo 1 || echo 0)" \
    scripts/check-package.sh build/native
stage "asan+ubsan build" native_build build/asan -DDRIVE_UTILITY_SANITIZE=address \
    -DDRIVE_UTILITY_GUI=qt
stage "asan+ubsan tests" native_tests build/asan
stage "tsan build" native_build build/tsan -DDRIVE_UTILITY_SANITIZE=thread -DDRIVE_UTILITY_GUI=memory
stage "tsan tests" native_tests build/tsan
stage "fuzz build" fuzz_build build/fuzz
stage "fuzz corpus replay" native_tests build/fuzz
stage "fuzz drive_reply 60 s" fuzz_run build/fuzz drive_reply 60
stage "fuzz cli_output 40 s" fuzz_run build/fuzz cli_output 40
stage "fuzz sysfs_reader 20 s" fuzz_run build/fuzz sysfs_reader 20
stage "fuzz command_line 20 s" fuzz_run build/fuzz command_line 20
stage "fuzz replayed_report 20 s" fuzz_run build/fuzz replayed_report 20
stage "fuzz coverage" scripts/fuzz-coverage.sh build/coverage
stage "win64 build" windows_build build/win64 toolchain-win64.cmake
stage "win32 build" windows_build build/win32 toolchain-win32.cmake
stage "wine end-to-end tests" tests/e2e/run-all.sh build/native build/win64
stage "release reproducibility" release_reproducible

echo
if [ "$failed" -gt 0 ]; then
    printf 'failed stage: %s\n' "${failures[@]}"
fi
echo "stages: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
