#!/usr/bin/env python3
"""Mutation testing for the game's code in src/.

Seeds small faults (mutants) into src/, one at a time, in a scratch copy of
the tree, rebuilds incrementally and runs the unit tests of the mutated
module. A mutant the tests notice is killed; one they do not is a survivor,
a hint at a missing test (or an equivalent mutant).

Commands:
  list     [--sample N] [--seed S] [--module M...] [--all] [--verbose]
           candidates and the sample per module; --verbose prints each
           mutant (id, place, original -> mutated)
  run      [--results FILE] [--sample N] [--seed S] [--module M...]
           [--ids ID,...] [--same-as FILE] [--survivors-of FILE] [--redo]
           [--pilot N] [--with-program]
           tries the sampled mutants, appending one CSV row per mutant to
           FILE as it finishes; a second run skips the ids already there,
           so an interrupted run resumes where it stopped
  summary  FILE       per-module table of a result file
  compare  BEFORE AFTER [--overlay]
           per-module scores of two result files and the mutants whose
           outcome changed (matched by id); --overlay when AFTER re-tried
           only some of BEFORE's mutants (--survivors-of)
  killers  FILE... [--who TEST...]
           from results of run --every-test: per test, the mutants only it
           kills, all it kills and its lines (tests that kill nothing only
           they kill are the first to look at when the suite must shrink);
           --who lists a test's mutants with the other tests that kill them
  show     ID [--results FILE]   the mutant's place and its line, mutated

Outcomes: killed (a test failed or crashed), survived (every test passed),
timed out (the tests ran past the time box: 10 x the module's clean run,
at least 60 s), not compiled (the mutant does not build; not counted in the
score). Score = killed / (tried - not compiled).

Mutants: relational (< <= > >=) and equality (== !=) operators swapped,
+ - * / and ++ -- and their compound assignments swapped, && || swapped, an
if/while condition negated, an integer constant +/-1, true/false flipped, a
boolean return value negated, an expression statement or break/continue
removed. Comments, string and character literals, preprocessor lines,
static_assert and logging calls are never mutated.

Mutant ids are a hash of the file, the line's text, the operator and the
occurrence, so they stay the same while the code they touch is unchanged.
The sample is drawn per module in proportion to the module's code lines
(at least --min-per-module each), with a fixed seed, from the candidates in
a fixed order: the same tree and seed give the same mutants.

Files it keeps in build-mutation/ (beside this tree, git-ignored):
  tree/      the scratch copy of the tracked files, mutated in place
  build/     its CMake build (Debug at -O1 without debug information, no
             sanitizers, no benchmarks; ccache when installed)
  content/   the forged archives, when the main build has none
  results.csv  the default result file; last-test.log, last-build.log

Which tests a mutant runs: the ctest tests labelled both "unit" and its
module, each test program run once as a whole (with --gtest_fail_fast); a
program the mutant's build did not relink (nor any tool it runs) is not run
again, as it passed on the clean tree. With --with-program, a mutant the
unit tests miss is tried on the module's "program" tests too (the game
binary run whole: slow), its detail then starting with "program".
After the mutants the restored tree is built and tested once more, a check
that no mutated object was left behind.

Run the full sample in the background, resumable:
  nohup tools/mutate.py run --results build-mutation/before.csv \\
      > build-mutation/before.log 2>&1 &
"""

import argparse
import collections
import csv
import fcntl
import hashlib
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WORK = os.path.join(ROOT, "build-mutation")
TREE = os.path.join(WORK, "tree")
BUILD = os.path.join(WORK, "build")
MODULES = ["platform", "settings", "assets", "maps", "progress", "game", "ui",
           "shell"]
FIELDS = ["id", "module", "file", "line", "operator", "original", "mutated",
          "outcome", "seconds", "detail"]
OUTCOMES = ["killed", "survived", "timed out", "not compiled"]
DEFAULT_SAMPLE = 300
DEFAULT_SEED = 17

# ---------------------------------------------------------------------------
# Finding mutants


