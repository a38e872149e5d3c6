#!/usr/bin/env python3
"""A small mutation sampler: how much of the library's and the tool's code
the native test suite would notice going wrong.

Usage: mutants.py ROOT N SEED

From the C++ sources of the library (colang/, less the Windows-only files)
and of rlgtool (less its tests) it lists every site of these mutations:
a comparison flipped (== and !=, < and >, <= and >=), a boundary moved (< and
<=, > and >=), an arithmetic or bit operator swapped (+ -, * /, << >>, & |,
+= -=), && and || swapped, an if or while condition negated, an integer
constant made one larger, a statement deleted, return true and return false
swapped. A seeded generator puts the sites in a random order, and the
mutants are tried in that order until N of them have built into code that
differs from the unmutated build: each is applied alone, built incrementally
and run against the whole native suite with a timeout. A mutant the suite
fails (or times out on) is killed; one it passes survives. Mutants that do
not compile, and those whose built code is the same as without them
(code the native build leaves out, or a change the compiler undoes), are
listed apart and not counted.

All of it happens in a copy of the working tree under ROOT/build-mutants/,
brought up to date at each start; the working tree itself is never written,
so an interrupted run leaves nothing behind in it.
"""
import hashlib
import os
import random
import re
import shutil
import subprocess
import sys
import time

SCRATCH = "build-mutants"

# --- the sources and their sites -----------------------------------------------


def source_files(root):
    out = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "colang", "tools/rlgtool"],
                         cwd=root, check=True, capture_output=True, text=True).stdout.split()
    files = []
    for f in sorted(out):
        if not (f.endswith(".cpp") or f.endswith(".h")):
            continue
        if f.startswith("tools/rlgtool/tests/") or f.startswith("colang/platform/win32/"):
            continue
        if os.path.isfile(os.path.join(root, f)):
            files.append(f)
    return files


def code_only(text):
    """The text with comments, string and character literals and
    preprocessor lines blanked out, line breaks and columns kept."""
    out = list(text)
    i, n = 0, len(text)
    line_start = True
    while i < n:
        c = text[i]
        if line_start and c == "#":
            # A preprocessor line, with its continuations.
            while i < n and not (text[i] == "\n" and text[i - 1] != "\\"):
                if text[i] != "\n":
                    out[i] = " "
                i += 1
            continue
        if c == "\n":
            line_start = True
            i += 1
            continue
        if c not in " \t":
            line_start = False
        if text.startswith("//", i):
            while i < n and text[i] != "\n":
                out[i] = " "
                i += 1
            continue
        if text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            for k in range(i, j):
                if text[k] != "\n":
                    out[k] = " "
            i = j
            continue
        if c in "\"'":
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            for k in range(i, min(j + 1, n)):
                out[k] = " "
            i = j + 1
            continue
        i += 1
    return "".join(out)


# Each operator and what it becomes, found with the blanks around it that
# clang-format gives every binary operator and no template bracket, pointer
# or reference. A relational operator has two mutants: flipped and with its
# boundary moved.
OPERATORS = [
    ("==", "!="), ("!=", "=="),
    ("<", ">"), (">", "<"), ("<=", ">="), (">=", "<="),
    ("<", "<="), ("<=", "<"), (">", ">="), (">=", ">"),
    ("&&", "||"), ("||", "&&"),
    ("+", "-"), ("-", "+"), ("*", "/"), ("/", "*"), ("<<", ">>"), (">>", "<<"), ("&", "|"), ("|", "&"),
    ("+=", "-="), ("-=", "+="),
]
NOT_STATEMENTS = ("return", "using", "typedef", "namespace", "template", "case", "default", "class", "struct",
                  "enum", "extern", "static_assert", "friend", "public", "private", "protected", "else", "do")
DECLARATION = re.compile(r"^(?:(?:const|static|constexpr|inline|thread_local|mutable|unsigned|signed)\s+)*"
                         r"[A-Za-z_][\w:]*(?:<[^;=()]*>)?[*&]*\s+[*&]*[A-Za-z_]\w*\s*(?:=|;|\(|\{|\[|,)")
LITERAL = re.compile(r"(?<![\w.])(0[xX][0-9a-fA-F]+|[0-9]+)([uUlL]*)(?![\w.])")


