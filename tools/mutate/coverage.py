#!/usr/bin/env python3
"""Which source lines each test covers, and which tests add no line the others do not.

Runs every GoogleTest case of a clang coverage build alone (plus the soak and the viewer's
end-to-end run as one test each), keeps the non-test source lines each one reaches, and
proposes, largest first, the test cases whose every line stays covered by the tests left.
A proposal is only a place to look: a test that covers nothing new can still be the only
one that checks a value. `mutate.py --matrix` shows which tests catch which mutant.

    cmake -S . -B build/cov -G Ninja -DCMAKE_BUILD_TYPE=Debug \\
          -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \\
          -DCMAKE_C_FLAGS='-fprofile-instr-generate -fcoverage-mapping -O1' \\
          -DCMAKE_CXX_FLAGS='-fprofile-instr-generate -fcoverage-mapping -O1' \\
          -DCMAKE_EXE_LINKER_FLAGS=-fprofile-instr-generate \\
          -DCMAKE_SHARED_LINKER_FLAGS=-fprofile-instr-generate
    cmake --build build/cov
    tools/mutate/coverage.py --build build/cov --keep 'Golden|BadInput'
"""
import argparse
import collections
import glob
import os
import re
import subprocess
from concurrent.futures import ThreadPoolExecutor

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def covered_lines(name, cmd, objects, out):
    """Runs one test with its own profile; returns its covered 'file:line' set (cached in out)."""
    cache = os.path.join(out, name.replace("/", "_") + ".lines")
    if os.path.exists(cache):
        return set(open(cache).read().split())
    raw = os.path.join(out, "raw", name.replace("/", "_") + ".%p.profraw")
    env = dict(os.environ, LLVM_PROFILE_FILE=raw)
    subprocess.run(cmd, cwd=ROOT, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=900)
    raws = glob.glob(raw.replace("%p", "*"))
    lines = set()
    if raws:
        prof = raw.replace(".%p.profraw", ".profdata")
        subprocess.run(["llvm-profdata", "merge", "-sparse", "-o", prof] + raws, check=True)
        args = ["llvm-cov", "export", "-format=lcov", "-instr-profile", prof, objects[0]]
        for o in objects[1:]:
            args += ["-object", o]
        source = None
        for line in subprocess.run(args, capture_output=True, text=True).stdout.splitlines():
            if line.startswith("SF:"):
                rel = os.path.relpath(line[3:], ROOT)
                source = None if rel.startswith(("tests/", "fuzz/", "build/", "..")) else rel
            elif line.startswith("DA:") and source:
                number, count = line[3:].split(",")[:2]
                if int(count) > 0:
                    lines.add(f"{source}:{number}")
        for f in raws + [prof]:
            os.remove(f)
    with open(cache, "w") as f:
        f.write("\n".join(sorted(lines)))
    return lines


def test_sizes():
    """Non-blank lines of each TEST/TEST_F block, by 'Suite.Case', with its file."""
    sizes = {}
    files = subprocess.run(["git", "ls-files", "tests"], cwd=ROOT, capture_output=True, text=True).stdout.split()
    for path in (f for f in files if f.endswith(".cpp") and os.path.exists(os.path.join(ROOT, f))):
        lines = open(os.path.join(ROOT, path)).read().split("\n")
        starts = [(i, m) for i, l in enumerate(lines) for m in [re.match(r"TEST(?:_F)?\((\w+),\s*(\w+)\)", l)] if m]
        for k, (i, m) in enumerate(starts):
            end = starts[k + 1][0] if k + 1 < len(starts) else len(lines)
            sizes[f"{m.group(1)}.{m.group(2)}"] = (path, sum(1 for l in lines[i:end] if l.strip()))
    return sizes


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--build", default="build/cov", help="the coverage build (see above)")
    ap.add_argument("--out", default="build/cov/lines", help="where the per-test line sets are kept")
    ap.add_argument("--keep", default="^$", help="never propose tests whose file or name matches this")
    args = ap.parse_args()
    build = os.path.abspath(args.build)
    os.makedirs(os.path.join(args.out, "raw"), exist_ok=True)
    libraries = glob.glob(os.path.join(build, "**", "*.so"), recursive=True)

    jobs = []
    for exe in sorted(glob.glob(os.path.join(build, "tests", "test_*"))):
        listing = subprocess.run([exe, "--gtest_list_tests"], cwd=ROOT, capture_output=True, text=True).stdout
        suite = None
        for line in listing.splitlines():
            if not line.startswith(" "):
                suite = line.split()[0]
            else:
                case = suite + line.split()[0]
                jobs.append((case, [exe, "--gtest_filter=" + case], [exe] + libraries))
    soak = os.path.join(build, "tests", "kelem_soak")
    jobs.append(("soak_short", [soak, "--events", "2000"], [soak] + libraries))
    kelem, check = os.path.join(build, "tools", "kelem", "kelem"), os.path.join(build, "tests", "e2e", "viewer_e2e_check")
    jobs.append(("viewer_e2e", ["bash", "tests/e2e/viewer_e2e.sh", kelem, check, "skins/default",
                                os.path.join(args.out, "e2e")], [kelem, check] + libraries))
    with ThreadPoolExecutor(os.cpu_count() or 2) as pool:
        cover = dict(zip([j[0] for j in jobs], pool.map(lambda j: covered_lines(*j, args.out), jobs)))
    # A child a test starts with a cleared environment writes its profile here; it is not wanted.
    if os.path.exists(os.path.join(ROOT, "default.profraw")):
        os.remove(os.path.join(ROOT, "default.profraw"))

    sizes = test_sizes()
    keep = re.compile(args.keep)
    count = collections.Counter(line for lines in cover.values() for line in lines)
    candidates = [n for n in cover if n in sizes and not keep.search(sizes[n][0] + " " + n)]
    candidates.sort(key=lambda n: -sizes[n][1])
    proposed = collections.defaultdict(list)
    for name in candidates:
        if all(count[line] > 1 for line in cover[name]):
            for line in cover[name]:
                count[line] -= 1
            proposed[sizes[name][0]].append(name)
    total = 0
    for path, names in sorted(proposed.items()):
        lines = sum(sizes[n][1] for n in names)
        total += lines
        print(f"{lines:5} {path}: " + " ".join(names))
    print(f"{total:5} lines of tests whose every covered line other tests cover too")


if __name__ == "__main__":
    main()
