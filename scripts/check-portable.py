#!/usr/bin/env python3
"""Fails when code outside sim/, tests/, bench/ and fuzz/ uses a POSIX-only
interface: a POSIX-only header, or a call that only POSIX systems have,
unless it stands in a block only Unix compiles (#ifdef Q_OS_UNIX ... #endif).

  python3 scripts/check-portable.py [ROOT]   check ROOT (default: this repository)
  python3 scripts/check-portable.py --self-test
"""
import os
import re
import subprocess
import sys
import tempfile

ALLOWED_DIRS = ("sim", "tests", "bench", "fuzz")
SOURCE_SUFFIXES = (".c", ".cc", ".cpp", ".cxx", ".h", ".hh", ".hpp")

POSIX_HEADERS = re.compile(
    r"^\s*#\s*include\s*<("
    r"unistd\.h|termios\.h|termio\.h|fcntl\.h|poll\.h|pty\.h|util\.h|libutil\.h|"
    r"sys/[^>]+|arpa/[^>]+|netinet/[^>]+|netdb\.h|dirent\.h|pwd\.h|grp\.h|dlfcn\.h|"
    r"pthread\.h|semaphore\.h|sched\.h|spawn\.h|syslog\.h|libgen\.h|glob\.h|fnmatch\.h|"
    r"wordexp\.h|strings\.h|utmp\.h|utmpx\.h|regex\.h|ftw\.h|nl_types\.h|langinfo\.h"
    r")>")
POSIX_CALLS = re.compile(
    r"(?<![\w.>:])(?:::)?(isatty|ttyname|fileno|tcgetattr|tcsetattr|tcdrain|tcflush|"
    r"cfsetispeed|cfsetospeed|ioctl|usleep|getuid|geteuid|posix_openpt|grantpt|unlockpt|"
    r"ptsname|mkstemp|realpath)\s*\(")

UNIX_MACROS = re.compile(r"\b(Q_OS_UNIX|Q_OS_LINUX|Q_OS_MACOS|Q_OS_DARWIN|__unix__|__linux__|__APPLE__)\b")
WINDOWS_MACROS = re.compile(r"\b(Q_OS_WIN|Q_OS_WINDOWS|_WIN32|_WIN64)\b")

UNIX, WINDOWS, OTHER = "unix", "windows", "other"


def classify(directive, condition):
    """Which systems compile the block an #if/#ifdef/#ifndef/#elif opens."""
    negated = directive == "ifndef" or condition.lstrip().startswith("!")
    if UNIX_MACROS.search(condition):
        return WINDOWS if negated else UNIX
    if WINDOWS_MACROS.search(condition):
        return UNIX if negated else WINDOWS
    return OTHER


def check_text(path, text):
    problems = []
    stack = []
    for number, line in enumerate(text.splitlines(), 1):
        d = re.match(r"^\s*#\s*(if|ifdef|ifndef|elif|else|endif)\b(.*)", line)
        if d:
            kind, rest = d.group(1), d.group(2)
            if kind in ("if", "ifdef", "ifndef"):
                stack.append(classify(kind, rest))
            elif kind == "elif" and stack:
                stack[-1] = classify("if", rest)
            elif kind == "else" and stack:
                stack[-1] = {UNIX: WINDOWS, WINDOWS: UNIX}.get(stack[-1], OTHER)
            elif kind == "endif" and stack:
                stack.pop()
            continue
        if UNIX in stack:
            continue
        code = line.split("//", 1)[0]
        m = POSIX_HEADERS.search(code) or POSIX_CALLS.search(code)
        if m:
            problems.append(f"{path}:{number}: POSIX-only {m.group(1)}: {line.strip()}")
    return problems


def source_files(root):
    try:
        out = subprocess.run(["git", "-C", root, "ls-files"], check=True,
                             capture_output=True, text=True).stdout.split("\n")
        files = [f for f in out if f]
    except (OSError, subprocess.CalledProcessError):
        files = []
        for base, dirs, names in os.walk(root):
            dirs[:] = [d for d in dirs if not d.startswith((".", "build"))]
            files += [os.path.relpath(os.path.join(base, n), root) for n in names]
    for f in sorted(files):
        if f.split("/", 1)[0] in ALLOWED_DIRS or not f.endswith(SOURCE_SUFFIXES):
            continue
        yield f


def check_tree(root):
    problems = []
    for f in source_files(root):
        with open(os.path.join(root, f), encoding="utf-8", errors="replace") as fh:
            problems += check_text(f, fh.read())
    return problems


def self_test():
    cases = {
        "device/bad.cpp": ("#include <unistd.h>\n", 1),
        "cli/tty.cpp": ("bool t = isatty(1);\n", 1),
        "cli/sys.h": ("#include <sys/ioctl.h>\n", 1),
        "cli/guarded.cpp": ("#ifdef Q_OS_UNIX\n#include <unistd.h>\nint t = ::isatty(1);\n#endif\n", 0),
        "cli/elsewin.cpp": ("#if defined(Q_OS_WIN)\n#include <io.h>\n#else\n#include <unistd.h>\n#endif\n", 0),
        "cli/notwin.cpp": ("#ifndef Q_OS_WIN\n#include <termios.h>\n#endif\n", 0),
        "cli/elseunix.cpp": ("#ifdef Q_OS_UNIX\n#else\n#include <unistd.h>\n#endif\n", 1),
        "cli/other.cpp": ("#if KZ_DEBUG\n#include <fcntl.h>\n#endif\n", 1),
        "cli/fine.cpp": ("#include <csignal>\n#include <QFile>\nfile.isatty2();\nobj.fileno();\n// isatty(1)\n", 0),
        "sim/pty.cpp": ("#include <termios.h>\n", 0),
        "tests/t.cpp": ("#include <unistd.h>\n", 0),
    }
    failed = 0
    with tempfile.TemporaryDirectory() as root:
        for name, (text, _) in cases.items():
            os.makedirs(os.path.join(root, os.path.dirname(name)), exist_ok=True)
            with open(os.path.join(root, name), "w") as fh:
                fh.write(text)
        found = check_tree(root)
    for name, (_, expected) in cases.items():
        got = sum(1 for p in found if p.startswith(name + ":"))
        if got != expected:
            print(f"self-test: {name}: {got} findings, expected {expected}", file=sys.stderr)
            failed += 1
    print(f"check-portable self-test: {len(cases) - failed} passed, {failed} failed")
    return 1 if failed else 0


def main():
    if sys.argv[1:] == ["--self-test"]:
        return self_test()
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    problems = check_tree(root)
    for p in problems:
        print(p, file=sys.stderr)
    if problems:
        print("POSIX-only interfaces outside sim/, tests/, bench/ and fuzz/: use Qt, or guard"
              " with Q_OS_UNIX", file=sys.stderr)
        return 1
    print("portable sources: no POSIX-only interface outside sim/, tests/, bench/, fuzz/")
    return 0


if __name__ == "__main__":
    sys.exit(main())
