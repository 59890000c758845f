#!/usr/bin/env python3
"""Seeded mutation testing: plants one small fault at a time in the library and runs the tests.

No Debian package does mutation testing for C++, so this stays a short script. It exports the
committed tree (git archive of --rev) into a work folder, builds it once, then for each sampled fault
(a comparison turned, a guard removed, a constant off by one, a boolean or logical operator
flipped) edits one line, rebuilds incrementally, runs the suite with a timeout and restores the
line. A fault is caught when the build of the tests or any test fails.

    scripts/mutate.py [--seed 11] [--count 60] [--work build-mut] [--rev HEAD] [--headers]
                      [--only framework,archive]

The library is built shared and the tests are not relinked against it, so a fault in a source
file costs one compile and one link. Faults in headers rebuild everything; --headers adds them.
"""
import argparse
import pathlib
import random
import re
import subprocess
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent
# The library's folders, as labarc/CMakeLists.txt lists them.
LIBRARY = re.search(r"set\(LABARC_FOLDERS ([^)]*)\)",
                    (ROOT / "labarc" / "CMakeLists.txt").read_text()).group(1).split()
SWAPS = [("<=", "<"), (">=", ">"), ("==", "!="), ("!=", "=="), ("&&", "||"), ("||", "&&"),
         ("true", "false"), ("false", "true"), ("TRUE", "FALSE"), ("FALSE", "TRUE")]
STRING = re.compile(r'"(\\.|[^"\\])*"|\'(\\.|[^\'\\])*\'')


def code_part(line):
    """The line with string and character literals blanked and any // comment dropped."""
    blanked = STRING.sub(lambda m: " " * len(m.group(0)), line)
    cut = blanked.find("//")
    return blanked if cut < 0 else blanked[:cut]


def sites(path, text):
    """Every (line number, original line, mutated line, kind) planted in one source file."""
    found = []
    for number, line in enumerate(text.splitlines(), 1):
        code = code_part(line)
        stripped = code.strip()
        if not stripped or stripped.startswith(("#", "*", "/*", "static_assert")):
            continue
        for old, new in SWAPS:
            for m in re.finditer(re.escape(old) if not old.isalpha() else r"\b%s\b" % old, code):
                s = m.start()
                if old in ("<", ">") or code[s - 1:s] in "<>-" and old[0] in "<>=":
                    continue
                found.append((number, line, line[:s] + new + line[m.end():], "operator"))
        for m in re.finditer(r"(?<![<>=!-])([<>])(?![<>=])", code):
            s = m.start()
            if re.search(r"\b(template|static_cast|reinterpret_cast|const_cast|vector|array|"
                         r"string_view|unique_ptr|optional|pair|set|map|limits|span|function)\s*$",
                         code[:s]) or code[s - 1:s] == " " and code[s + 1:s + 2] != " ":
                continue
            if code[s + 1:s + 2] != " " or code[s - 1:s] != " ":
                continue
            found.append((number, line, line[:s] + m.group(1) + "=" + line[s + 1:], "comparison"))
        for m in re.finditer(r"\bif \(", code):
            depth, end = 0, None
            for i in range(m.end() - 1, len(code)):
                depth += {"(": 1, ")": -1}.get(code[i], 0)
                if depth == 0:
                    end = i
                    break
            if end is not None:
                found.append((number, line, line[:m.end()] + "false" + line[end:], "guard"))
        for m in re.finditer(r"(?<![\w.])(\d+)(?![\w.'])", code):
            value = int(m.group(1))
            new = str(value + 1) if value in (0, 1) or random.random() < 0.5 else str(value - 1)
            found.append((number, line, line[:m.start()] + new + line[m.end():], "constant"))
    return [(path,) + site for site in found]


def run(command, cwd, timeout=None):
    try:
        return subprocess.run(command, cwd=cwd, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return -1


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seed", type=int, default=11)
    parser.add_argument("--count", type=int, default=60)
    parser.add_argument("--work", default="build-mut")
    parser.add_argument("--rev", default="HEAD", help="the commit whose tree is mutated")
    parser.add_argument("--headers", action="store_true", help="plant faults in headers too")
    parser.add_argument("--only", default=",".join(LIBRARY),
                        help="comma-separated library folders to plant faults in")
    args = parser.parse_args()
    root = pathlib.Path(__file__).resolve().parent.parent
    work = (root / args.work).resolve()
    source, build = work / "src", work / "build"
    source.mkdir(parents=True, exist_ok=True)
    archive = subprocess.run(["git", "archive", args.rev], cwd=root, check=True,
                             stdout=subprocess.PIPE).stdout
    subprocess.run(["tar", "-x", "-C", str(source)], input=archive, check=True)
    subprocess.run(["cmake", "-S", str(source), "-B", str(build), "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=Debug", "-DLABARC_BUILD_BENCHMARKS=OFF",
                    "-DLABARC_BUILD_EXAMPLES=OFF", "-DBUILD_SHARED_LIBS=ON",
                    "-DCMAKE_LINK_DEPENDS_NO_SHARED=ON"], check=True, stdout=subprocess.DEVNULL)
    build_cmd = ["cmake", "--build", str(build)]
    test_cmd = ["ctest", "--test-dir", str(build), "-j1", "--timeout", "60", "--stop-on-failure"]
    if run(build_cmd, root) != 0 or run(test_cmd, root) != 0:
        sys.exit("the unmutated tree does not build or pass its tests")

    random.seed(args.seed)
    files = sorted(p for folder in args.only.split(",")
                   for p in (source / "labarc" / folder).rglob("*.[hc]*")
                   if p.suffix == ".cpp" or args.headers and p.suffix == ".h")
    candidates = [s for p in files for s in sites(p, p.read_text())]
    sample = random.sample(candidates, min(args.count, len(candidates)))
    results = {}
    for path, number, original, mutated, kind in sample:
        text = path.read_text()
        lines = text.split("\n")
        lines[number - 1] = mutated
        started = time.time()
        try:
            path.write_text("\n".join(lines))
            if run(build_cmd, root) != 0:
                verdict = "unbuildable"
            else:
                verdict = "caught" if run(test_cmd, root, timeout=900) != 0 else "SURVIVED"
        finally:
            path.write_text(text)
        name = path.relative_to(source)
        results.setdefault(name.parts[0], []).append(verdict)
        print(f"{verdict:11} {name}:{number} [{kind}] {mutated.strip()}  "
              f"({time.time() - started:.0f}s)", flush=True)
    run(build_cmd, root)

    total_caught = total = 0
    for folder, verdicts in sorted(results.items()):
        viable = [v for v in verdicts if v != "unbuildable"]
        caught = viable.count("caught")
        total_caught, total = total_caught + caught, total + len(viable)
        print(f"{folder:10} {caught}/{len(viable)} caught")
    print(f"all        {total_caught}/{total} caught ({100 * total_caught / max(total, 1):.0f}%)")


if __name__ == "__main__":
    main()