def mask_source(text):
    """The text with comments blanked and string/char literal contents
    replaced by spaces (quotes kept), same length and line breaks."""
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            out.append(" " * (j - i))
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j]))
            i = j
        elif c == "R" and text.startswith('R"', i) and (
                i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            m = re.match(r'R"([^(\s]*)\(', text[i:])
            end = text.find(")" + m.group(1) + '"', i) if m else -1
            if not m or end < 0:
                out.append(c)
                i += 1
                continue
            j = end + len(m.group(1)) + 2
            out.append('"' + re.sub(r"[^\n]", " ", text[i + 1:j - 1]) + '"')
            i = j
        elif c == '"' or (c == "'" and not (
                i > 0 and text[i - 1].isalnum() and i + 1 < n
                and text[i + 1].isalnum())):  # 10'000 is a number
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            j = min(j + 1, n)
            out.append(c + " " * (j - i - 2) + c)
            i = j
        else:
            out.append(c)
            i += 1
    return "".join(out)


TOKEN = re.compile(r"""
    (?P<num>(?:0[xX][0-9a-fA-F']+|\d[\d']*|\.\d)[\w'.]*(?:[eEpP][+-]\d+\w*)?)
  | (?P<id>[A-Za-z_]\w*)
  | (?P<str>"[^"\n]*"|'[^'\n]*')
  | (?P<op><<=|>>=|<=>|->\*|\.\.\.|::|->|\+\+|--|<<|>>|<=|>=|==|!=|&&|\|\||
      \+=|-=|\*=|/=|%=|&=|\|=|\^=|[-+*/%<>=!&|^~?:;,.(){}\[\]\#])
  | (?P<ws>\s+)
""", re.X)

LOG_CALL = re.compile(r"\b(WriteLog|WriteLogValue|ReportFailure|"
                      r"ReportAssetFailure|ReportArchiveFailure|LogOnOff|"
                      r"LogLoaded|LogIndent|LogAspect)\s*\(|"
                      r"\bfprintf\s*\(\s*stderr\b|\bstd::cerr\b")
TYPE_WORDS = {"int", "char", "bool", "float", "double", "void", "auto",
              "const", "unsigned", "signed", "long", "short", "size_t",
              "constexpr", "static", "struct", "class", "typename",
              "volatile", "return", "case", "new", "delete", "throw",
              "sizeof", "operator", "template", "else", "do"}
TEMPLATE_INNER = {"id", "num", "ws"}
TEMPLATE_OPS = {"::", ",", "*", "&", "(", ")", "<", ">", ">>", "[", "]"}


def tokens(line):
    toks = []
    for m in TOKEN.finditer(line):
        kind = m.lastgroup
        if kind != "ws":
            toks.append((kind, m.group(), m.start()))
    return toks


def template_brackets(toks):
    """Indexes of tokens that are template angle brackets (skipped)."""
    skip = set()
    for i, (kind, text, _) in enumerate(toks):
        if text != "<" or i == 0 or i in skip:
            continue
        if toks[i - 1][0] != "id":
            continue
        depth, paren, j, inner = 1, 0, i + 1, []
        while j < len(toks) and depth > 0:
            k, t, _ = toks[j]
            if k not in TEMPLATE_INNER and t not in TEMPLATE_OPS:
                break
            if t == "(":
                paren += 1
            elif t == ")":
                paren -= 1
                if paren < 0:
                    break
            elif t == "<":
                depth += 1
                inner.append(j)
            elif t in (">", ">>"):
                depth -= 1 if t == ">" else 2
                inner.append(j)
            j += 1
        if depth <= 0:
            skip.update([i] + inner)
    return skip


def is_operand_end(tok):
    kind, text, _ = tok
    if kind == "num" or kind == "str":
        return True
    if kind == "id":
        return text not in TYPE_WORDS
    return text in (")", "]")


def binary_star_ok(toks, i):
    """A * that multiplies rather than declares or dereferences."""
    prev = toks[i - 1] if i else None
    nxt = toks[i + 1] if i + 1 < len(toks) else None
    if prev is None or nxt is None or not is_operand_end(prev):
        return False
    if nxt[1] in (")", ",", ">", "=", ";", "&", "*"):
        return False
    if prev[0] == "id":
        name = prev[1]
        # Types are CamelCase or *_t; a pointer declaration reads "Type *x".
        if name[0].isupper() and not name.startswith("k") and len(
                name) > 1 and not name.isupper():
            return False
        if name.endswith("_t"):
            return False
        if i >= 2 and toks[i - 2][1] in ("const", "::", "struct"):
            return False
    return True


def find_close(line, start):
    """Index of the parenthesis closing the one before start, or -1."""
    depth = 1
    for j in range(start, len(line)):
        if line[j] == "(":
            depth += 1
        elif line[j] == ")":
            depth -= 1
            if depth == 0:
                return j
    return -1


STATEMENT = re.compile(
    r"^(\s*)((?:\+\+|--)?[A-Za-z_][\w]*(?:(?:\.|->|::)[A-Za-z_]\w*|\[[^\]]*\])*"
    r"\s*(?:\(|(?:=|\+=|-=|\*=|/=|%=|\|=|&=|\^=|<<=|>>=)(?!=)|\+\+|--).*;)\s*$")


def line_mutants(line, masked):
    """(col, op, old, new) for one line of code."""
    found = []
    toks = tokens(masked)
    skip = template_brackets(toks)
    ror = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
    compound = {"+=": "-=", "-=": "+=", "*=": "/=", "/=": "*=", "++": "--",
                "--": "++"}
    def spaced(col, text):
        # Every file is clang-formatted: a binary operator has a blank on
        # both sides (or ends the line), "Type *p", "Type &&r", "-1" and
        # "vector<int>" do not.
        end = col + len(text)
        return col > 0 and masked[col - 1] in " \t" and (
            end >= len(masked.rstrip()) or masked[end] in " \t")

    for i, (kind, text, col) in enumerate(toks):
        prev = toks[i - 1] if i else None
        if prev is not None and prev[1] == "operator":
            continue
        if kind == "op" and text in ("<", ">", "<=", ">=", "==", "!=", "&&",
                                     "||", "+", "-", "*", "/") and \
                not spaced(col, text):
            continue
        if kind == "op" and text in ror and i not in skip:
            if text in ("<", ">") and (prev is None or prev[1] in ("(", ",")):
                continue
            found.append((col, "relational" if text in "<><=>=" and
                          text not in ("==", "!=") else "equality", text,
                          ror[text]))
        elif kind == "op" and text in ("&&", "||"):
            if prev is None or not is_operand_end(prev):
                continue  # an rvalue reference
            found.append((col, "logical", text, "||" if text == "&&" else "&&"))
        elif kind == "op" and text in compound:
            found.append((col, "arithmetic", text, compound[text]))
        elif kind == "op" and text in ("+", "-"):
            if prev is None or not is_operand_end(prev):
                continue  # unary
            if prev[0] == "str" or (i + 1 < len(toks) and
                                    toks[i + 1][0] == "str"):
                continue  # joining text
            found.append((col, "arithmetic", text, "-" if text == "+" else "+"))
        elif kind == "op" and text == "*" and binary_star_ok(toks, i):
            found.append((col, "arithmetic", "*", "/"))
        elif kind == "op" and text == "/" and prev is not None and \
                is_operand_end(prev):
            found.append((col, "arithmetic", "/", "*"))
        elif kind == "num":
            m = re.fullmatch(r"(0[xX][0-9a-fA-F']+|[1-9][\d']*|0)([uUlL]*)",
                             text)
            if not m:
                continue  # floating point or odd
            if prev is not None and prev[1] in ("[",) and i + 1 < len(toks) \
                    and toks[i + 1][1] == "]" and i >= 2 and \
                    toks[i - 2][0] == "id" and i >= 3 and \
                    toks[i - 3][0] == "id":
                continue  # an array's declared size
            digits, suffix = m.group(1), m.group(2)
            value = int(digits.replace("'", ""), 0)
            hexa = digits[:2].lower() == "0x"
            # One mutant per literal, up or down by a fixed coin per place.
            coin = hashlib.sha1(("%s|%d" % (line.strip(), col)).encode())
            v = value + (1 if value == 0 or coin.digest()[0] & 1 else -1)
            found.append((col, "constant", text,
                          (hex(v) if hexa else str(v)) + suffix))
        elif kind == "id" and text in ("true", "false"):
            found.append((col, "boolean", text,
                          "false" if text == "true" else "true"))
        elif kind == "id" and text in ("if", "while") and i + 1 < len(toks) \
                and toks[i + 1][1] == "(":
            start = toks[i + 1][2] + 1
            if masked[start:].startswith("constexpr"):
                continue
            end = find_close(masked, start)
            if end < 0:
                continue  # the condition goes on below
            cond = masked[start:end]
            if not cond.strip() or ";" in cond or re.search(
                    r"(?<![=!<>])=(?!=)", cond):
                continue  # an init-statement or a declaration
            # "while (x)" of a do-while: same text, fine either way.
            found.append((start, "negate", line[start:end],
                          "!(" + line[start:end] + ")"))
    # A whole statement on one line.
    m = STATEMENT.match(masked)
    if m and m.group(2).count("(") == m.group(2).count(")") and \
            not re.match(r"\s*(return|delete|throw|case|default|using|"
                         r"typedef|goto)\b", m.group(2)):
        first = m.group(2)
        col = len(m.group(1))
        found.append((col, "statement", line[col:col + len(first)], "{}"))
    m = re.match(r"^(\s*)(break|continue)\s*;\s*$", masked)
    if m:
        col = len(m.group(1))
        found.append((col, "statement", line[col:col + len(m.group(2)) + 1],
                      "{}"))
    # A boolean-looking return value negated.
    m = re.match(r"^(\s*return\s+)(.*);\s*$", masked)
    if m:
        expr = m.group(2)
        col = len(m.group(1))
        boolish = expr.startswith("!") or any(
            t[1] in ("&&", "||", "==", "!=", "<=", ">=", "<", ">") and
            t[2] >= col and j not in skip for j, t in enumerate(toks))
        if boolish and "?" not in expr and expr.count("(") == expr.count(")"):
            if expr.startswith("!") and re.fullmatch(r"![\w.>:\-\[\]()]+",
                                                     expr):
                found.append((col, "return", line[col:col + len(expr)],
                              line[col + 1:col + len(expr)]))
            elif not (expr.startswith("!") and re.fullmatch(
                    r"!\(.*\)", expr)):
                found.append((col, "return", line[col:col + len(expr)],
                              "!(" + line[col:col + len(expr)] + ")"))
    return found


def file_mutants(path, text):
    """Every candidate mutant of one file, in order of place."""
    masked = mask_source(text)
    lines = text.split("\n")
    mlines = masked.split("\n")
    result = []
    skipping = None  # ")" or ";": inside a logging call or static_assert
    depth = 0
    continued = False  # a preprocessor line ending in a backslash
    for number, (line, mline) in enumerate(zip(lines, mlines), 1):
        stripped = mline.strip()
        if continued or stripped.startswith("#"):
            continued = mline.rstrip().endswith("\\")
            continue
        if skipping is None:
            m = LOG_CALL.search(mline) or re.search(r"\bstatic_assert\b",
                                                    mline)
            if m:
                skipping = ";"
                depth = 0
        if skipping is not None:
            depth += mline.count("(") - mline.count(")")
            if depth <= 0 and ";" in mline:
                skipping = None
            continue
        if not stripped:
            continue
        for col, op, old, new in line_mutants(line, mline):
            assert line[col:col + len(old)] == old, (path, number, old)
            result.append({"file": path, "line": number, "col": col,
                           "operator": op, "original": old, "mutated": new,
                           "text": line})
    return result


def code_lines(text):
    return sum(1 for ln in mask_source(text).split("\n") if ln.strip() and
               not ln.strip().startswith("#"))


def source_files(root=ROOT):
    if root == ROOT:
        out = subprocess.run(["git", "ls-files", "--cached", "--others",
                              "--exclude-standard", "src"], cwd=ROOT,
                             check=True, capture_output=True,
                             text=True).stdout.split()
    else:
        out = [os.path.relpath(os.path.join(d, n), root)
               for d, _, names in os.walk(os.path.join(root, "src"))
               for n in names]
    return sorted(f for f in out if f.endswith((".cpp", ".h")) and
                  os.path.isfile(os.path.join(root, f)) and
                  f != "src/shell/main.cpp")  # only in the binary


def candidates(root=ROOT):
    """All mutants and the code lines per module."""
    muts, sizes = [], collections.Counter()
    for f in source_files(root):
        with open(os.path.join(root, f), encoding="utf-8") as fh:
            text = fh.read()
        module = f.split("/")[1]
        sizes[module] += code_lines(text)
        seen = collections.Counter()
        for m in file_mutants(f, text):
            key = (m["text"].strip(), m["operator"], m["original"],
                   m["mutated"])
            seen[key] += 1
            digest = hashlib.sha1("\n".join(
                [f, *key, str(seen[key])]).encode()).hexdigest()[:10]
            m["id"] = digest
            m["module"] = module
            muts.append(m)
    return muts, sizes


def draw_sample(muts, sizes, total, seed, min_per_module):
    by_module = collections.defaultdict(list)
    for m in muts:
        by_module[m["module"]].append(m)
    modules = [m for m in MODULES if by_module[m]]
    lines = sum(sizes[m] for m in modules)
    quota = {m: total * sizes[m] / lines for m in modules}
    count = {m: int(quota[m]) for m in modules}
    left = total - sum(count.values())
    for m in sorted(modules, key=lambda m: (count[m] - quota[m], m))[:left]:
        count[m] += 1
    chosen = []
    for m in modules:
        pool = sorted(by_module[m], key=lambda x: (x["file"], x["line"],
                                                   x["col"], x["operator"],
                                                   x["mutated"]))
        n = min(len(pool), max(count[m], min_per_module))
        rng = random.Random("%s:%s" % (seed, m))
        chosen += rng.sample(pool, n)
    chosen.sort(key=lambda x: (x["file"], x["line"], x["col"], x["mutated"]))
    return chosen


# ---------------------------------------------------------------------------
# Result files


def read_results(path):
    if not path or not os.path.exists(path):
        return []
    with open(path, newline="", encoding="utf-8") as fh:
        return list(csv.DictReader(fh))


def append_result(path, row):
    new = not os.path.exists(path) or os.path.getsize(path) == 0
    with open(path, "a", newline="", encoding="utf-8") as fh:
        w = csv.DictWriter(fh, FIELDS)
        if new:
            w.writeheader()
        w.writerow({k: row.get(k, "") for k in FIELDS})
        fh.flush()
        os.fsync(fh.fileno())


def latest(rows):
    """The last row per id (a redo appends a newer one)."""
    out = collections.OrderedDict()
    for r in rows:
        out[r["id"]] = r
    return out


def tally(rows):
    t = collections.defaultdict(collections.Counter)
    for r in rows:
        t[r["module"]][r["outcome"]] += 1
        t[r["module"]]["tried"] += 1
    return t


def score(c):
    judged = c["tried"] - c["not compiled"]
    return c["killed"] / judged if judged else None


def fmt_score(s):
    return "—" if s is None else "%.0f %%" % (100 * s)


def summary_table(rows):
    t = tally(rows)
    total = collections.Counter()
    out = ["| Module | Tried | Killed | Survived | Timed out | Not compiled "
           "| Score |", "| --- | ---: | ---: | ---: | ---: | ---: | ---: |"]
    for m in MODULES + sorted(set(t) - set(MODULES)):
        if m not in t:
            continue
        c = t[m]
        total.update(c)
        out.append("| %s | %d | %d | %d | %d | %d | %s |" % (
            m, c["tried"], c["killed"], c["survived"], c["timed out"],
            c["not compiled"], fmt_score(score(c))))
    out.append("| all | %d | %d | %d | %d | %d | %s |" % (
        total["tried"], total["killed"], total["survived"],
        total["timed out"], total["not compiled"], fmt_score(score(total))))
    return "\n".join(out)


# ---------------------------------------------------------------------------
# The scratch tree and its build


def log(msg):
    print(time.strftime("%H:%M:%S ") + msg, flush=True)


def sync_tree(rev=None):
    """Makes TREE a copy of the working tree's tracked and new files (or of
    commit REV's files), touching only what differs (so the build stays
    incremental)."""
    if rev:
        with tempfile.TemporaryDirectory() as snap:
            archive = subprocess.run(["git", "archive", rev], cwd=ROOT,
                                     check=True, capture_output=True).stdout
            subprocess.run(["tar", "-x", "-C", snap], input=archive,
                           check=True)
            return copy_into_tree(snap, {
                os.path.relpath(os.path.join(d, n), snap)
                for d, _, names in os.walk(snap) for n in names})
    files = subprocess.run(["git", "ls-files", "--cached", "--others",
                            "--exclude-standard"], cwd=ROOT, check=True,
                           capture_output=True, text=True).stdout.split("\n")
    copy_into_tree(ROOT, {f for f in files
                          if f and os.path.isfile(os.path.join(ROOT, f))})


def copy_into_tree(origin, files):
    for f in files:
        src, dst = os.path.join(origin, f), os.path.join(TREE, f)
        if os.path.exists(dst) and not os.path.islink(src):
            with open(src, "rb") as a, open(dst, "rb") as b:
                if a.read() == b.read():
                    continue
        os.makedirs(os.path.dirname(dst), exist_ok=True)
        if os.path.lexists(dst):
            os.remove(dst)
        shutil.copy2(src, dst, follow_symlinks=False)
        os.utime(dst, None, follow_symlinks=False)
    for dirpath, dirnames, filenames in os.walk(TREE):
        for name in filenames:
            rel = os.path.relpath(os.path.join(dirpath, name), TREE)
            if rel not in files:
                os.remove(os.path.join(dirpath, name))


def content_folder(args):
    names = ["Warrenfold.data", "Warrenfold.maps", "Warrenfold.languages"]
    for folder in [args.content_from, os.path.join(ROOT, "build", "game"),
                   os.path.join(WORK, "content", "game")]:
        if folder and all(os.path.isfile(os.path.join(folder, n))
                          for n in names):
            return os.path.abspath(folder)
    # Forge once from the pristine tree; the mutated build only copies.
    log("forging the content into build-mutation/content (once)")
    subprocess.run(["cmake", "-S", TREE, "-B", os.path.join(WORK, "content"),
                    "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                    "-DWARRENFOLD_TESTS=OFF", "-DWARRENFOLD_BENCH=OFF"],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(nice(["cmake", "--build", os.path.join(WORK, "content"),
                         "-j", str(args.jobs), "--target", "content"]),
                   check=True)
    return os.path.join(WORK, "content", "game")


