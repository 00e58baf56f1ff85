#!/usr/bin/env python3
"""Runs hand-written mutants against the native unit tests and reports which survive.

Usage: tools/mutation_run.py MUTANTS_FILE [--build DIR] [--target T] [--test CMD]

MUTANTS_FILE holds one mutant a block, blocks separated by a line "---":

    file: launcher/core/launch/launch_rules.cpp
    what: the Z is no longer folded
    from: c <= 'Z'
    to: c < 'Z'
    equivalent: why this change cannot be observed (optional)

A value is one line; "<NL>" in it stands for a line break. `from` must occur
exactly once in the file. Each mutant is applied alone, the target rebuilt and
the test command run; a mutant is caught when the tests fail. A mutant that
does not build is an error of the mutants file, not a catch. The file is
restored after every mutant, also on Ctrl+C.
"""
import argparse
import pathlib
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent


def read_mutants(path):
    mutants = []
    for block in path.read_text(encoding="utf-8").split("\n---\n"):
        fields = {}
        for line in block.strip().splitlines():
            if line.startswith("#") or ":" not in line:
                continue
            key, value = line.split(":", 1)
            fields[key.strip()] = value.strip().replace("<NL>", "\n")
        if fields:
            mutants.append(fields)
    return mutants


def run(command):
    return subprocess.run(command, cwd=ROOT, shell=True, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode == 0


def try_mutant(mutant, build_command, test_command):
    """'caught', 'survived' or an error text."""
    source = ROOT / mutant["file"]
    original = source.read_text(encoding="utf-8")
    if original.count(mutant["from"]) != 1:
        return f"not applied: 'from' occurs {original.count(mutant['from'])} times"
    try:
        source.write_text(original.replace(mutant["from"], mutant["to"]), encoding="utf-8")
        if not run(build_command):
            return "the mutant does not build"
        return "survived" if run(test_command) else "caught"
    finally:
        source.write_text(original, encoding="utf-8")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("mutants", type=pathlib.Path)
    parser.add_argument("--build", default="build/native")
    parser.add_argument("--target", default="talvo_unit_tests")
    parser.add_argument("--test", default=None)
    args = parser.parse_args()
    build_command = f"cmake --build {args.build} --target {args.target}"
    test_command = args.test or f"{args.build}/tests/{args.target}"
    if not run(build_command) or not run(test_command):
        print("the unmutated tree does not pass: nothing to measure", file=sys.stderr)
        return 2

    caught = survived = equivalent = 0
    for mutant in read_mutants(args.mutants):
        outcome = try_mutant(mutant, build_command, test_command)
        label = f"{mutant['file']}: {mutant.get('what', mutant['to'])}"
        if outcome == "survived" and mutant.get("equivalent"):
            equivalent += 1
            print(f"equivalent  {label} ({mutant['equivalent']})")
        elif outcome in ("caught", "survived"):
            caught += outcome == "caught"
            survived += outcome == "survived"
            print(f"{outcome:<11} {label}")
        else:
            print(f"ERROR       {label}: {outcome}")
            return 2
    run(build_command)
    total = caught + survived
    share = 100.0 * caught / total if total else 0.0
    print(f"{caught} of {total} non-equivalent mutants caught ({share:.0f} %), "
          f"{equivalent} equivalent")
    return 0


if __name__ == "__main__":
    sys.exit(main())