def balanced(s):
    depth = 0
    for c in s:
        if c in "([{":
            depth += 1
        elif c in ")]}":
            depth -= 1
            if depth < 0:
                return False
    return depth == 0


def condition_end(code, start):
    """The index of the parenthesis closing the one at code[start], on the same line, or -1."""
    depth = 0
    for k in range(start, len(code)):
        if code[k] == "(":
            depth += 1
        elif code[k] == ")":
            depth -= 1
            if depth == 0:
                return k
    return -1


def sites_of(path, text):
    """Every mutation site of one file: (path, line, column, start, end, replacement, description),
    line and column counted from 1, start and end the columns (from 0) of the text replaced."""
    sites = []
    code_lines = code_only(text).split("\n")
    previous = ""  # the last line that held code
    for number, code in enumerate(code_lines, 1):
        stripped = code.strip()
        if not stripped:
            continue
        for op, repl in OPERATORS:
            token = " " + op + " "
            for m in re.finditer(re.escape(token), code):
                col = m.start() + 1
                sites.append((path, number, col + 1, col, col + len(op), repl,
                              "'%s' -> '%s'" % (op, repl)))
        for m in re.finditer(r"\b(if|while) \(", code):
            open_at = m.end() - 1
            close_at = condition_end(code, open_at)
            if close_at < 0:
                continue
            sites.append((path, number, open_at + 1, open_at + 1, close_at,
                          None, "negated %s condition" % m.group(1)))
        for m in LITERAL.finditer(code):
            if re.search(r"\)\s*(const\s*)?=\s*$", code[:m.start()]):
                continue  # "= 0" of a pure virtual function
            literal = m.group(0)
            sites.append((path, number, m.start() + 1, m.start(), m.end(), "(%s + 1)" % literal,
                          "constant %s -> %s + 1" % (literal, literal)))
        for value, other in (("true", "false"), ("false", "true")):
            for m in re.finditer(r"\breturn %s;" % value, code):
                start = m.start() + len("return ")
                sites.append((path, number, start + 1, start, start + len(value), other,
                              "return %s -> return %s" % (value, other)))
        # A whole-line statement, not a declaration, after a line that ended one.
        first_word = re.match(r"[A-Za-z_]\w*", stripped)
        if (stripped.endswith(";") and "{" not in stripped and "}" not in stripped and balanced(stripped)
                and not (first_word and first_word.group(0) in NOT_STATEMENTS)
                and not DECLARATION.match(stripped)
                and (previous.endswith((";", "{", "}", ")", ":")) or previous == "else")):
            start = len(code) - len(code.lstrip())
            end = len(code.rstrip())
            sites.append((path, number, start + 1, start, end, "{}", "deleted statement"))
        previous = stripped
    return sites


def mutated(text, site):
    """The file's text with the site's mutation applied."""
    _, number, _, start, end, repl, _ = site
    lines = text.split("\n")
    line = lines[number - 1]
    if repl is None:  # negated condition: start and end are just inside the parentheses
        line = line[:start] + "!(" + line[start:end] + ")" + line[end:]
    else:
        line = line[:start] + repl + line[end:]
    lines[number - 1] = line
    return "\n".join(lines)


# --- the scratch copy and its build ------------------------------------------------


def sync_tree(root, dest):
    """Makes dest a copy of the working tree (tracked and new files), writing
    only files whose contents differ, so that the build there stays incremental."""
    listed = subprocess.run(["git", "ls-files", "-co", "--exclude-standard"], cwd=root, check=True,
                            capture_output=True, text=True).stdout.split("\n")
    keep = set()
    for f in listed:
        src = os.path.join(root, f)
        if not f or not os.path.isfile(src):
            continue
        keep.add(f)
        dst = os.path.join(dest, f)
        with open(src, "rb") as fh:
            data = fh.read()
        try:
            with open(dst, "rb") as fh:
                if fh.read() == data:
                    continue
        except FileNotFoundError:
            os.makedirs(os.path.dirname(dst), exist_ok=True)
        with open(dst, "wb") as fh:
            fh.write(data)
        shutil.copymode(src, dst)
    for dirpath, _, filenames in os.walk(dest):
        for name in filenames:
            rel = os.path.relpath(os.path.join(dirpath, name), dest)
            if rel not in keep:
                os.remove(os.path.join(dirpath, name))


def run(cmd, timeout=None):
    try:
        return subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return -1