def nice(cmd):
    return ["nice", "-n", "10"] + cmd if shutil.which("nice") else cmd


def configure(args):
    content = content_folder(args)
    cmd = ["cmake", "-S", TREE, "-B", BUILD, "-G", "Ninja",
           "-DCMAKE_BUILD_TYPE=Debug", "-DCMAKE_CXX_FLAGS_DEBUG=-O1",
           "-DCMAKE_C_FLAGS_DEBUG=-O1", "-DWARRENFOLD_SANITIZE=OFF",
           "-DWARRENFOLD_BENCH=OFF", "-DWARRENFOLD_TESTS=ON",
           "-DWARRENFOLD_CONTENT_FROM=" + content,
           # Tests are listed when ctest reads them, not after each link: a
           # mutant that crashes the listing is killed, not "not compiled".
           "-DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST"]
    if shutil.which("ccache"):
        cmd += ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache",
                "-DCMAKE_C_COMPILER_LAUNCHER=ccache"]
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL)


def build(targets, args):
    """True when the targets build. The log goes to last-build.log."""
    with open(os.path.join(WORK, "last-build.log"), "w") as out:
        try:
            r = subprocess.run(nice(["ninja", "-C", BUILD, "-j",
                                     str(args.jobs)] + targets), stdout=out,
                               stderr=subprocess.STDOUT,
                               timeout=args.build_timeout)
        except subprocess.TimeoutExpired:
            return False
    return r.returncode == 0


