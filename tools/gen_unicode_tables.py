#!/usr/bin/env python3
"""Writes launcher/core/text/unicode_tables.h from the Unicode Character Database.

The launcher folds text, splits names into words and upper-cases tile letters
without any library, so it carries the few tables it needs:
  - the full unconditional lower-case and upper-case mappings (UnicodeData.txt
    plus the unconditional lines of SpecialCasing.txt): the mappings to one
    character as runs (from, delta, count, stride), where the code points from,
    from + stride, ... each map to themselves + delta (A-Z to a-z is one run of
    stride 1, the alternating capital/small pairs of Latin Extended-A or
    Cyrillic runs of stride 2), about 8 times fewer entries than one pair per
    character; the mappings to two or three characters (İ to i + U+0307) one
    entry each,
  - Alphabetic, Uppercase, Lowercase (DerivedCoreProperties.txt),
  - Numeric (general categories Nd, Nl, No) and White_Space (PropList.txt).

It also writes tests/unit/unicode_digests.h, which only the unit tests include:
for the lower-case, upper-case and fold mappings, how many scalar values each
changes and a hash of all their results, computed here from the database and
not from the tables, so that a test can check every code point against it.

Usage: tools/gen_unicode_tables.py [UCD folder] [tables header] [digests header]
Defaults: /usr/share/unicode (Debian's unicode-data) and the source tree.
"""
import os
import sys

UCD = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/unicode"
HERE = os.path.dirname(os.path.abspath(__file__))
OUT = sys.argv[2] if len(sys.argv) > 2 else os.path.join(
    HERE, "..", "launcher", "core", "text", "unicode_tables.h")
DIGESTS_OUT = sys.argv[3] if len(sys.argv) > 3 else os.path.join(
    HERE, "..", "tests", "unit", "unicode_digests.h")

ALPHABETIC, NUMERIC, UPPERCASE, LOWERCASE, WHITE_SPACE = 1, 2, 4, 8, 16
MAX_CODE_POINT = 0x10FFFF
MAX_STRIDE, MAX_RUN = 0xFF, 0xFFFF  # the widths of MappingRun::stride and ::count


