#!/usr/bin/env python3
"""Writes a quiet two-note tone as a 16-bit mono WAVE file, the source of the tests' MP3 file.
Usage: make_test_tone.py OUTPUT.wav SECONDS"""
import math
import struct
import sys

RATE = 22050


def main():
    path, seconds = sys.argv[1], float(sys.argv[2])
    n = int(seconds * RATE)
    edge = int(0.05 * RATE)
    frames = bytearray()
    for i in range(n):
        env = min(1.0, i / edge, (n - 1 - i) / edge)
        f = 660.0 if (i // RATE) % 2 == 0 else 880.0
        frames += struct.pack('<h', int(6000 * env * math.sin(2 * math.pi * f * i / RATE)))
    fmt = struct.pack('<HHIIHH', 1, 1, RATE, RATE * 2, 2, 16)
    body = b'WAVE' + b'fmt ' + struct.pack('<I', len(fmt)) + fmt + b'data' + struct.pack('<I', len(frames)) + frames
    with open(path, 'wb') as f:
        f.write(b'RIFF' + struct.pack('<I', len(body)) + body)


if __name__ == '__main__':
    main()
