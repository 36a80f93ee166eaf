#!/usr/bin/env python3
"""Mutation testing for the library, the runtime and the host.

Applies one small fault at a time to a copy of the tree (relational operator flipped,
`+ 1`/`- 1` swapped, `&&`/`||` swapped, an `if` condition negated, a statement removed),
rebuilds incrementally, runs the test suite and stops at its first failure. A mutant the
suite fails on is killed; one it passes survives. A mutant that does not compile counts for
neither side.

The copy lives under the work folder (build/mutate by default), so the working tree stays
free to edit while a run goes on. The sample is drawn with a seed from every site in the
sources, in a fixed order; `--save` writes it out and `--replay` runs the same mutants again
later, found by their line's text, so that a change to the tests can be measured against
the same faults.
"""
import argparse
import json
import os
import random
import re
import shutil
import subprocess
import sys
import time

SOURCE_DIRS = ["runtime/src", "frame", "button", "scrollbar", "tabcontrol", "menu", "host"]

# Binary operators written with a space on each side, so that template brackets,
# shifts and arrows stay out of reach.
SWAPS = [
    ("rel", " <= ", " < "), ("rel", " < ", " <= "),
    ("rel", " >= ", " > "), ("rel", " > ", " >= "),
    ("rel", " == ", " != "), ("rel", " != ", " == "),
    ("arith", " + 1", " - 1"), ("arith", " - 1", " + 1"),
    ("logic", " && ", " || "), ("logic", " || ", " && "),
]
ASSIGNMENT_OR_CALL = re.compile(
    r"^\s*(?:[A-Za-z_]\w*(?:\.|->|::))*[A-Za-z_]\w*(?:\[[^\]]*\])?\s*"
    r"(?:=[^=]|\+=|-=|\|=|&=|\+\+|--|\()")
KEYWORDS = re.compile(r"^\s*(?:return|if|for|while|switch|case|else|do|break|continue|goto|"
                      r"delete|throw|static_assert|using|typedef|template|sizeof)\b")


def code_part(line):
    """The line without its // comment and with string and char literals blanked."""
    out, i, quote = [], 0, None
    while i < len(line):
        c = line[i]
        if quote:
            if c == "\\":
                out.append("  ")
                i += 2
                continue
            if c == quote:
                quote = None
            out.append(c if quote is None else " ")
        elif c in "\"'":
            quote = c
            out.append(c)
        elif line.startswith("//", i) or line.startswith("/*", i):
            break
        else:
            out.append(c)
        i += 1
    return "".join(out)


def matching_paren(text, open_at):
    depth = 0
    for i in range(open_at, len(text)):
        if text[i] == "(":
            depth += 1
        elif text[i] == ")":
            depth -= 1
            if depth == 0:
                return i
    return -1


def sites_in_line(line, starts_statement=True):
    """Yields (kind, col, old, new) for every mutation the line offers."""
    code = code_part(line)
    stripped = code.strip()
    if not stripped or stripped.startswith("#") or stripped.startswith("*"):
        return
    taken = set()
    for kind, old, new in SWAPS:
        start = 0
        while True:
            col = code.find(old, start)
            if col < 0:
                break
            start = col + 1
            if col in taken:
                continue
            if kind == "arith" and col + len(old) < len(code) and code[col + len(old)].isalnum():
                continue  # + 10, - 1.5f: another number
            taken.add(col)
            yield kind, col, old, new
    m = re.search(r"\bif \(", code)
    if m:
        open_at = m.end() - 1
        close = matching_paren(code, open_at)
        if close > 0:
            cond = line[open_at + 1:close]
            yield "negate", open_at, "(" + cond + ")", "(!(" + cond + "))"
    if (starts_statement and stripped.endswith(";") and ASSIGNMENT_OR_CALL.match(code) and not KEYWORDS.match(code)
            and code.count("(") == code.count(")")):
        indent = len(line) - len(line.lstrip())
        yield "remove", indent, line.strip(), ";"


def collect_sites(root):
    sites = []
    for d in SOURCE_DIRS:
        for dirpath, _, files in os.walk(os.path.join(root, d)):
            for name in sorted(files):
                if not name.endswith(".cpp"):
                    continue
                path = os.path.relpath(os.path.join(dirpath, name), root)
                with open(os.path.join(root, path), encoding="utf-8") as f:
                    lines = f.read().split("\n")
                in_block_comment = False
                previous = ";"
                for n, line in enumerate(lines, 1):
                    if in_block_comment:
                        if "*/" in line:
                            in_block_comment = False
                        continue
                    if line.lstrip().startswith("/*") and "*/" not in line:
                        in_block_comment = True
                        continue
                    # A line continuing an expression is no statement of its own.
                    starts = previous[-1:] in (";", "{", "}", ":")
                    code = code_part(line).strip()
                    if code:
                        previous = code
                    for kind, col, old, new in sites_in_line(line, starts):
                        sites.append({"file": path, "line": n, "col": col, "kind": kind,
                                      "old": old, "new": new, "text": line})
    sites.sort(key=lambda s: (s["file"], s["line"], s["col"], s["kind"]))
    return sites


