#!/usr/bin/env python3
"""Generates src/data/PinyinTable.cpp: the pinyin syllables and, for every
GBK double-byte code, the number of its character's syllable.

Readings come from the Unihan database of Debian's unicode-data package:
kMandarin first, then the other reading fields for characters it lacks;
a compatibility ideograph reads as the unified ideograph it stands for.
tools/pinyin_overrides.tsv picks the reading of characters whose input
code must not follow kMandarin.

    gen_pinyin_table.py [--unihan FILE] [--overrides FILE] [--output FILE]
    gen_pinyin_table.py --readings     (code point and syllable of every
                                        character with a reading, for tests)

Uses the standard library only; the output is the same on every run.
"""

import argparse
import bz2
import io
import os
import re
import sys
import unicodedata
import zipfile

TOOLS_DIR = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.path.dirname(TOOLS_DIR)
UNIHAN_CANDIDATES = [
    '/usr/share/unicode/Unihan_Readings.txt',
    '/usr/share/unicode/Unihan_Readings.txt.bz2',
    '/usr/share/unicode/Unihan.zip',
]

# Most trusted first; the first reading of the first field present wins.
READING_FIELDS = ['kMandarin', 'kHanyuPinlu', 'kXHC1983', 'kTGHZ2013', 'kHanyuPinyin']

# The syllables that stand after the alphabetical list and its empty entry,
# in this order, whether or not a character uses them.
TRAILING_SYLLABLES = ['ei', 'm', 'n', 'dia', 'cen', 'nou', 'jv', 'qv', 'xv', 'lv', 'nv']

LEAD_FIRST, LEAD_LAST = 0x81, 0xFE
TRAIL_FIRST, TRAIL_LAST = 0x40, 0xFE
SYLLABLE = re.compile(r'^[a-z]{1,6}$')


def fail(message):
    sys.exit('gen_pinyin_table: ' + message)


def open_unihan(path):
    if path.endswith('.zip'):
        with zipfile.ZipFile(path) as archive:
            data = archive.read('Unihan_Readings.txt')
        return io.StringIO(data.decode('utf-8'))
    if path.endswith('.bz2'):
        return bz2.open(path, 'rt', encoding='utf-8')
    return open(path, encoding='utf-8')


def find_unihan(given):
    if given:
        return given
    for path in UNIHAN_CANDIDATES:
        if os.path.exists(path):
            return path
    fail('no Unihan readings found (install Debian\'s unicode-data package)')


def read_unihan(path):
    """Returns ({code point: {field: value}}, the Unicode version)."""
    fields = {}
    version = '?'
    with open_unihan(path) as lines:
        for line in lines:
            if line.startswith('# Unicode version:'):
                version = line.split(':', 1)[1].strip()
            if line.startswith('#') or not line.strip():
                continue
            point, field, value = line.rstrip('\n').split('\t', 2)
            if field in READING_FIELDS:
                fields.setdefault(int(point[2:], 16), {})[field] = value
    return fields, version


def toneless(reading):
    """'lǜ' -> 'lv', 'nüè' -> 'nue', 'zhāng' -> 'zhang'."""
    out = ''
    for ch in unicodedata.normalize('NFD', reading.lower()):
        if ch == '\u0308':
            out = out[:-1] + 'v' if out.endswith('u') else out
        elif not unicodedata.combining(ch):
            out += ch
    # lüe and nüe are written without the dots, as in every pinyin table.
    return {'lve': 'lue', 'nve': 'nue'}.get(out, out)


def field_readings(field, value):
    """All readings of one field, most relevant first, without tones."""
    if field == 'kMandarin':
        words = value.split()
    elif field == 'kHanyuPinlu':
        words = [w.split('(')[0] for w in value.split()]
    else:  # kXHC1983, kTGHZ2013, kHanyuPinyin: "location:r1,r2 ..."
        words = [r for w in value.split() for r in w.split(':', 1)[1].split(',')]
    return [toneless(w) for w in words]


def all_readings(fields):
    out = []
    for field in READING_FIELDS:
        for reading in field_readings(field, fields[field]) if field in fields else []:
            if reading not in out:
                out.append(reading)
    return out