def data_lines(name):
    with open(os.path.join(UCD, name), encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if line:
                yield [field.strip() for field in line.split(";")]


def code_range(text):
    if ".." in text:
        lo, hi = text.split("..")
        return int(lo, 16), int(hi, 16)
    return int(text, 16), int(text, 16)


def unicode_data():
    """Yields (code point, fields) for every code point, expanding First/Last ranges."""
    pending_first = None
    for fields in data_lines("UnicodeData.txt"):
        cp = int(fields[0], 16)
        if fields[1].endswith(", First>"):
            pending_first = cp
            continue
        if fields[1].endswith(", Last>"):
            for c in range(pending_first, cp + 1):
                yield c, fields
            pending_first = None
            continue
        yield cp, fields


def read_version():
    with open(os.path.join(UCD, "DerivedCoreProperties.txt"), encoding="utf-8") as f:
        first = f.readline()
    # "# DerivedCoreProperties-15.0.0.txt"
    return first.split("-", 1)[1].rsplit(".txt", 1)[0].strip()


def main():
    flags = [0] * (MAX_CODE_POINT + 1)
    lower, upper = {}, {}
    latin1_bases = {}
    for cp, fields in unicode_data():
        if fields[2] in ("Nd", "Nl", "No"):
            flags[cp] |= NUMERIC
        if 0xE0 <= cp <= 0xFF and fields[5] and not fields[5].startswith("<"):
            latin1_bases[cp] = int(fields[5].split()[0], 16)
        if fields[12]:
            upper[cp] = [int(fields[12], 16)]
        if fields[13]:
            lower[cp] = [int(fields[13], 16)]

    for fields in data_lines("SpecialCasing.txt"):
        if len(fields) > 4 and fields[4]:
            continue  # conditional mapping (language or context): not used
        cp = int(fields[0], 16)
        low = [int(x, 16) for x in fields[1].split()]
        up = [int(x, 16) for x in fields[3].split()]
        if low != [cp]:
            lower[cp] = low
        else:
            lower.pop(cp, None)
        if up != [cp]:
            upper[cp] = up
        else:
            upper.pop(cp, None)

    wanted = {"Alphabetic": ALPHABETIC, "Uppercase": UPPERCASE, "Lowercase": LOWERCASE}
    for fields in data_lines("DerivedCoreProperties.txt"):
        bit = wanted.get(fields[1])
        if bit:
            lo, hi = code_range(fields[0])
            for c in range(lo, hi + 1):
                flags[c] |= bit
    for fields in data_lines("PropList.txt"):
        if fields[1] == "White_Space":
            lo, hi = code_range(fields[0])
            for c in range(lo, hi + 1):
                flags[c] |= WHITE_SPACE

    runs = []
    for cp, f in enumerate(flags):
        if not runs or runs[-1][1] != f:
            runs.append((cp, f))

    version = read_version()
    write(version, runs, lower, upper)
    write_digests(version, lower, upper, latin1_bases)


def mapping_runs(single):
    """Groups sorted (from, to) pairs into runs (from, delta, count, stride).

    A run takes pairs that are neighbours in the sorted list, evenly spaced and
    shifted by the same delta, so no other mapped code point lies inside its
    span and runs never overlap: the last run that starts at or below a code
    point is the only one that can hold it.
    """
    runs = []
    for cp, to in single:
        delta = to - cp
        if runs:
            start, run_delta, count, stride = runs[-1]
            if run_delta == delta:
                if count == 1 and cp - start <= MAX_STRIDE:
                    runs[-1] = (start, delta, 2, cp - start)
                    continue
                if count > 1 and cp == start + count * stride and count < MAX_RUN:
                    runs[-1] = (start, delta, count + 1, stride)
                    continue
        runs.append((cp, delta, 1, 1))
    expanded = [(start + i * stride, start + i * stride + delta)
                for start, delta, count, stride in runs for i in range(count)]
    assert expanded == single
    return runs


def mapping_tables(name, mapping):
    single = sorted((cp, to[0]) for cp, to in mapping.items() if len(to) == 1)
    multi = sorted((cp, to) for cp, to in mapping.items() if len(to) > 1)
    assert all(len(to) <= 3 for _, to in multi)
    runs = mapping_runs(single)
    out = [f"inline constexpr MappingRun k{name}Runs[] = {{"]
    out += wrap([f"{{0x{start:X}, {delta}, {count}, {stride}}}"
                 for start, delta, count, stride in runs])
    out.append("};")
    out.append(f"inline constexpr LongMapping k{name}Long[] = {{")
    out += wrap(["{0x%X, {%s}}" % (cp, ", ".join("0x%X" % c for c in to + [0] * (3 - len(to))))
                 for cp, to in multi])
    out.append("};")
    return out, len(runs)


def wrap(items, width=96):
    lines, line = [], "    "
    for item in items:
        piece = item + ","
        if len(line) + len(piece) + 1 > width and line.strip():
            lines.append(line.rstrip())
            line = "    "
        line += piece + " "
    if line.strip():
        lines.append(line.rstrip())
    return lines


def write(version, runs, lower, upper):
    out = [
        f"// Generated by tools/gen_unicode_tables.py from the Unicode Character Database {version}.",
        "// Do not edit: run the generator again.",
        "// clang-format off",
        "#pragma once",
        "",
        "#include <cstdint>",
        "",
        "namespace talvo::unicode_tables {",
        "",
        f'inline constexpr char kVersion[] = "{version}";',
        "",
        "enum PropertyBit : std::uint8_t {",
        f"    kAlphabetic = {ALPHABETIC},",
        f"    kNumeric = {NUMERIC},",
        f"    kUppercase = {UPPERCASE},",
        f"    kLowercase = {LOWERCASE},",
        f"    kWhiteSpace = {WHITE_SPACE},",
        "};",
        "",
        "// Each value is (first code point << 8) | property bits; the bits hold up to the next run.",
        "inline constexpr std::uint32_t kPropertyRuns[] = {",
    ]
    out += wrap(["0x%X" % ((cp << 8) | f) for cp, f in runs])
    out += [
        "};",
        "",
        "// The code points from, from + stride, ... (count of them) each map to itself + delta.",
        "// Runs are sorted by `from` and never overlap.",
        "struct MappingRun {",
        "    char32_t from;",
        "    std::int32_t delta;",
        "    std::uint16_t count;",
        "    std::uint8_t stride;",
        "};",
        "",
        "// A mapping to two or three characters; unused places hold 0.",
        "struct LongMapping {",
        "    char32_t from;",
        "    char32_t to[3];",
        "};",
        "",
    ]
    lower_lines, lower_runs = mapping_tables("Lower", lower)
    upper_lines, upper_runs = mapping_tables("Upper", upper)
    out += lower_lines + [""] + upper_lines
    out += ["", "}  // namespace talvo::unicode_tables", ""]
    with open(OUT, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(out))
    print(f"{OUT}: {len(runs)} property runs, {len(lower)} lower mappings in {lower_runs} runs, "
          f"{len(upper)} upper mappings in {upper_runs} runs")


FNV_OFFSET, FNV_PRIME, WORD_MASK = 0xCBF29CE484222325, 0x100000001B3, (1 << 64) - 1


def digest(mapped):
    """(count, FNV-1a hash) of the code points that `mapped` changes.

    For each scalar value c in order whose result r is not [c], the 32-bit words
    c, len(r), r... are hashed; tests/unit/text_test.cpp computes the same.
    """
    changed, h = 0, FNV_OFFSET
    for cp in range(MAX_CODE_POINT + 1):
        if 0xD800 <= cp <= 0xDFFF:
            continue
        result = mapped(cp)
        if result == [cp]:
            continue
        changed += 1
        for word in [cp, len(result)] + result:
            h = ((h ^ word) * FNV_PRIME) & WORD_MASK
    return changed, h


def fold_model(lower, latin1_bases):
    """What fold does to one character, from the database alone: A-Z lowered,
    the rest of U+0000-U+00BF kept, then the full lower-case mapping with the
    Latin-1 letters reduced to the base of their canonical decomposition."""
    def fold(cp):
        if cp < 0x80:
            return [cp + 32] if 0x41 <= cp <= 0x5A else [cp]
        if cp < 0xC0:
            return [cp]
        return [latin1_bases.get(c, c) for c in lower.get(cp, [cp])]
    return fold


def write_digests(version, lower, upper, latin1_bases):
    rows = [
        ("kLower", lambda cp: lower.get(cp, [cp])),
        ("kUpper", lambda cp: upper.get(cp, [cp])),
        ("kFold", fold_model(lower, latin1_bases)),
    ]
    out = [
        f"// Generated by tools/gen_unicode_tables.py from the Unicode Character Database {version}.",
        "// Do not edit: run the generator again.",
        "#pragma once",
        "",
        "#include <cstdint>",
        "",
        "namespace talvo::unicode_digests {",
        "",
        "// How many scalar values a mapping changes, and the 64-bit FNV-1a hash of the",
        "// 32-bit words (code point, result length, result...) of each, in code point order.",
        "struct Digest {",
        "    std::uint32_t changed;",
        "    std::uint64_t hash;",
        "};",
        "",
    ]
    for name, mapped in rows:
        changed, h = digest(mapped)
        out.append(f"inline constexpr Digest {name} = {{{changed}, 0x{h:016X}}};")
    out += ["", "}  // namespace talvo::unicode_digests", ""]
    with open(DIGESTS_OUT, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(out))
    print(f"{DIGESTS_OUT}: digests of the lower, upper and fold mappings")


if __name__ == "__main__":
    main()