def apply(site, lines):
    """The file's lines with the mutant applied, or None when its line is gone."""
    candidates = [i for i, l in enumerate(lines) if l == site["text"]]
    if not candidates:
        return None
    i = min(candidates, key=lambda c: abs(c - (site["line"] - 1)))
    line = lines[i]
    col = site["col"]
    if line[col:col + len(site["old"])] != site["old"]:
        return None
    mutated = list(lines)
    mutated[i] = line[:col] + site["new"] + line[col + len(site["old"]):]
    return mutated, i + 1


def run(cmd, cwd=None, timeout=None):
    try:
        p = subprocess.run(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                           timeout=timeout)
        return p.returncode, p.stdout.decode(errors="replace")
    except subprocess.TimeoutExpired:
        return None, "timeout"


def prepare_copy(repo, work, rev):
    """Brings the copy up to the working tree's tracked files, or to a commit's."""
    tree = os.path.join(work, "tree")
    build = os.path.join(work, "build")
    source = repo
    if rev:
        source = os.path.join(work, "rev")
        shutil.rmtree(source, ignore_errors=True)
        os.makedirs(source)
        archive = subprocess.run(["git", "archive", rev], cwd=repo, stdout=subprocess.PIPE, check=True)
        subprocess.run(["tar", "-x", "-C", source], input=archive.stdout, check=True)
        wanted = set(os.path.relpath(os.path.join(d, n), source)
                     for d, _, names in os.walk(source) for n in names)
    else:
        files = subprocess.run(["git", "ls-files", "-z"], cwd=repo, stdout=subprocess.PIPE,
                               check=True).stdout.decode().split("\0")
        wanted = set(f for f in files if f and os.path.isfile(os.path.join(repo, f)))
    for f in wanted:
        src, dst = os.path.join(source, f), os.path.join(tree, f)
        os.makedirs(os.path.dirname(dst), exist_ok=True)
        # Copy only what differs, so that an earlier build of the copy stays valid.
        if not os.path.exists(dst) or open(src, "rb").read() != open(dst, "rb").read():
            shutil.copy2(src, dst)
    for dirpath, _, names in os.walk(tree):
        for name in names:
            rel = os.path.relpath(os.path.join(dirpath, name), tree)
            if rel not in wanted:
                os.remove(os.path.join(dirpath, name))
    env_launcher = ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache", "-DCMAKE_C_COMPILER_LAUNCHER=ccache"]
    if shutil.which("ccache") is None:
        env_launcher = []
    # A mutant in a shared library relinks that library alone, not every program using it.
    rc, out = run(["cmake", "-S", tree, "-B", build, "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                   "-DCMAKE_LINK_DEPENDS_NO_SHARED=ON"] + env_launcher)
    if rc != 0:
        sys.exit("mutate: configure failed\n" + out[-3000:])
    return tree, build


# The test program of a source's own area: it runs first, alone, so that most mutants are
# killed after building one program instead of all of them.
AREA_TESTS = {"runtime/src/res": "menu_runtime", "runtime/src/menu": "menu_runtime"}


def own_test(path):
    parts = path.split("/")
    area = "/".join(parts[:3]) if parts[0] == "runtime" else parts[0]
    return AREA_TESTS.get(area, parts[2] if parts[0] == "runtime" else parts[0])


def killers(out):
    """The ctest entries and GoogleTest cases that failed, from ctest's --output-on-failure log."""
    names = re.findall(r"^\[  FAILED  \] ([\w/]+\.[\w/]+)", out, re.M)  # not "[  FAILED  ] 2 tests, ..."
    names += ["ctest:" + n for n in re.findall(r"^\s*\d+ - (\S+) \(", out, re.M)]
    return sorted(set(names))


def build_and_test(build, jobs, timeout, first=None, build_timeout=1800, tests=None, matrix=False):
    if matrix:  # every test runs, so that each mutant lists everything that catches it
        rc, out = run(["cmake", "--build", build, "-j", str(jobs)], timeout=build_timeout)
        if rc != 0:
            return "uncompilable", out
        rc, out = run(["ctest", "--test-dir", build, "-j", str(jobs), "--output-on-failure",
                       "--timeout", str(timeout)] + (["-R", tests] if tests else []), timeout=timeout * 4)
        return ("survived" if rc == 0 else "killed"), out
    if first and not tests:
        rc, out = run(["cmake", "--build", build, "-j", str(jobs), "--target", "test_" + first],
                      timeout=1800)
        if rc != 0:
            return "uncompilable", out
        rc, out = run(["ctest", "--test-dir", build, "-R", "^" + first + "$",
                       "--timeout", str(timeout)], timeout=timeout * 2)
        if rc is None or rc != 0:
            return "killed", out
    rc, out = run(["cmake", "--build", build, "-j", str(jobs)], timeout=build_timeout)
    if rc != 0:
        return "uncompilable", out
    rc, out = run(["ctest", "--test-dir", build, "--stop-on-failure", "-j", str(jobs),
                   "--timeout", str(timeout)] + (["-R", tests] if tests else []), timeout=timeout * 4)
    if rc is None or rc != 0:
        return "killed", out
    return "survived", out


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--seed", type=int, default=17, help="seed of the sample (default 17)")
    ap.add_argument("--sample", type=int, default=60, help="mutants to run (default 60)")
    ap.add_argument("--full", action="store_true", help="every site, not a sample")
    ap.add_argument("--list", action="store_true", help="print the sample and stop")
    ap.add_argument("--save", help="write the sample (JSON) to this file")
    ap.add_argument("--replay", help="run the mutants of a file written by --save")
    ap.add_argument("--work", default="build/mutate", help="work folder (default build/mutate)")
    ap.add_argument("--rev", help="mutate this commit's tree instead of the working tree")
    ap.add_argument("--in-place", metavar="BUILD_DIR",
                    help="mutate the working tree itself and build in this (configured) folder; "
                         "each file is put back after its mutant, so leave the tree alone meanwhile")
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--timeout", type=int, default=300, help="seconds per test program")
    ap.add_argument("--report", help="write the results (JSON) to this file")
    ap.add_argument("--only", action="append", metavar="PATH",
                    help="draw only from sources under this folder (repeatable), e.g. --only menu")
    ap.add_argument("--tests", metavar="REGEX",
                    help="run only the ctest entries matching REGEX (ctest -R), to see what "
                         "some test folders catch alone, e.g. --tests '^(soak_short|reliability)$'")
    ap.add_argument("--matrix", action="store_true",
                    help="run every test for every mutant and list in the report which ctest entries "
                         "and GoogleTest cases catch it (to see what a trimmed suite would still catch)")
    args = ap.parse_args()

    repo = subprocess.run(["git", "rev-parse", "--show-toplevel"], stdout=subprocess.PIPE,
                          check=True).stdout.decode().strip()
    work = os.path.abspath(args.work)
    if args.replay:
        with open(args.replay) as f:
            sample = json.load(f)
    else:
        sites = collect_sites(repo if args.in_place else prepare_copy(repo, work, args.rev)[0])
        if args.only:
            prefixes = [p.rstrip("/") + "/" for p in args.only]
            sites = [s for s in sites if any(s["file"].startswith(p) for p in prefixes)]
        if args.full:
            sample = sites
        else:
            sample = random.Random(args.seed).sample(sites, min(args.sample, len(sites)))
            sample.sort(key=lambda s: (s["file"], s["line"], s["col"]))
        print(f"mutate: {len(sites)} sites, running {len(sample)} (seed {args.seed})")
    if args.save:
        with open(args.save, "w") as f:
            json.dump(sample, f, indent=1)
    if args.list:
        for s in sample:
            print(f'{s["file"]}:{s["line"]} {s["kind"]}: {s["old"].strip()} -> {s["new"].strip()}')
        return

    if args.in_place:
        tree, build = repo, os.path.abspath(args.in_place)
    else:
        tree, build = prepare_copy(repo, work, args.rev)
    # The first build of the copy is a whole build: no time limit.
    state, out = build_and_test(build, args.jobs, args.timeout, build_timeout=None,
                                tests=args.tests)
    if state != "survived":
        sys.exit("mutate: the unmutated tree does not build and pass its tests\n" + out[-3000:])

    results = []
    started = time.time()
    for k, site in enumerate(sample, 1):
        path = os.path.join(tree, site["file"])
        original = None
        if os.path.exists(path):  # a file removed since the sample was drawn: its mutants are gone
            with open(path, encoding="utf-8") as f:
                original = f.read()
        applied = apply(site, original.split("\n")) if original is not None else None
        if applied is None:
            state, line = "gone", site["line"]
        else:
            mutated, line = applied
            with open(path, "w", encoding="utf-8") as f:
                f.write("\n".join(mutated))
            try:
                state, out = build_and_test(build, args.jobs, args.timeout, own_test(site["file"]),
                                            tests=args.tests, matrix=args.matrix)
            finally:
                with open(path, "w", encoding="utf-8") as f:
                    f.write(original)
        row = dict(site, state=state, at=line)
        if args.matrix and state == "killed":
            row["killers"] = killers(out)
        results.append(row)
        print(f'[{k}/{len(sample)}] {state:12} {site["file"]}:{line} {site["kind"]}: '
              f'{site["old"].strip()} -> {site["new"].strip()}', flush=True)

    killed = sum(r["state"] == "killed" for r in results)
    survived = [r for r in results if r["state"] == "survived"]
    counted = killed + len(survived)
    score = 100.0 * killed / counted if counted else 0.0
    print(f"\nmutate: {killed} killed, {len(survived)} survived, "
          f"{sum(r['state'] == 'uncompilable' for r in results)} did not compile, "
          f"{sum(r['state'] == 'gone' for r in results)} gone; "
          f"score {score:.1f}% ({time.time() - started:.0f} s)")
    for r in survived:
        print(f'  survived {r["file"]}:{r["at"]} {r["kind"]}: {r["old"].strip()} -> {r["new"].strip()}')
    if args.report:
        with open(args.report, "w") as f:
            json.dump({"killed": killed, "survived": len(survived), "score": score,
                       "results": results}, f, indent=1)


if __name__ == "__main__":
    main()
