#!/usr/bin/env python3
"""Runs hand-written mutants against the tests and reports which survive.

Usage: tools/mutation_run.py MUTANTS_FILE [--build DIR] [--target T] [--test CMD]
                             [--timeout SECONDS]

MUTANTS_FILE holds one mutant a block, blocks separated by a line "---":

    file: launcher/core/launch/launch_rules.cpp
    what: the Z is no longer folded
    from: c <= 'Z'
    to: c < 'Z'
    equivalent: why this change cannot be observed (optional)

A value is one line; "<NL>" in it stands for a line break. `from` must occur
exactly once in the file. Each mutant is applied alone, the target rebuilt and
the test command run; a mutant is caught when the tests fail. A mutant that
does not build (or does not apply) is an error of the mutants file, not a
catch: it is reported, the others still run, and the exit status is 2. The
file is restored after every mutant, also on Ctrl+C.

A block without `file` sets the list's own options:

    windows: talvo_win_tests talvo_e2e
    filter: PopupShow.*:Tray*

`windows` names Windows test programs (ctest names of the windows preset):
they are rebuilt in build/windows and run under Wine on a virtual desktop with
a window manager, as scripts/test runs them; `filter` narrows them with a
GoogleTest filter. Without it the native unit tests of --build run.

Every test run has a time limit (--timeout, by default five times the
unmutated run and at least a minute): a mutant that makes the tests hang is
caught, and said to be caught by its hang.
"""
import argparse
import os
import pathlib
import signal
import subprocess
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent
DESKTOP = ROOT / "scripts" / "lib" / "wine-desktop.sh"


def read_list(path):
    """(options, mutants) of a mutants file."""
    options, mutants = {}, []
    for block in path.read_text(encoding="utf-8").split("\n---\n"):
        fields = {}
        for line in block.strip().splitlines():
            if line.startswith("#") or ":" not in line:
                continue
            key, value = line.split(":", 1)
            fields[key.strip()] = value.strip().replace("<NL>", "\n")
        if "file" in fields:
            mutants.append(fields)
        else:
            options.update(fields)
    return options, mutants


def run(command, timeout=None):
    """'passed', 'failed' or 'hung'; a hung command is ended with all it started."""
    process = subprocess.Popen(command, cwd=ROOT, shell=True, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, start_new_session=True)
    try:
        return "passed" if process.wait(timeout=timeout) == 0 else "failed"
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.wait()
        return "hung"


class Wine:
    """The Windows programs of a list, run under Wine on the desktop this runner sits on."""

    def __init__(self, programs, test_filter):
        self.programs = programs
        self.filter = test_filter

    def build_command(self):
        return "cmake --build build/windows --target " + " ".join(self.programs)

    def test_command(self):
        names = "|".join(self.programs)
        prefix = f"GTEST_FILTER='{self.filter}' " if self.filter else ""
        return f"{prefix}ctest --test-dir build/windows -R '^({names})$'"

    @staticmethod
    def restart():
        """After a hang: Wine's server and its desktop processes again, as at the start."""
        subprocess.run(["/usr/lib/wine/wineserver", "-k"], cwd=ROOT, check=False)
        subprocess.run(["/usr/lib/wine/wineserver", "-p"], cwd=ROOT, check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run([str(ROOT / "scripts" / "wine-run"), "cmd", "/c", "exit"], cwd=ROOT,
                       check=False, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       stdin=subprocess.DEVNULL)


def on_a_desktop():
    """Runs this very command again inside a virtual desktop; its exit status."""
    command = (f'source "{DESKTOP}" && start_wine_desktop && '
               'TALVO_MUTATION_DESKTOP=1 python3 "$@"')
    return subprocess.run(["bash", "-c", command, "mutation_run", *sys.argv], cwd=ROOT).returncode


def try_mutant(mutant, build_command, test_command, timeout, wine):
    """'caught', 'caught (hang)', 'survived' or an error text."""
    source = ROOT / mutant["file"]
    original = source.read_text(encoding="utf-8")
    if original.count(mutant["from"]) != 1:
        return f"not applied: 'from' occurs {original.count(mutant['from'])} times"
    try:
        source.write_text(original.replace(mutant["from"], mutant["to"]), encoding="utf-8")
        if run(build_command) != "passed":
            return "the mutant does not build"
        outcome = run(test_command, timeout)
        if outcome == "hung" and wine:
            wine.restart()
        return {"passed": "survived", "failed": "caught", "hung": "caught (hang)"}[outcome]
    finally:
        source.write_text(original, encoding="utf-8")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("mutants", type=pathlib.Path)
    parser.add_argument("--build", default="build/native")
    parser.add_argument("--target", default="talvo_unit_tests")
    parser.add_argument("--test", default=None)
    parser.add_argument("--timeout", type=float, default=None)
    args = parser.parse_args()
    options, mutants = read_list(args.mutants)
    wine = None
    if options.get("windows"):
        if not os.environ.get("TALVO_MUTATION_DESKTOP"):
            return on_a_desktop()
        wine = Wine(options["windows"].split(), options.get("filter"))
        build_command, test_command = wine.build_command(), wine.test_command()
    else:
        build_command = f"cmake --build {args.build} --target {args.target}"
        test_command = args.test or f"{args.build}/tests/{args.target}"

    built = run(build_command) == "passed"
    started = time.monotonic()
    if not built or run(test_command) != "passed":
        print("the unmutated tree does not pass: nothing to measure", file=sys.stderr)
        return 2
    timeout = args.timeout or max(60.0, 5 * (time.monotonic() - started))

    caught = survived = equivalent = errors = 0
    for mutant in mutants:
        outcome = try_mutant(mutant, build_command, test_command, timeout, wine)
        label = f"{mutant['file']}: {mutant.get('what', mutant['to'])}"
        if outcome == "survived" and mutant.get("equivalent"):
            equivalent += 1
            print(f"equivalent  {label} ({mutant['equivalent']})")
        elif outcome in ("caught", "caught (hang)", "survived"):
            caught += outcome != "survived"
            survived += outcome == "survived"
            print(f"{outcome:<13} {label}")
        else:
            errors += 1
            print(f"ERROR       {label}: {outcome}")
        sys.stdout.flush()
    run(build_command)
    total = caught + survived
    share = 100.0 * caught / total if total else 0.0
    print(f"{caught} of {total} non-equivalent mutants caught ({share:.0f} %), "
          f"{equivalent} equivalent" + (f", {errors} in error" if errors else ""))
    return 2 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
