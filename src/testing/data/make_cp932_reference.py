#!/usr/bin/env python3
"""Writes cp932_reference.bin, Windows' code page 932 as Python's `cp932` codec has it.

The tests hold the program's codec to this table. Run once; the output is checked in:
    python3 make_cp932_reference.py > cp932_reference.bin

Format, every number a big-endian 16-bit word:
  1. 256 words: the code point of each single byte, 0xFFFF for a lead byte or no mapping.
  2. For each lead byte 0x81-0x9F and 0xE0-0xFC, 189 words: the code point of the lead
     byte followed by each trail byte 0x40-0xFC, 0xFFFF for no mapping.
  3. A count, then that many pairs (code point, bytes): how the codec writes each code
     point that decodes from more than one byte sequence, or from none. Every other code
     point it writes as the one sequence it decodes from, or not at all. A single byte is
     written as a word below 0x100.
Every code point of the table lies in the BMP; none is 0xFFFF.
"""
import struct
import sys

LEADS = list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD))
TRAILS = range(0x40, 0xFD)
NONE = 0xFFFF


def decode(sequence):
    try:
        text = sequence.decode("cp932")
    except UnicodeDecodeError:
        return NONE
    assert len(text) == 1 and ord(text) < NONE
    return ord(text)


def encode(code_point):
    try:
        return chr(code_point).encode("cp932")
    except UnicodeEncodeError:
        return None


def main():
    singles = [NONE if b in LEADS else decode(bytes([b])) for b in range(256)]
    pairs = [decode(bytes([lead, trail])) for lead in LEADS for trail in TRAILS]

    sources = {}
    for b, code_point in enumerate(singles):
        if code_point != NONE:
            sources.setdefault(code_point, []).append(b)
    for i, code_point in enumerate(pairs):
        if code_point != NONE:
            lead, trail = LEADS[i // len(TRAILS)], TRAILS[i % len(TRAILS)]
            sources.setdefault(code_point, []).append(lead << 8 | trail)

    choices = []
    for code_point in range(0x110000):
        if 0xD800 <= code_point < 0xE000:
            continue
        written = encode(code_point)
        if len(sources.get(code_point, [])) == 1:
            assert int.from_bytes(written, "big") == sources[code_point][0]
            continue
        if written is None:
            assert code_point not in sources
            continue
        assert code_point < NONE and len(written) <= 2
        choices.append((code_point, int.from_bytes(written, "big")))

    words = singles + pairs + [len(choices)] + [w for pair in choices for w in pair]
    sys.stdout.buffer.write(struct.pack(">%dH" % len(words), *words))


if __name__ == "__main__":
    main()
