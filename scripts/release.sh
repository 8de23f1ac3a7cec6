#!/usr/bin/env bash
# Builds the Windows release archives of the committed HEAD, reproducibly:
#
#     scripts/release.sh [OUTPUT_DIR]        (default: out/release)
#
# writes VelmoraDriveUtility-<version>-win32.zip, VelmoraDriveUtility-<version>-win64.zip and
# SHA256SUMS into OUTPUT_DIR. The sources are a fresh `git archive` of HEAD in a temporary folder,
# so uncommitted edits never reach an archive. The version is the one project() in CMakeLists.txt
# gives the build (its version.txt), and each executable's version resource and manifest are
# checked to carry that same version. Every date in the archives is the commit's date, so two
# runs on one commit give the same bytes wherever they run.
set -euo pipefail
export LC_ALL=C

# What each archive carries: these CMake targets' executables, plus README.txt, LICENSE.txt and
# THIRD-PARTY-NOTICES.txt. The demo stays out: its drives are simulated, and a user who started
# it could take what it shows for their own drive.
executables=(VelmoraDriveUtility)
# The Windows builds released, each named after its toolchain file cmake/toolchain-<name>.cmake.
platforms=(win32 win64)

root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/out/release}
mkdir -p "$out"
out=$(cd "$out" && pwd)
jobs=$(nproc)

fail() {
    echo "release: $*" >&2
    exit 1
}

git -C "$root" rev-parse --verify -q HEAD >/dev/null || fail "$root is not a git checkout with a commit"
commit=$(git -C "$root" rev-parse --short HEAD)
if [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
    echo "release: note: uncommitted changes are not in the archives (built from $commit)" >&2
fi
# The commit's date: the date of every archive member, and SOURCE_DATE_EPOCH for the tools.
SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct HEAD)
export SOURCE_DATE_EPOCH

work=$(mktemp -d "${TMPDIR:-/tmp}/release.XXXXXX")
trap 'rm -rf "$work"' EXIT
src=$work/src
mkdir -p "$src" "$work/out"
git -C "$root" archive --format=tar HEAD | tar -x -C "$src"

build() {  # build PLATFORM: configures and builds the executables into $work/build/PLATFORM/bin
    local dir=$work/build/$1
    cmake -S "$src" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$src/cmake/toolchain-$1.cmake" \
        -DCMAKE_RUNTIME_OUTPUT_DIRECTORY="$dir/bin" >/dev/null &&
        cmake --build "$dir" -j "$jobs" --target "${executables[@]}" -- --quiet
}

toolchain_tool() {  # toolchain_tool PLATFORM VARIABLE: a tool the platform's toolchain file names
    local tool
    tool=$(sed -n "s/^set($2 \(.*\))\$/\1/p" "$src/cmake/toolchain-$1.cmake")
    [ -n "$tool" ] || fail "cmake/toolchain-$1.cmake sets no $2"
    echo "$tool"
}

# The distinct values of one kind of version field in a windres dump of an executable.
version_values() {  # version_values DUMP KIND
    case $2 in
        numbers) sed -n 's/^ *\(FILE\|PRODUCT\)VERSION \([0-9, ]*\)$/\2/p' <<<"$1" | sed 's/, */./g' ;;
        strings) sed -n 's/.*VALUE "\(File\|Product\)Version", "\([^"]*\)".*/\2/p' <<<"$1" ;;
        manifest) sed -n 's/.*<assemblyIdentity type=""win32"" name=""Velmora[^"]*"" version=""\([^"]*\)"".*/\1/p' <<<"$1" ;;
    esac | sort -u
}

# The version resource (numbers and strings) must carry VERSION, and so must the manifest, if the
# executable has one.
check_version() {  # check_version EXE WINDRES VERSION
    local dump kind found
    dump=$("$2" -i "$1" -O rc) || fail "cannot read the resources of $1"
    for kind in numbers strings manifest; do
        found=$(version_values "$dump" "$kind")
        [ -n "$found" ] || [ "$kind" = manifest ] || fail "$(basename "$1") has no version $kind"
        [ -z "$found" ] || [ "$found" = "$3" ] ||
            fail "$(basename "$1") carries version $kind '$(paste -sd ' ' <<<"$found")', the build says $3"
    done
}

text_file() {  # text_file FROM TO VERSION: a text with Windows line ends and @VERSION@ filled in
    sed -e "s/@VERSION@/$3/g" -e 's/\r*$/\r/' "$1" >"$2"
}

package_of() {  # package_of COMPILER LIBRARY: the Debian package that installed the library it links
    local path package
    path=$(realpath -e "$("$1" -print-file-name="$2")" 2>/dev/null) &&
        package=$(dpkg-query -S "$path" 2>/dev/null | head -n 1 | cut -d: -f1) && [ -n "$package" ] ||
        fail "no installed Debian package holds the $2 that $1 links"
    echo "$package"
}

version=
for platform in "${platforms[@]}"; do
    echo "=== release: $platform"
    build "$platform" || fail "the $platform build failed"
    dir=$work/build/$platform
    this_version=$(cat "$dir/version.txt")
    [ -z "$version" ] || [ "$this_version" = "$version" ] ||
        fail "the $platform build has version $this_version, another build $version"
    version=$this_version

    name=VelmoraDriveUtility-$version-$platform
    stage=$work/stage/$name
    mkdir -p "$stage"
    windres=$(toolchain_tool "$platform" CMAKE_RC_COMPILER)
    for exe in "${executables[@]}"; do
        check_version "$dir/bin/$exe.exe" "$windres" "$version"
        cp "$dir/bin/$exe.exe" "$stage/"
    done
    text_file "$src/packaging/windows/README.txt" "$stage/README.txt" "$version"
    text_file "$src/LICENSE" "$stage/LICENSE.txt" "$version"
    cxx=$(toolchain_tool "$platform" CMAKE_CXX_COMPILER)
    gcc_package=$(package_of "$cxx" libstdc++.a)
    mingw_package=$(package_of "$cxx" libwinpthread.a)
    python3 "$src/scripts/lib/runtime_notices.py" "$gcc_package" "$mingw_package" >"$work/notices.txt"
    text_file "$work/notices.txt" "$stage/THIRD-PARTY-NOTICES.txt" "$version"
    python3 "$src/scripts/lib/release_zip.py" "$work/out/$name.zip" "$SOURCE_DATE_EPOCH" "$stage"
done

(cd "$work/out" && sha256sum -- *.zip >SHA256SUMS)
for file in "$work/out"/*; do
    mv -f "$file" "$out/"
done
echo "release: $version from $commit in $out:"
sed 's/^/    /' "$out/SHA256SUMS"