def read_overrides(path, unihan):
    chosen = {}
    with open(path, encoding='utf-8') as lines:
        for number, line in enumerate(lines, 1):
            if line.startswith('#') or not line.strip():
                continue
            parts = line.rstrip('\n').split('\t')
            if len(parts) < 2 or len(parts[0]) != 1:
                fail(f'{path}:{number}: expected character<TAB>syllable')
            char, syllable = parts[0], parts[1]
            try:
                char.encode('gbk')
            except UnicodeEncodeError:
                fail(f'{path}:{number}: {char} is not a GBK character')
            if syllable not in all_readings(unihan.get(ord(char), {})):
                fail(f'{path}:{number}: {syllable} is not a reading of {char}')
            chosen[ord(char)] = syllable
    return chosen


def reading_of(point, unihan, overrides):
    if point in overrides:
        return overrides[point]
    fields = unihan.get(point, {})
    for field in READING_FIELDS:
        if field in fields:
            return field_readings(field, fields[field])[0]
    unified = unicodedata.normalize('NFD', chr(point))
    if len(unified) == 1 and ord(unified) != point:
        return reading_of(ord(unified), unihan, overrides)
    return None


def gbk_characters():
    """(lead, trail, code point) of every GBK double-byte character."""
    for lead in range(LEAD_FIRST, LEAD_LAST + 1):
        for trail in range(TRAIL_FIRST, TRAIL_LAST + 1):
            try:
                text = bytes([lead, trail]).decode('gbk')
            except UnicodeDecodeError:
                continue
            if len(text) == 1:
                yield lead, trail, ord(text)


def build(unihan, overrides):
    readings = {}
    for lead, trail, point in gbk_characters():
        reading = reading_of(point, unihan, overrides)
        if reading is not None:
            if not SYLLABLE.match(reading):
                fail(f'U+{point:04X}: unusable reading {reading!r}')
            readings[(lead, trail)] = reading
    alphabetical = sorted(set(readings.values()) - set(TRAILING_SYLLABLES))
    syllables = [''] + alphabetical + [''] + TRAILING_SYLLABLES
    number = {s: i for i, s in enumerate(syllables) if s}
    entries = [number[readings[(lead, trail)]] if (lead, trail) in readings else 0
               for lead in range(LEAD_FIRST, LEAD_LAST + 1)
               for trail in range(TRAIL_FIRST, TRAIL_LAST + 1)]
    return syllables, entries


def render(syllables, entries, version):
    width = TRAIL_LAST - TRAIL_FIRST + 1
    out = [
        '// Generated by tools/gen_pinyin_table.py from the Unihan readings of',
        f"// Debian's unicode-data package (Unicode {version}) and",
        '// tools/pinyin_overrides.tsv. Do not edit; run the generator instead.',
        '',
        '#include "InputCode.h"',
        '',
        'namespace PinyinTable {',
        '',
        f'const int SyllableCount = {len(syllables)};',
        '',
        '// Entry 0 stands for "no reading".',
        'const char Syllables[][7] = {',
    ]
    for start in range(0, len(syllables), 10):
        out.append('    ' + ' '.join(f'"{s}",' for s in syllables[start:start + 10]))
    out += ['};', '', f'const std::uint16_t Readings[{len(entries)}] = {{']
    for row in range(len(entries) // width):
        lead = LEAD_FIRST + row
        out.append(f'    // {lead:02X}40')
        cells = entries[row * width:(row + 1) * width]
        for start in range(0, width, 24):
            out.append('    ' + ','.join(str(c) for c in cells[start:start + 24]) + ',')
    out += ['};', '', '} // namespace PinyinTable', '']
    return '\n'.join(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('--unihan', help='Unihan_Readings.txt, its .bz2 or Unihan.zip')
    parser.add_argument('--overrides', default=os.path.join(TOOLS_DIR, 'pinyin_overrides.tsv'))
    parser.add_argument('--output', default=os.path.join(SOURCE_DIR, 'src/data/PinyinTable.cpp'))
    parser.add_argument('--readings', action='store_true',
                        help='print "code point<TAB>syllable" lines instead')
    args = parser.parse_args()

    unihan, version = read_unihan(find_unihan(args.unihan))
    overrides = read_overrides(args.overrides, unihan)
    if args.readings:
        for _, _, point in gbk_characters():
            reading = reading_of(point, unihan, overrides)
            if reading is not None:
                print(f'{point:04X}\t{reading}')
        return
    syllables, entries = build(unihan, overrides)
    with open(args.output, 'w', encoding='utf-8', newline='\n') as out:
        out.write(render(syllables, entries, version))
    covered = sum(1 for e in entries if e)
    print(f'{args.output}: {len(syllables) - 1} syllables, {covered} of {len(entries)} entries',
          file=sys.stderr)


if __name__ == '__main__':
    main()
