#!/usr/bin/env bash
# Proves the layering of the sources: which folder may include which, and where the operating
# system's and the toolkits' headers may appear. Prints every include that crosses a line and
# exits 1 if there is one. (The link side is proved by CMake: cmake/layer_links.cmake.)
#
#   platform/  the operating system's services: includes nothing of the layers above it
#   dialog/    the dialog framework, on platform/; its backends in dialog/win32, dialog/qt,
#              dialog/memory
#   drive/, settings/, cli/  never include dialog/ (the command line has no window)
#   report/    the diagnostic report, on settings/, drive/ and platform/: serves the command line
#              and the Linux window, and includes neither
#   Qt headers only in dialog/qt/; windows.h and the system's C headers only in platform/,
#   dialog/'s backend folders, res/ and app/'s entry points
set -euo pipefail
cd "$(dirname "$0")/.."

violations=0
report() {  # report FILE:LINE: TEXT -- WHY
    echo "$1 -- $2"
    violations=$((violations + 1))
}

# includes FOLDER PATTERN: the project includes of the folder's sources that match PATTERN
includes() {
    git ls-files -- "$1" | grep -E '\.(cpp|h)$' | xargs -r grep -nHE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"]($2)" || true
}

forbid() {  # forbid FOLDER 'layer|layer' WHY
    while IFS= read -r hit; do
        [ -n "$hit" ] && report "$hit" "$3"
    done < <(includes "$1" "($2)/")
}

forbid platform 'dialog|ui|settings|drive|report|cli|app|sim' "platform/ includes nothing above it"
forbid dialog 'ui|settings|drive|report|cli|app|sim' "dialog/ stands on platform/ alone"
for layer in drive settings report cli; do
    forbid "$layer" 'dialog|ui|app' "$layer/ has no window: it never includes dialog/, ui/ or app/"
done
forbid drive 'settings|report|cli' "drive/ includes nothing above it"
forbid settings 'report|cli|ui' "settings/ serves both front ends and includes neither"
forbid report 'cli|ui|sim' "report/ serves both front ends and includes neither"

# Toolkit and system headers, in the product's sources (tests, benchmarks and the simulator's
# preload library stand outside the product).
qt='Q[A-Z][A-Za-z]*>|Qt[A-Z][A-Za-z]*/'
system='windows\.h|winioctl\.h|ntddscsi\.h|shellapi\.h|unistd\.h|fcntl\.h|poll\.h|dirent\.h|signal\.h|csignal|pthread\.h|dlfcn\.h|termios\.h|pwd\.h|grp\.h|sys/|scsi/|linux/'
for folder in platform dialog drive settings report ui cli app res; do
    while IFS= read -r hit; do
        [ -z "$hit" ] && continue
        case "$hit" in
            dialog/qt/*) ;;
            *) report "$hit" "Qt headers belong to dialog/qt/" ;;
        esac
    done < <(includes "$folder" "$qt")
    while IFS= read -r hit; do
        [ -z "$hit" ] && continue
        case "$hit" in
            platform/*|dialog/win32/*|dialog/qt/*|res/*|app/main_*|app/demo_main_*) ;;
            *) report "$hit" "system headers belong to platform/, dialog/'s backends, res/, app/'s entry points" ;;
        esac
    done < <(includes "$folder" "$system")
done

# A platform file for one system includes only that system's headers.
while IFS= read -r hit; do
    [ -n "$hit" ] && report "$hit" "windows.h only in the _win32 files of platform/"
done < <(includes platform 'windows\.h|winioctl\.h|ntddscsi\.h' | grep -v '_win32\.cpp:' || true)

if [ "$violations" -gt 0 ]; then
    echo "layers: $violations include(s) cross a line"
    exit 1
fi
echo "layers: every include stays within its layer's rules"
