#!/usr/bin/env python3
"""Samples small faults in chosen source folders and tells which ones no test catches.

    tools/mutate/mutate.py src/play src/game --count 40 --seed 1

Each mutation changes one place of one .cpp file: a comparison or logical
operator, an integer constant, true or false, or two adjacent statements
swapped. The tool copies the tracked files of the tree (as they are in the
working tree) into a work folder, builds them there once, then for each
mutation writes the changed file, rebuilds and runs the tests that need no
display and no long soak (ctest -LE "real|soak"). A mutation is caught when a
test fails or times out; one that does not build is left out of the figures.
The survivors are listed with their place, the line as it was and as it was
made. The tree itself is never touched. Not part of the test command: a run
of 40 mutations takes some 20 to 40 minutes on two cores.
"""
import argparse
import os
import random
import re
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", ".."))

# Operator swaps: the operator must stand between blanks, which keeps
# templates, shifts, arrows and includes out.
SWAPS = {
    "==": "!=", "!=": "==",
    "<": "<=", "<=": "<", ">": ">=", ">=": ">",
    "&&": "||", "||": "&&",
}
OPERATOR = re.compile(r"(?<= )(==|!=|<=|>=|<|>|&&|\|\|)(?= )")
INTEGER = re.compile(r"(?<![\w.])(\d+)(?![\w.])")
BOOLEAN = re.compile(r"\b(true|false)\b")
STRING = re.compile(r'"(?:[^"\\]|\\.)*"|\'(?:[^\'\\]|\\.)*\'')
STATEMENT_KEYWORDS = re.compile(r"^\s*(return|break|continue|case|default|if|for|while|do|else|switch|goto)\b")


def code_part(line):
    """The line without its comment, with string and character literals blanked."""
    cut = line.split("//", 1)[0]
    return STRING.sub(lambda m: " " * len(m.group(0)), cut)


def candidates(path):
    """Every mutation of one file: (line index, kind, new line or swapped pair)."""
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    found = []
    in_block_comment = False
    for i, line in enumerate(lines):
        stripped = line.strip()
        if in_block_comment:
            if "*/" in stripped:
                in_block_comment = False
            continue
        if stripped.startswith("/*"):
            in_block_comment = "*/" not in stripped
            continue
        if stripped.startswith(("#", "//")) or not stripped:
            continue
        code = code_part(line)
        for m in OPERATOR.finditer(code):
            new = line[:m.start()] + SWAPS[m.group(1)] + line[m.end():]
            found.append((i, "operator", new))
        for m in INTEGER.finditer(code):
            value = int(m.group(1))
            new_value = 1 if value == 0 else value + 1
            new = line[:m.start()] + str(new_value) + line[m.end():]
            found.append((i, "constant", new))
        for m in BOOLEAN.finditer(code):
            new = line[:m.start()] + ("false" if m.group(1) == "true" else "true") + line[m.end():]
            found.append((i, "boolean", new))
        # Two statements of one block in a row, each a whole line.
        if i + 1 < len(lines):
            a, b = lines[i], lines[i + 1]
            indent_a = len(a) - len(a.lstrip())
            indent_b = len(b) - len(b.lstrip())
            simple = all(
                s.rstrip().endswith(";") and not STATEMENT_KEYWORDS.match(s) and "{" not in s and "}" not in s
                and not s.strip().startswith("//")
                for s in (a, b)
            )
            if simple and indent_a == indent_b and a.strip() != b.strip():
                found.append((i, "swap", None))
    return lines, found


def run(cmd, cwd, timeout=None, log=None):
    try:
        r = subprocess.run(cmd, cwd=cwd, shell=True, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                           text=True, timeout=timeout)
        if log is not None:
            log.append(r.stdout)
        return r.returncode
    except subprocess.TimeoutExpired:
        return "timeout"