def test_programs(module, kind="unit"):
    """The test programs labelled with kind and this module:
    [(target, command, working folder)]."""
    out = subprocess.run(["ctest", "--test-dir", BUILD, "-N", "-L",
                          "^%s$" % kind, "-L", "^%s$" % module,
                          "--show-only=json-v1"],
                         check=True, capture_output=True, text=True).stdout
    progs = collections.OrderedDict()
    for t in json.loads(out).get("tests", []):
        exe = t.get("command", [""])[0]
        if not os.path.basename(exe).startswith("tests_"):
            continue  # scripts
        wd = BUILD
        for p in t.get("properties", []):
            if p["name"] == "WORKING_DIRECTORY":
                wd = p["value"]
        progs[exe] = (os.path.basename(exe), [exe, "--gtest_fail_fast",
                                              "--gtest_brief=1"], wd)
    return list(progs.values())


def stamps(programs):
    """Time stamps of the test programs and of the tools they run."""
    paths = [p[1][0] for p in programs]
    tools = os.path.join(BUILD, "tools")
    if os.path.isdir(tools):
        paths += [os.path.join(tools, t) for t in sorted(os.listdir(tools))]
    return {p: os.stat(p).st_mtime_ns for p in paths if os.path.exists(p)}


def changed(programs, before):
    """The programs a build changed: a program that was not relinked, while
    no tool was either, behaves as in the clean run, which passed."""
    after = stamps(programs)
    if any(after.get(p) != t for p, t in before.items()
           if p not in {q[1][0] for q in programs}):
        return programs  # a tool changed: every program may see it
    return [p for p in programs if after.get(p[1][0]) != before.get(p[1][0])]