def build_digest(build):
    """A digest of what the suite runs: every program, shared library and archive of the build."""
    h = hashlib.sha256()
    for dirpath, dirnames, filenames in os.walk(build):
        dirnames[:] = sorted(d for d in dirnames if d != "CMakeFiles" and not d.endswith("-check"))
        for name in sorted(filenames):
            p = os.path.join(dirpath, name)
            if os.path.islink(p):
                continue
            with open(p, "rb") as fh:
                data = fh.read()
            if data.startswith((b"\x7fELF", b"!<arch>")):
                h.update(p.encode())
                h.update(hashlib.sha256(data).digest())
    return h.hexdigest()


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: mutants.py ROOT N SEED")
    root, count, seed = os.path.abspath(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])
    began = time.monotonic()
    jobs = os.environ.get("JOBS", "2")
    src = os.path.join(root, SCRATCH, "src")
    build = os.path.join(root, SCRATCH, "build")
    os.makedirs(src, exist_ok=True)
    sync_tree(root, src)

    files = source_files(root)
    sites = []
    for f in files:
        with open(os.path.join(src, f), encoding="utf-8") as fh:
            sites.extend(sites_of(f, fh.read()))
    order = random.Random(seed).sample(range(len(sites)), len(sites))

    head = subprocess.run(["git", "rev-parse", "--short", "HEAD"], cwd=root, capture_output=True,
                          text=True).stdout.strip()
    dirty = subprocess.run(["git", "status", "--porcelain"], cwd=root, capture_output=True,
                           text=True).stdout.strip()
    print("mutants: %d of %d sites in %d files, seed %d, tree %s%s" %
          (count, len(sites), len(files), seed, head, " with uncommitted changes" if dirty else ""), flush=True)

    # The build leaves out debug information, so that code the mutant does
    # not change builds to the same bytes.
    if run(["cmake", "-S", src, "-B", build, "-DCOLANG_EXAMPLES=OFF", "-DCOLANG_WERROR=OFF",
            "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -DNDEBUG"]) != 0 or \
            run(["cmake", "--build", build, "-j" + jobs]) != 0:
        sys.exit("mutants: the unmutated tree does not build (in %s)" % build)
    started = time.monotonic()
    if run(["ctest", "--test-dir", build, "-j" + jobs]) != 0:
        sys.exit("mutants: the suite fails without any mutant; run ./dev test")
    timeout = max(60, int(5 * (time.monotonic() - started)))
    baseline = build_digest(build)

    killed, survived, broken, unchanged = [], [], [], []
    done = 0
    try:
        for index in order:
            if done == count:
                break
            site = sites[index]
            path = os.path.join(src, site[0])
            with open(path, encoding="utf-8") as fh:
                original = fh.read()
            name = "%s:%d:%d: %s" % (site[0], site[1], site[2], site[6])
            try:
                with open(path, "w", encoding="utf-8") as fh:
                    fh.write(mutated(original, site))
                if run(["cmake", "--build", build, "-j" + jobs]) != 0:
                    broken.append(name)
                    verdict = "not compiled"
                elif build_digest(build) == baseline:
                    unchanged.append(name)
                    verdict = "code unchanged"
                else:
                    done += 1
                    rc = run(["ctest", "--test-dir", build, "-j" + jobs, "--stop-on-failure",
                              "--timeout", str(timeout)], timeout=20 * timeout)
                    (killed if rc != 0 else survived).append(name)
                    verdict = "killed" if rc != 0 else "SURVIVED"
            finally:
                with open(path, "w", encoding="utf-8") as fh:
                    fh.write(original)
            print("[%d/%d] %-14s %s" % (done, count, verdict, name), file=sys.stderr, flush=True)
    finally:
        # The unmutated build again, for the next run to start from.
        run(["cmake", "--build", build, "-j" + jobs])

    n = len(killed) + len(survived)
    print("killed %d of %d (%.1f%%)" % (len(killed), n, 100.0 * len(killed) / n if n else 0.0))
    if survived:
        print("survivors:")
        for name in survived:
            print("  " + name)
    print("not compiled (not counted): %d" % len(broken))
    for name in broken:
        print("  " + name)
    print("built code unchanged (not counted): %d" % len(unchanged))
    for name in unchanged:
        print("  " + name)
    print("took %d min" % round((time.monotonic() - began) / 60))


if __name__ == "__main__":
    main()