def copy_tree(work):
    """The tracked files, as they stand in the working tree, into work/src."""
    src = os.path.join(work, "src")
    files = subprocess.run(["git", "ls-files", "-z"], cwd=ROOT, stdout=subprocess.PIPE, check=True).stdout
    for name in files.decode().split("\0"):
        if not name:
            continue
        source = os.path.join(ROOT, name)
        target = os.path.join(src, name)
        if not os.path.lexists(source):
            continue
        os.makedirs(os.path.dirname(target), exist_ok=True)
        if not (os.path.exists(target) and open(source, "rb").read() == open(target, "rb").read()):
            shutil.copy2(source, target)
    return src


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("folders", nargs="+", help="folders (or .cpp files) of the tree to mutate, e.g. src/play")
    ap.add_argument("--count", type=int, default=40, help="mutations sampled (default 40)")
    ap.add_argument("--seed", type=int, default=1, help="seed of the sample (default 1)")
    ap.add_argument("--work", default="/tmp/sw-mutate", help="work folder (kept, so a later run builds less)")
    ap.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    ap.add_argument("--test-timeout", type=int, default=300, help="seconds for one test run")
    ap.add_argument("--exclude", default="real|soak", help="ctest labels left out (default real|soak)")
    ap.add_argument("--list", action="store_true", help="only list the sample, build and test nothing")
    ap.add_argument("--only", default="", help="only these numbers of the sample (e.g. 3,7,12): to test an earlier "
                    "run's survivors again with other tests")
    args = ap.parse_args()

    sites = []
    for folder in args.folders:
        base = os.path.join(ROOT, folder)
        if os.path.isfile(base) and base.endswith(".cpp"):
            _, found = candidates(base)
            sites += [(os.path.relpath(base, ROOT), i, kind, new) for (i, kind, new) in found]
            continue
        if not os.path.isdir(base):
            sys.exit(f"mutate: no folder {folder}")
        for dirpath, _, names in os.walk(base):
            for name in sorted(names):
                if name.endswith(".cpp"):
                    rel = os.path.relpath(os.path.join(dirpath, name), ROOT)
                    _, found = candidates(os.path.join(ROOT, rel))
                    sites += [(rel, i, kind, new) for (i, kind, new) in found]
    sites.sort(key=lambda s: (s[0], s[1], s[2], s[3] or ""))
    rng = random.Random(args.seed)
    sample = rng.sample(sites, min(args.count, len(sites)))
    print(f"{len(sites)} possible mutations in {', '.join(args.folders)}; {len(sample)} sampled (seed {args.seed})",
          flush=True)
    if args.list:
        for rel, i, kind, new in sample:
            print(f"  {rel}:{i + 1} {kind}: {(new or '(swap with the next line)').strip()}")
        return 0

    src = copy_tree(args.work)
    build = os.path.join(args.work, "build")
    configure = f'cmake -S "{src}" -B "{build}" -DCMAKE_BUILD_TYPE=RelWithDebInfo'
    make = f'cmake --build "{build}" -j {args.jobs}'
    test = f'ctest --test-dir "{build}" -j {args.jobs} -LE "{args.exclude}" --stop-on-failure --timeout 120'
    log = []
    if run(configure, src, log=log) != 0 or run(make, src, log=log) != 0:
        print("".join(log[-2:])[-4000:])
        sys.exit("mutate: the unmutated tree does not build")
    if run(test, src, timeout=args.test_timeout) != 0:
        sys.exit("mutate: a test fails on the unmutated tree")

    caught, survivors, unbuilt = 0, [], 0
    started = time.time()
    only = {int(x) for x in args.only.split(",") if x.strip()}
    for n, (rel, i, kind, new) in enumerate(sample, 1):
        if only and n not in only:
            continue
        path = os.path.join(src, rel)
        with open(path, encoding="utf-8") as f:
            original = f.read()
        lines = original.split("\n")
        was = lines[i]
        if kind == "swap":
            lines[i], lines[i + 1] = lines[i + 1], lines[i]
            made = f"{lines[i].strip()}  <->  {lines[i + 1].strip()}"
        else:
            lines[i] = new
            made = new.strip()
        try:
            with open(path, "w", encoding="utf-8") as f:
                f.write("\n".join(lines))
            if run(make, src) != 0:
                verdict = "does not build"
                unbuilt += 1
            else:
                status = run(test, src, timeout=args.test_timeout)
                verdict = "survived" if status == 0 else "caught"
                if verdict == "caught":
                    caught += 1
                else:
                    survivors.append((rel, i + 1, kind, was.strip(), made))
        finally:
            with open(path, "w", encoding="utf-8") as f:
                f.write(original)
        print(f"[{n}/{len(sample)}] {verdict}: {rel}:{i + 1} {kind}: {made}", flush=True)
    run(make, src)  # leave the work tree built as it was

    tried = caught + len(survivors)
    share = 100.0 * caught / tried if tried else 0.0
    print(f"\n{caught} of {tried} caught ({share:.0f} %); {unbuilt} did not build; "
          f"{time.time() - started:.0f} s")
    for rel, line, kind, was, made in survivors:
        print(f"SURVIVED {rel}:{line} {kind}\n    was:  {was}\n    made: {made}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