_GUARD = None


def guarded(cmd):
    """A mutant of the file code may write where the tests only mean to
    look: the tests' obstacles include a link to /dev/zero, and root could
    replace the device itself. As root, each test program runs in a mount
    namespace of its own with /dev read-only."""
    global _GUARD
    if _GUARD is None:
        probe = ["unshare", "--mount", "sh", "-c",
                 "mount --bind /dev /dev && mount -o remount,bind,ro /dev"]
        _GUARD = (os.geteuid() == 0 and shutil.which("unshare") is not None
                  and subprocess.run(probe, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL).returncode
                  == 0)
        if not _GUARD and os.geteuid() == 0:
            log("warning: /dev cannot be made read-only for the tests")
    if not _GUARD:
        return cmd
    return ["unshare", "--mount", "sh", "-c",
            'mount --bind /dev /dev && mount -o remount,bind,ro /dev && '
            'exec "$@"', "guard"] + cmd


def failing_tests(target, text):
    """The tests a program's output names as failed, and the one it was in
    when it crashed or was stopped: ["target:Suite.Test", ...]."""
    failed, running = [], None
    for line in text.splitlines():
        if line.startswith("[ RUN      ] "):
            running = line[13:].strip()
        elif line.startswith(("[       OK ] ", "[  SKIPPED ] ")):
            running = None
        elif line.startswith("[  FAILED  ] ") and "(" in line:
            name = line[13:].split(" (")[0].strip()
            if name not in failed:
                failed.append(name)
            running = None
    if running and running not in failed:
        failed.append(running)
    return ["%s:%s" % (target, t) for t in failed]


def run_tests(programs, limit, every=False):
    """("killed"|"survived"|"timed out", detail, seconds). With every, each
    program runs all its tests and a killed mutant's detail lists every
    test that failed (see failing_tests)."""
    start = time.monotonic()
    logpath = os.path.join(WORK, "last-test.log")
    killers, outcome = [], "survived"
    with open(logpath, "w") as out:
        for target, cmd, wd in programs:
            left = limit - (time.monotonic() - start)
            if left <= 0:
                return "timed out", target, time.monotonic() - start
            if every:
                cmd = [c for c in cmd if c not in ("--gtest_fail_fast",
                                                   "--gtest_brief=1")]
                out.flush()
                mark = out.tell()
            p = subprocess.Popen(guarded(cmd), cwd=wd, stdout=out,
                                 stderr=subprocess.STDOUT,
                                 stdin=subprocess.DEVNULL,
                                 start_new_session=True)
            try:
                rc = p.wait(timeout=left)
            except subprocess.TimeoutExpired:
                os.killpg(p.pid, signal.SIGKILL)
                p.wait()
                if every:
                    # Tests that failed before the one that hung kill the
                    # mutant, as a run stopping at the first failure would.
                    out.flush()
                    with open(logpath, errors="replace") as fh:
                        fh.seek(mark)
                        failed = failing_tests(target, fh.read())
                    if len(failed) > 1 or killers:
                        return "killed", " ".join(killers + failed), \
                            time.monotonic() - start
                return "timed out", target, time.monotonic() - start
            finally:
                try:
                    os.killpg(p.pid, signal.SIGKILL)  # leftover children
                except ProcessLookupError:
                    pass
            if rc != 0:
                why = "signal %d" % -rc if rc < 0 else "exit %d" % rc
                if not every:
                    return "killed", "%s %s" % (target, why), \
                        time.monotonic() - start
                out.flush()
                with open(logpath, errors="replace") as fh:
                    fh.seek(mark)
                    text = fh.read()
                outcome = "killed"
                killers += failing_tests(target, text) or [target + ":" + why]
    return outcome, " ".join(killers), time.monotonic() - start


class Mutation:
    """One mutant written into the scratch tree; restore() puts the
    pristine text back. Each write gets a newer time stamp than the last
    build saw, so the build never mistakes one version for another."""

    def __init__(self):
        self.pristine = {}

    def write(self, rel, text):
        path = os.path.join(TREE, rel)
        before = os.stat(path).st_mtime_ns
        with open(path, "w", encoding="utf-8") as fh:
            fh.write(text)
        now = max(time.time_ns(), before + 1_000_000)
        os.utime(path, ns=(now, now))

    def apply(self, m):
        rel = m["file"]
        if rel not in self.pristine:
            with open(os.path.join(TREE, rel), encoding="utf-8") as fh:
                self.pristine[rel] = fh.read()
        lines = self.pristine[rel].split("\n")
        line = lines[m["line"] - 1]
        col = m["col"]
        if line[col:col + len(m["original"])] != m["original"]:
            raise RuntimeError("mutant %s does not match its line" % m["id"])
        lines[m["line"] - 1] = line[:col] + m["mutated"] + \
            line[col + len(m["original"]):]
        self.write(rel, "\n".join(lines))

    def restore(self):
        for rel, text in self.pristine.items():
            self.write(rel, text)
        self.pristine.clear()


