#!/usr/bin/env python3
"""Figures of the code's structure, to compare a tree before and after a change.

    tools/structure/figures.py [TREE]      (default: this tree)

Prints: the public data members of the largest structs and classes in src/;
the places that catch the exception a program run leaves by; the callback
members (std::function) that classes below the top layer hold, each a place
where a higher layer can be called from a lower one; the accesses to Sound's
buffers from outside src/speech; the ten longest functions; and the
`duplicates` pairs in src/. Heuristic, line-based parsing: it reads the code
as this project writes it (functions at column 0 inside namespace blocks).
"""
import os
import re
import subprocess
import sys

TREE = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", ".."))
SRC = os.path.join(TREE, "src")


def files(exts):
    for root, _, names in os.walk(SRC):
        for n in sorted(names):
            if n.endswith(exts):
                yield os.path.join(root, n)


def rel(p):
    return os.path.relpath(p, TREE)


def strip_comment(line):
    return re.sub(r'"(?:[^"\\]|\\.)*"', '""', line).split("//", 1)[0]


# --- public data members -------------------------------------------------------
def public_fields():
    out = []
    head = re.compile(r"^\s*(struct|class)\s+(\w+)\b[^;]*\{\s*$")
    for path in files((".h",)):
        lines = open(path, encoding="utf-8").read().split("\n")
        i = 0
        while i < len(lines):
            m = head.match(strip_comment(lines[i]))
            if not m:
                i += 1
                continue
            kind, name = m.groups()
            public = kind == "struct"
            depth, count = 1, 0
            i += 1
            while i < len(lines) and depth > 0:
                code = strip_comment(lines[i]).strip()
                if depth == 1:
                    if code in ("public:",):
                        public = True
                    elif code in ("private:", "protected:"):
                        public = False
                    elif public and code.endswith(";") and "(" not in code.split("=")[0] and not re.match(
                            r"(using|friend|typedef|enum|struct|class|static constexpr|template|return|\})\b", code):
                        decl = re.sub(r"\{[^}]*\}", "", code.split("=")[0])
                        decl = re.sub(r"<[^<>]*(<[^<>]*>[^<>]*)*>", "", decl)
                        count += decl.count(",") + 1
                depth += code.count("{") - code.count("}")
                i += 1
            out.append((count, f"{name} ({rel(path)})"))
    out.sort(reverse=True)
    return out


# --- the leave exception --------------------------------------------------------
def catches():
    found = []
    pat = re.compile(r"catch\s*\(\s*(const\s+)?[\w:]*(Terminated|RunEnds|Leave\w*|Left|Quit\w*)\b")
    for path in files((".cpp", ".h")):
        for n, line in enumerate(open(path, encoding="utf-8"), 1):
            if pat.search(line):
                found.append(f"{rel(path)}:{n}")
    return found


# --- callbacks held below the top -------------------------------------------------
LOWER = ("input", "speech", "play", "prompts", "data", "record", "practice", "menu")


def hooks():
    found = []
    member = re.compile(r"^\s*std::function<[^;]*>\s+(\w+)\s*(=[^;]*)?;")
    for path in files((".h",)):
        folder = rel(path).split(os.sep)[1]
        if folder not in LOWER:
            continue
        for n, line in enumerate(open(path, encoding="utf-8"), 1):
            m = member.match(strip_comment(line))
            if m:
                found.append(f"{rel(path)}:{n} {m.group(1)}")
    return found


# --- names used outside the folder that owns them --------------------------------------
def uses_outside(names, owner):
    """Counts uses in src/ of `names` outside the folder `owner`."""
    pat = re.compile(r"\b(" + "|".join(names) + r")\b")
    count, per_file = 0, {}
    for path in files((".cpp", ".h")):
        r = rel(path)
        if r.startswith(os.path.join("src", owner)) or not r.startswith("src"):
            continue
        n = sum(len(pat.findall(strip_comment(l))) for l in open(path, encoding="utf-8"))
        if n:
            per_file[r] = n
            count += n
    return count, per_file


def buffer_accesses():
    return uses_outside(["effectBuffer", "overlayBuffer", "excitementBuffer", "drumsBuffer", "crowdBuffer"], "speech")


def key_state_accesses():
    return uses_outside(["keyCode", "keyChar", "keyTime", "typedAnswer"], "input")


# --- function lengths -----------------------------------------------------------
def functions():
    out = []
    skip = re.compile(r"^(namespace|struct|class|enum|union|using|typedef|template|static_assert|#|//|/\*|\}|extern)")
    for path in files((".cpp",)):
        lines = open(path, encoding="utf-8").read().split("\n")
        i = 0
        while i < len(lines):
            line = lines[i]
            if not line or line[0] in " \t" or skip.match(line) or "(" not in strip_comment(line):
                i += 1
                continue
            # The signature runs until a line ending in '{' (a body) or a ';' (a declaration).
            j, body = i, False
            while j < len(lines):
                code = strip_comment(lines[j]).rstrip()
                if code.endswith(";") and "{" not in code:
                    break
                if "{" in code:
                    body = True
                    break
                j += 1
            if not body:
                i = j + 1
                continue
            depth, k = 0, j
            while k < len(lines):
                code = strip_comment(lines[k])
                code = re.sub(r"'(?:[^'\\]|\\.)'", "''", code)
                depth += code.count("{") - code.count("}")
                if depth <= 0 and k >= j:
                    break
                k += 1
            name = re.search(r"([\w:~]+)\s*\(", strip_comment(line))
            out.append((k - i + 1, f"{name.group(1) if name else '?'} ({rel(path)}:{i + 1})"))
            i = k + 1
    out.sort(reverse=True)
    return out


def main():
    fields = public_fields()
    print("public data members, largest types:")
    for n, what in fields[:3]:
        print(f"  {n:4d}  {what}")
    c = catches()
    print(f"places that catch the leave exception: {len(c)}")
    for p in c:
        print(f"  {p}")
    h = hooks()
    print(f"callback members held below the top layer: {len(h)}")
    for p in h:
        print(f"  {p}")
    count, per_file = buffer_accesses()
    print(f"Sound buffer accesses outside src/speech: {count} in {len(per_file)} files")
    count, per_file = key_state_accesses()
    print(f"key state fields used outside src/input: {count} in {len(per_file)} files")
    fn = functions()
    print("ten longest functions (lines):")
    for n, what in fn[:10]:
        print(f"  {n:4d}  {what}")
    try:
        d = subprocess.run(["duplicates", "--repo", SRC, "--most", "1", "--seconds", "120"], stdout=subprocess.PIPE,
                           text=True, check=False).stdout.split("\n")[0]
        print(f"duplicates in src/: {d}")
    except OSError:
        print("duplicates in src/: (the duplicates tool is not installed)")


if __name__ == "__main__":
    main()
