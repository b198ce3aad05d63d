#!/usr/bin/env python3
"""Writes the tests' tones as WAVE files: a quiet two-note tone, 16-bit mono, the source of their MP3 file, or
with --chime a square tone of a number of samples in the chimes' own format (8-bit mono, 22050 Hz).
Usage: make_test_tone.py OUTPUT.wav SECONDS
       make_test_tone.py --chime OUTPUT.wav SAMPLES"""
import math
import struct
import sys

RATE = 22050


def chime_tone(path, samples):
    data = bytes(128 + (20 if (i // 25) % 2 else -20) for i in range(samples))
    fmt = struct.pack('<HHIIHH', 1, 1, RATE, RATE, 1, 8)
    body = b'WAVE' + b'fmt ' + struct.pack('<I', len(fmt)) + fmt + b'data' + struct.pack('<I', len(data)) + data
    with open(path, 'wb') as f:
        f.write(b'RIFF' + struct.pack('<I', len(body)) + body)


def main():
    if sys.argv[1] == '--chime':
        chime_tone(sys.argv[2], int(sys.argv[3]))
        return
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