# ---------------------------------------------------------------------------
# Commands


def moved_mutants(args, missing, muts):
    """The mutants of --same-as whose code has moved to another file or
    line since commit --moved-from: the same line of code (its text, found
    once in the same module), the same operator, the same change. They keep the id they had there, so
    the two results compare row by row."""
    rows = latest(read_results(args.same_as))
    by_key = collections.defaultdict(list)
    for m in muts:
        by_key[(m["module"], m["text"].strip(), m["operator"], m["original"],
                m["mutated"])].append(m)
    taken, out, cache = set(), [], {}
    for old_id in sorted(missing):
        r = rows[old_id]
        if r["file"] not in cache:
            shown = subprocess.run(
                ["git", "show", "%s:%s" % (args.moved_from, r["file"])],
                cwd=ROOT, capture_output=True, text=True)
            cache[r["file"]] = shown.stdout.split("\n")
        lines = cache[r["file"]]
        n = int(r["line"])
        if not 0 < n <= len(lines):
            continue
        key = (r["module"], lines[n - 1].strip(), r["operator"],
               r["original"], r["mutated"])
        # Only a line of code found once in its module is the same line: a
        # "break;" could be any.
        found = by_key.get(key, [])
        if len(found) == 1 and id(found[0]) not in taken:
            taken.add(id(found[0]))
            out.append(dict(found[0], id=old_id))
    log("%d of %d moved mutants found again by their code" % (
        len(out), len(missing)))
    return out


def pick(args, muts, sizes):
    if args.ids or args.same_as or args.survivors_of:
        want = set()
        if args.ids:
            want |= set(args.ids.split(","))
        if args.same_as:
            want |= set(latest(read_results(args.same_as)))
        if args.survivors_of:
            want |= {i for i, r in latest(read_results(
                args.survivors_of)).items() if r["outcome"] == "survived"}
        chosen = [m for m in muts if m["id"] in want]
        missing = want - {m["id"] for m in chosen}
        if missing and args.same_as and getattr(args, "moved_from", None):
            chosen += moved_mutants(args, missing, muts)
            missing -= {m["id"] for m in chosen}
        if missing:
            log("%d ids no longer match the source: %s" % (
                len(missing), " ".join(sorted(missing)[:20])))
        chosen.sort(key=lambda x: (x["file"], x["line"], x["col"]))
    elif getattr(args, "all", False):
        chosen = sorted(muts, key=lambda x: (x["file"], x["line"], x["col"]))
    else:
        chosen = draw_sample(muts, sizes, args.sample, args.seed,
                             args.min_per_module)
    if args.module:
        chosen = [m for m in chosen if m["module"] in args.module]
    if args.pilot and len(chosen) > args.pilot:
        step = len(chosen) / args.pilot
        chosen = [chosen[int(i * step)] for i in range(args.pilot)]
    if args.limit:
        chosen = chosen[:args.limit]
    return chosen


def cmd_list(args):
    muts, sizes = candidates()
    chosen = pick(args, muts, sizes)
    per = collections.Counter(m["module"] for m in muts)
    ops = collections.Counter(m["operator"] for m in chosen)
    picked = collections.Counter(m["module"] for m in chosen)
    print("| Module | Code lines | Candidates | Sample |")
    print("| --- | ---: | ---: | ---: |")
    for mod in MODULES:
        print("| %s | %d | %d | %d |" % (mod, sizes[mod], per[mod],
                                         picked[mod]))
    print("| all | %d | %d | %d |" % (sum(sizes.values()), len(muts),
                                       len(chosen)))
    print("operators in the sample: " + ", ".join(
        "%s %d" % kv for kv in sorted(ops.items())))
    if args.verbose:
        for m in chosen:
            print("%s %s:%d [%s] %s -> %s" % (m["id"], m["file"], m["line"],
                                              m["operator"], m["original"],
                                              m["mutated"]))


