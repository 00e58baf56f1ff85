#!/usr/bin/env python3
"""Mutation run on the setup's core: applies realistic faults to setup/core/*.cpp
one at a time, rebuilds and runs the native setup core tests, and reports which
faults the tests catch. Every file is restored after each mutant.

Usage: tools/mutate_setup_core.py   (from the repository, after a native build)
"""
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TEST = os.path.join(ROOT, "build/native/tests/setup/talvo_setup_unit_tests")

# (file, text to replace, replacement, what the fault is)
MUTANTS = [
    ("switches.cpp", "switches.silent |=", "switches.silent =", "last argument decides silent"),
    ("switches.cpp", "switches.uninstall |=", "switches.uninstall =",
     "last argument decides uninstall"),
    ("switches.cpp", ' || argument == "/S"', "", "/S is no switch"),
    ("paths.cpp", "mapped.size() == 1 ? mapped[0] : c", "mapped[0]",
     "first unit of a long upper case kept"),
    ("paths.cpp", 'unc = "\\\\\\\\" + std::string', 'unc = "\\\\" + std::string',
     "long UNC path loses a separator"),
    ("paths.cpp", 'leading == 1 ? U"\\\\" : U"\\\\\\\\"', 'U"\\\\"',
     "network path equals rooted path"),
    ("paths.cpp", "if (end > start) {", "if (end >= start) {", "empty components count"),
    ("paths.cpp", "return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;",
     "return c;", "image name compared with case"),
    ("paths.cpp", "return c == '\\\\' || c == '/';", "return c == '\\\\';",
     "a slash is no separator"),
    ("paths.cpp", "path.remove_prefix(kLongPathPrefix.size());",
     "path.remove_prefix(kLongPathPrefix.size() - 1);", "long path prefix half removed"),
    ("paths.cpp", '":Zone.Identifier"', '":Zone.Identifer"', "misspelt stream"),
    ("paths.cpp", "path += '\\\\';", "path += '/';", "joined with a slash"),
    ("registry_values.cpp", "static_cast<std::uint8_t>(value >> 24)",
     "static_cast<std::uint8_t>(value >> 16)", "fourth byte of a DWORD lost"),
    ("registry_values.cpp", "units.push_back(u'\\0');", "", "REG_SZ without its zero"),
    ("registry_values.cpp", "uninstaller_bytes.value_or(0) / 1024",
     "uninstaller_bytes.value_or(0) / 1000", "kB instead of KiB"),
    ("registry_values.cpp", "static_cast<std::uint32_t>(total < kMax ? total : kMax)",
     "static_cast<std::uint32_t>(total % (kMax + 1))", "size wraps instead of saturating"),
    ("registry_values.cpp", '" /uninstall /S"', '" /uninstall /s"', "quiet string spelling"),
    ("registry_values.cpp", 'dword_value("NoModify", 1)', 'dword_value("NoModify", 0)',
     "NoModify cleared"),
    ("removal_command.cpp", '"/d /v:off /c "', '"/v:off /c "', "AutoRun commands run"),
    ("removal_command.cpp", '"/d /v:off /c "', '"/d /c "', "delayed expansion left on"),
    ("removal_command.cpp", 'install_folder.find_first_of("%\\"")',
     'install_folder.find_first_of("%")', "a quote in the folder accepted"),
    ("removal_command.cpp", 'kCmdSpecial = " \\t%', 'kCmdSpecial = "%',
     "system folder with spaces written unquoted"),
    ("removal_command.cpp", "is_separator(path[1]) &&\n           !is_separator(path[2])",
     "is_separator(path[1])", "three leading separators count as a network path"),
    ("write_retry.cpp", "done < kWriteAttempts", "done <= kWriteAttempts", "21 attempts"),
    ("write_retry.cpp", "kAccessDenied = 5;", "kAccessDenied = 6;",
     "pending deletion not retried"),
    ("write_retry.cpp", "error != 0 && counts_as_sharing_violation(error)", "error != 0",
     "every failure retried"),
    ("launcher_processes.cpp", "*session == *own_session", "true", "every session stopped"),
    ("launcher_processes.cpp", "session && own_session && ", "", "unknown session stopped"),
    ("launcher_processes.cpp", "*desktop_shell == Elevation::Full ? LauncherStart::Direct",
     "*desktop_shell == Elevation::Limited ? LauncherStart::Direct",
     "elevated launcher under a normal shell"),
    ("launcher_processes.cpp", "return LauncherStart::NotStarted;",
     "return LauncherStart::Direct;", "elevated start without a shell"),
    ("failure_texts.cpp", '" introuvable"', '" introuvables"', "missing variable text"),
    ("messages.cpp", '"Désinstaller Talvo ?"', '"Désinstaller Talvo?"',
     "uninstall question spacing"),
    ("messages.cpp", '"\\nAucun droit administrateur requis."',
     '"\\nAucun droit d\'administrateur requis."', "install question wording"),
    ("failure_texts.cpp", 'text += " : ";', 'text += ": ";', "failure text spacing"),
    ("messages.cpp", '"Une erreur est survenue :\\n\\n"', '"Une erreur est survenue :\\n"',
     "failure box with one line feed"),
]


def run(command):
    return subprocess.run(command, cwd=ROOT, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode


def main():
    caught, survived, unbuilt = [], [], []
    for name, old, new, fault in MUTANTS:
        path = os.path.join(ROOT, "setup/core", name)
        original = open(path, encoding="utf-8").read()
        if original.count(old) != 1:
            print(f"?? {name}: text of '{fault}' not found once")
            unbuilt.append(fault)
            continue
        try:
            open(path, "w", encoding="utf-8").write(original.replace(old, new))
            if run(["cmake", "--build", "--preset", "native", "-j2",
                    "--target", "talvo_setup_unit_tests"]) != 0:
                unbuilt.append(fault)
                print(f"-- {name}: {fault}: does not build")
                continue
            killed = run([TEST]) != 0
            (caught if killed else survived).append(f"{name}: {fault}")
            print(f"{'caught  ' if killed else 'SURVIVED'} {name}: {fault}")
        finally:
            open(path, "w", encoding="utf-8").write(original)
    run(["cmake", "--build", "--preset", "native", "-j2", "--target", "talvo_setup_unit_tests"])
    total = len(caught) + len(survived)
    print(f"{len(caught)} of {total} caught ({100 * len(caught) // max(total, 1)} %), "
          f"{len(unbuilt)} not run")
    for fault in survived:
        print(f"survivor: {fault}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
