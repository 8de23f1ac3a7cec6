#!/usr/bin/env python3
"""Prints the notices of the runtimes a Windows executable links statically, for a release archive.

usage: runtime_notices.py GCC_PACKAGE MINGW_PACKAGE

GCC_PACKAGE is the Debian package that installed libstdc++.a (libgcc comes from the same GCC
sources and the same copyright file), MINGW_PACKAGE the one that installed libwinpthread.a and the
mingw-w64 runtime. The texts are taken from those packages' /usr/share/doc/<package>/copyright,
as installed, and from base-files' GPL-3 text, so the notices follow the toolchain that built the
executable. Exits non-zero with a message when a file or an expected section is missing.
"""
import subprocess
import sys

DOC = "/usr/share/doc/{}/copyright"
GPL3 = "/usr/share/common-licenses/GPL-3"
RULE = "=" * 78

# The GCC copyright file is free text: the runtime libraries' licensing statement and the
# exception are cut out between these lines (the end line itself is left out).
GCC_SECTIONS = [
    ("COPYRIGHT STATEMENTS AND LICENSING TERMS", "The libbacktrace library"),
    ("GCC RUNTIME LIBRARY EXCEPTION", "libquadmath/"),
]

# The mingw-w64 copyright file is machine-readable (paragraphs of fields). Its runtime parts are
# the C runtime and winpthreads; the profiling library (-pg only), winpthreads' own tests, the
# headers and the tools do not reach the executable.
RUNTIME_PREFIXES = ("mingw-w64-crt/", "mingw-w64-libraries/winpthreads/")
UNLINKED_PREFIXES = ("mingw-w64-crt/profile/", "mingw-w64-libraries/winpthreads/tests_pthread/")


def fail(message):
    sys.exit("runtime_notices: " + message)


def read(path):
    try:
        with open(path, encoding="utf-8") as f:
            return f.read()
    except OSError as e:
        fail(f"cannot read {path}: {e.strerror}")


def package_version(package):
    result = subprocess.run(["dpkg-query", "-W", "-f=${Version}", package],
                            capture_output=True, text=True, check=False)
    if result.returncode != 0 or not result.stdout:
        fail(f"package {package} is not installed")
    return result.stdout


def cut(text, start, end, path):
    first = text.find(start)
    last = text.find(end, first) if first >= 0 else -1
    if first < 0 or last < 0:
        fail(f"{path} has no section from '{start}' to '{end}'")
    return text[first:last].rstrip() + "\n"


def gcc_notice(package):
    path = DOC.format(package)
    text = read(path)
    return "\n\n".join(cut(text, start, end, path) for start, end in GCC_SECTIONS)


def paragraphs(text):
    return [p for p in text.split("\n\n") if p.strip()]


def field(paragraph, name):
    """The first line of a field's value, or None."""
    for line in paragraph.splitlines():
        if line.startswith(name + ":"):
            return line[len(name) + 1:].strip()
    return None


def files_of(paragraph):
    lines = paragraph.splitlines()
    first = next(i for i, line in enumerate(lines) if line.startswith("Files:"))
    names = lines[first][len("Files:"):].split()
    for line in lines[first + 1:]:
        if not line[:1].isspace():
            break
        names += line.split()
    return names


def is_runtime(paragraph):
    names = files_of(paragraph)
    return names == ["*"] or any(
        n.startswith(RUNTIME_PREFIXES) and not n.startswith(UNLINKED_PREFIXES) for n in names)


def license_names(paragraph):
    return [n for n in field(paragraph, "License").replace(" or ", " and ").split(" and ") if n]


def has_license_text(paragraph):
    lines = paragraph.splitlines()
    at = next(i for i, line in enumerate(lines) if line.startswith("License:"))
    return at + 1 < len(lines) and lines[at + 1][:1].isspace()


def mingw_notice(package):
    path = DOC.format(package)
    all_paragraphs = paragraphs(read(path))
    chosen = [p for p in all_paragraphs if field(p, "Files") is not None and is_runtime(p)]
    if not chosen:
        fail(f"{path} names no runtime files")
    # Paragraphs that only name their licence refer to a stand-alone licence paragraph.
    standalone = {field(p, "License"): p for p in all_paragraphs
                  if field(p, "Files") is None and field(p, "License") is not None}
    needed = []
    for p in chosen:
        if not has_license_text(p):
            needed += [n for n in license_names(p) if n not in needed]
    for name in needed:
        if name not in standalone:
            fail(f"{path} has no text for the licence {name}")
    return "\n\n".join(chosen + [standalone[n] for n in needed]) + "\n"


def section(title, source, body):
    return f"{RULE}\n{title}\nTaken from {source}.\n{RULE}\n\n{body}"


def main():
    if len(sys.argv) != 3:
        fail("usage: runtime_notices.py GCC_PACKAGE MINGW_PACKAGE")
    gcc, mingw = sys.argv[1], sys.argv[2]
    print("Notices of the libraries linked into the executables of this archive\n\n"
          "The executables are built with Debian's mingw-w64 cross compiler and link statically:\n"
          "- the GCC runtime libraries libstdc++ and libgcc, under the GNU General Public\n"
          "  License version 3 with the GCC Runtime Library Exception 3.1, which lets a program\n"
          "  compiled by GCC be distributed under its own licence (section 1);\n"
          "- the mingw-w64 runtime (C run-time start-up and support code) and winpthreads\n"
          "  (POSIX threads for Windows), under the licences in section 2.\n"
          "Section 3 is the text of the GNU General Public License version 3 that section 1\n"
          "refers to.\n")
    print(section("1. GCC runtime libraries: libstdc++, libgcc",
                  f"{DOC.format(gcc)} (Debian package {gcc} {package_version(gcc)})",
                  gcc_notice(gcc)))
    print(section("2. mingw-w64 runtime and winpthreads",
                  f"{DOC.format(mingw)} (Debian package {mingw} {package_version(mingw)})",
                  mingw_notice(mingw)))
    print(section("3. GNU General Public License version 3", f"{GPL3} (Debian package base-files)",
                  read(GPL3)), end="")


if __name__ == "__main__":
    main()