def cmd_run(args):
    os.makedirs(WORK, exist_ok=True)
    lock = open(os.path.join(WORK, "lock"), "w")
    try:
        fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
    except OSError:
        sys.exit("another mutation run is using build-mutation/")
    results = os.path.abspath(args.results)
    interrupted = []

    def stop(signum, frame):
        interrupted.append(signum)
        raise KeyboardInterrupt
    signal.signal(signal.SIGTERM, stop)
    os.makedirs(TREE, exist_ok=True)
    sync_tree(args.rev)  # also undoes a mutant left by a killed run
    muts, sizes = candidates(TREE)
    chosen = pick(args, muts, sizes)
    done = set() if args.redo else set(latest(read_results(results)))
    todo = [m for m in chosen if m["id"] not in done]
    log("%d mutants chosen, %d already in %s, %d to try" % (
        len(chosen), len(chosen) - len(todo), results, len(todo)))
    if not todo:
        return
    configure(args)

    # The test programs list their tests (and so their labels) when built.
    listing = subprocess.run(["ninja", "-C", BUILD, "-t", "targets", "all"],
                             check=True, capture_output=True,
                             text=True).stdout
    every = sorted(set(re.findall(r"^(tests_\w+): phony", listing, re.M)))
    log("building the test programs: " + " ".join(every))
    if not build(every, args):
        sys.exit("the unmutated tree does not build; see "
                 "build-mutation/last-build.log")

    # Clean runs: the time box and a check that the tests pass unmutated.
    programs, limits, whole, clean = {}, {}, {}, {}
    for module in sorted({m["module"] for m in todo},
                         key=MODULES.index):
        programs[module] = test_programs(module)
        if not programs[module]:
            sys.exit("no test is labelled unit and %s" % module)
        if not build([p[0] for p in programs[module]], args):
            sys.exit("the unmutated tree does not build")
        # A loaded machine can make a timing-sensitive test fail once: a
        # clean run counts when one of three attempts passes.
        for _ in range(3):
            outcome, detail, secs = run_tests(programs[module], 3600)
            if outcome == "survived":
                break
        if outcome != "survived":
            sys.exit("%s: the unmutated tests fail (%s); see "
                     "build-mutation/last-test.log" % (module, detail))
        limits[module] = max(args.min_timeout, args.timeout_factor * secs)
        log("%s: clean tests %.1f s with %s; time box %.0f s" % (
            module, secs, ", ".join(p[0] for p in programs[module]),
            limits[module]))
        if args.with_program:
            progs = test_programs(module, "program")
            key = tuple(p[0] for p in progs)
            if progs and key not in clean:
                if not build(list(key), args):
                    sys.exit("the unmutated tree does not build")
                outcome, detail, secs = run_tests(progs, 3600)
                if outcome != "survived":
                    sys.exit("%s: the unmutated program tests fail (%s)" % (
                        module, detail))
                clean[key] = secs
                log("%s: clean program tests %.1f s" % (module, secs))
            if progs:
                whole[module] = (progs, max(args.min_timeout,
                                            args.timeout_factor * clean[key]))

    mutation = Mutation()
    try:
        current = None
        for n, m in enumerate(todo, 1):
            if m["file"] != current:
                mutation.restore()
                current = m["file"]
            start = time.monotonic()
            mutation.apply(m)
            module = m["module"]
            before = stamps(programs[module])
            if not build([p[0] for p in programs[module]], args):
                outcome, detail = "not compiled", ""
            else:
                affected = changed(programs[module], before)
                outcome, detail, _ = run_tests(affected, limits[module],
                                               args.every_test)
                if not affected:
                    detail = "no test program links this code"
                if outcome == "survived" and module in whole:
                    progs, limit = whole[module]
                    if not build([p[0] for p in progs], args):
                        outcome, detail = "not compiled", "program"
                    else:
                        outcome, detail, _ = run_tests(progs, limit)
                        detail = "program" + (": " + detail if detail else "")
            secs = time.monotonic() - start
            row = dict(m, outcome=outcome, seconds="%.1f" % secs,
                       detail=detail)
            append_result(results, row)
            log("[%d/%d] %s %s %s:%d %s -> %s (%.0f s)" % (
                n, len(todo), m["id"], outcome.upper(), m["file"],
                m["line"], m["original"], m["mutated"], secs))
    except KeyboardInterrupt:
        log("interrupted; the results so far are in %s" % results)
    finally:
        mutation.restore()
    if not interrupted:
        # The restored tree must pass again: a check on the incremental
        # builds, as a mutant left behind would fail here.
        for module, progs in programs.items():
            ok = build([p[0] for p in progs], args) and \
                run_tests(progs, 3600)[0] == "survived"
            log("%s: restored tree %s" % (
                module, "passes" if ok else "FAILS: the results are suspect"))
    rows = [r for r in latest(read_results(results)).values()
            if r["id"] in {m["id"] for m in chosen}]
    print(summary_table(rows))
    if interrupted:
        sys.exit(1)


def cmd_summary(args):
    rows = list(latest(read_results(args.file)).values())
    if args.module:
        rows = [r for r in rows if r["module"] in args.module]
    print(summary_table(rows))
    if args.survivors:
        for r in rows:
            if r["outcome"] == "survived":
                print("%s %s:%s [%s] %s -> %s" % (
                    r["id"], r["file"], r["line"], r["operator"],
                    r["original"], r["mutated"]))


def cmd_compare(args):
    a = latest(read_results(args.before))
    b = latest(read_results(args.after))
    if args.overlay:
        # AFTER re-ran some of BEFORE (its survivors, say): the rest keep
        # their earlier outcome.
        b = collections.OrderedDict(list(a.items()) + list(b.items()))
    ta, tb = tally(a.values()), tally(b.values())
    print("| Module | Tried | Score before | Score after |")
    print("| --- | ---: | ---: | ---: |")
    for m in MODULES:
        if m in ta or m in tb:
            print("| %s | %d / %d | %s | %s |" % (
                m, ta[m]["tried"], tb[m]["tried"], fmt_score(score(ta[m])),
                fmt_score(score(tb[m]))))
    changed = [(i, a[i]["outcome"], b[i]["outcome"]) for i in a
               if i in b and a[i]["outcome"] != b[i]["outcome"]]
    for i, x, y in changed:
        r = b[i]
        print("%s %s -> %s  %s:%s [%s] %s -> %s" % (
            i, x, y, r["file"], r["line"], r["operator"], r["original"],
            r["mutated"]))
    only_a = sorted(set(a) - set(b))
    only_b = sorted(set(b) - set(a))
    if only_a:
        print("only in %s: %s" % (args.before, " ".join(only_a)))
    if only_b:
        print("only in %s: %s" % (args.after, " ".join(only_b)))


def test_sizes(root=ROOT):
    """{"Suite.Test": (file, counted lines)} for the tests in tests/ and
    forge/*/tests/: a test's lines run to the next test or the file's end."""
    sizes = {}
    for base, dirs, names in os.walk(root):
        rel = os.path.relpath(base, root)
        if rel.startswith(("build", ".git")) or not (
                rel == "tests" or rel.startswith("tests/") or
                "/tests" in "/" + rel and rel.startswith("forge/")):
            continue
        for name in sorted(names):
            if not name.endswith(".cpp"):
                continue
            path = os.path.join(base, name)
            with open(path, encoding="utf-8", errors="replace") as fh:
                lines = fh.read().split("\n")
            starts = [(n, "%s.%s" % (m.group(2), m.group(3)))
                      for n, line in enumerate(lines)
                      for m in [re.match(r"(TEST|TEST_F|TEST_P)\((\w+),\s*(\w+)\)",
                                         line)] if m]
            for j, (n, test) in enumerate(starts):
                end = starts[j + 1][0] if j + 1 < len(starts) else len(lines)
                body = [t for t in lines[n:end]
                        if t.strip() and not t.strip().startswith("//")]
                sizes[test] = (os.path.relpath(path, root), len(body))
    return sizes


def cmd_killers(args):
    """Per test: the mutants only it kills and all it kills, from result
    files written with --every-test."""
    rows = {}
    for f in args.files:
        rows.update(latest(read_results(f)))
    kills = {}
    for i, r in rows.items():
        if r["outcome"] != "killed" or ":" not in r["detail"]:
            continue
        # "program:Suite.Test" or "program:Prefix/Suite.Test/3"
        kills[i] = {re.sub(r"/\d+$", "", k.split(":", 1)[1]).split("/")[-1]
                    for k in r["detail"].split()}
    if args.who:
        for test in args.who:
            print("%s:" % test)
            for i, ks in sorted(kills.items()):
                if test in ks:
                    r = rows[i]
                    print("  %s %s:%s %s -> %s; also %s" % (
                        i, r["file"], r["line"], r["original"][:30],
                        r["mutated"][:30],
                        ", ".join(sorted(ks - {test})) or "no other test"))
        return
    unique, total = collections.Counter(), collections.Counter()
    for ks in kills.values():
        for k in ks:
            total[k] += 1
        if len(ks) == 1:
            unique[next(iter(ks))] += 1
    sizes = test_sizes()
    print("%d killed mutants with their tests, of %d in %s" % (
        len(kills), len(rows), ", ".join(args.files)))
    print("| Unique | Kills | Lines | Test | File |")
    print("| ---: | ---: | ---: | --- | --- |")
    for test, (path, n) in sorted(sizes.items(),
                                  key=lambda t: (-unique[t[0]], -total[t[0]],
                                                 t[0])):
        print("| %d | %d | %d | %s | %s |" % (unique[test], total[test], n,
                                             test, path))


def cmd_show(args):
    muts, _ = candidates()
    for m in muts:
        if m["id"] == args.id:
            line = m["text"]
            col = m["col"]
            print("%s %s:%d [%s]" % (m["id"], m["file"], m["line"],
                                     m["operator"]))
            print("- " + line.strip())
            print("+ " + (line[:col] + m["mutated"] +
                          line[col + len(m["original"]):]).strip())
            return
    sys.exit("no mutant %s in the current source" % args.id)


def main():
    p = argparse.ArgumentParser(
        description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    sub = p.add_subparsers(dest="command", required=True)

    def choice(sp):
        sp.add_argument("--sample", type=int, default=DEFAULT_SAMPLE,
                        help="mutants in the sample (default %(default)s)")
        sp.add_argument("--seed", default=DEFAULT_SEED,
                        help="the sample's seed (default %(default)s)")
        sp.add_argument("--min-per-module", type=int, default=5,
                        help="at least this many per module (default "
                        "%(default)s)")
        sp.add_argument("--module", action="append", choices=MODULES,
                        help="only this module (repeatable)")
        sp.add_argument("--ids", help="only these mutant ids, comma-separated")
        sp.add_argument("--moved-from", metavar="COMMIT",
                        help="with --same-as: the commit its results were made "
                        "on; mutants whose code moved since are found by their "
                        "code")
        sp.add_argument("--same-as", metavar="FILE",
                        help="the mutants of an earlier result file")
        sp.add_argument("--survivors-of", metavar="FILE",
                        help="the survivors of an earlier result file")
        sp.add_argument("--limit", type=int,
                        help="only the first N chosen (in file order)")
        sp.add_argument("--pilot", type=int, metavar="N",
                        help="only N of the chosen, evenly spread")

    sp = sub.add_parser("list", help="candidates and the sample")
    choice(sp)
    sp.add_argument("--all", action="store_true", help="every candidate")
    sp.add_argument("--verbose", "-v", action="store_true")
    sp.set_defaults(func=cmd_list)

    sp = sub.add_parser("run", help="try the chosen mutants")
    choice(sp)
    sp.add_argument("--results", default=os.path.join(WORK, "results.csv"),
                    help="result file, appended to (default "
                    "build-mutation/results.csv)")
    sp.add_argument("--rev", metavar="COMMIT",
                    help="mutate this commit's files instead of the working "
                    "tree (to try the same mutants before and after a change)")
    sp.add_argument("--redo", action="store_true",
                    help="try again mutants already in the result file")
    sp.add_argument("--with-program", action="store_true",
                    help="a mutant the unit tests miss is tried on the "
                    "module's whole-program tests too (detail: program)")
    sp.add_argument("--every-test", action="store_true",
                    help="run every test of the module's programs (no fail "
                    "fast); a killed mutant's detail lists each failing test "
                    "as program:Suite.Test (for the killers command)")
    sp.add_argument("--jobs", "-j", type=int, default=2,
                    help="build jobs (default %(default)s)")
    sp.add_argument("--timeout-factor", type=float, default=10.0,
                    help="time box = this x the module's clean test run "
                    "(default %(default)s)")
    sp.add_argument("--min-timeout", type=float, default=60.0,
                    help="but at least this many seconds (default "
                    "%(default)s)")
    sp.add_argument("--build-timeout", type=float, default=1800.0,
                    help="a build running longer counts as not compiled "
                    "(default %(default)s)")
    sp.add_argument("--content-from", metavar="DIR",
                    help="folder with the three forged archives (default "
                    "build/game, else forged once)")
    sp.set_defaults(func=cmd_run, all=False)

    sp = sub.add_parser("summary", help="per-module table of a result file")
    sp.add_argument("file")
    sp.add_argument("--module", action="append", choices=MODULES)
    sp.add_argument("--survivors", action="store_true",
                    help="also list the survivors")
    sp.set_defaults(func=cmd_summary)

    sp = sub.add_parser("compare", help="two result files side by side")
    sp.add_argument("before")
    sp.add_argument("after")
    sp.add_argument("--overlay", action="store_true",
                    help="AFTER holds only re-tried mutants (e.g. run with "
                    "--survivors-of BEFORE); the others keep BEFORE's outcome")
    sp.set_defaults(func=cmd_compare)

    sp = sub.add_parser("killers", help="which tests kill which mutants "
                        "(result files of run --every-test)")
    sp.add_argument("files", nargs="+")
    sp.add_argument("--who", nargs="+", metavar="SUITE.TEST",
                    help="each mutant these tests kill, with the other "
                    "tests that kill it too")
    sp.set_defaults(func=cmd_killers)

    sp = sub.add_parser("show", help="one mutant")
    sp.add_argument("id")
    sp.set_defaults(func=cmd_show)

    args = p.parse_args()
    try:
        args.func(args)
    except KeyboardInterrupt:
        sys.exit("interrupted")


if __name__ == "__main__":
    main()
