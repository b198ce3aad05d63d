#!/usr/bin/env python3
"""Synthesises the eight built-in chimes TIMER1A.wav ... TIMER8A.wav: RIFF WAVE, PCM, mono, 22050 Hz,
8 bits. Struck bells and bars are sums of decaying partials; every sound starts from silence, has its DC
removed, is peak-normalised below full scale and fades to exact silence at its last sample.
Usage: make_chimes.py OUTPUT_FOLDER"""
import cmath
import math
import os
import struct
import sys

RATE = 22050
PEAK = 0.86          # of full scale, so that 8-bit rounding never clips
ATTACK_S = 0.004     # raised-cosine onset of every strike: no click at the start
END_FADE_S = 0.2     # raised-cosine fade to silence at the end: no click at the end
DC_POLE = 0.995      # one-pole DC blocker, about 18 Hz

# Length of each chime in seconds; the sample count is the length times the rate, halves rounded up.
LENGTHS = [3.18, 3.00, 3.48, 4.25, 3.06, 2.88, 1.41, 0.58]


def sample_count(seconds):
    return int(math.floor(seconds * RATE + 0.5))


def add_partial(buf, start, freq, amp, decay, phase=0.0, bloom=0.0):
    """Adds amp * exp(-t/decay) * sin(2 pi f t + phase) from sample start on, computed by rotation.
    bloom > 0 lets the partial swell in over that many seconds, as the upper partials of a gong do."""
    if freq >= RATE * 0.45:
        return
    n0 = int(start * RATE)
    step = cmath.exp(complex(-1.0 / (decay * RATE), 2 * math.pi * freq / RATE))
    z = cmath.exp(complex(0.0, phase)) * amp
    attack = max(1, int(ATTACK_S * RATE))
    swell = int(bloom * RATE)
    for i in range(n0, len(buf)):
        k = i - n0
        env = 1.0
        if k < attack:
            env = 0.5 - 0.5 * math.cos(math.pi * k / attack)
        if k < swell:
            env *= math.sin(0.5 * math.pi * k / swell)
        buf[i] += env * z.imag
        z *= step
        if abs(z) < 1e-5 * amp and k > swell:
            break


def bell(buf, start, nominal, decay, level=1.0, phase_seed=0):
    """A church bell: hum, prime, minor-third tierce, quint, nominal and upper partials; the low ones
    ring longest. The doublets a few tenths of a hertz apart give the slow beat of a real bell."""
    partials = [  # ratio to the nominal, amplitude, decay factor
        (0.25, 0.30, 1.6), (0.5, 0.55, 1.2), (0.6, 0.45, 0.9), (0.75, 0.25, 0.7),
        (1.0, 1.00, 0.6), (1.25, 0.20, 0.35), (1.5, 0.22, 0.3), (2.0, 0.12, 0.22), (2.66, 0.06, 0.15)]
    for j, (ratio, amp, dfac) in enumerate(partials):
        f = nominal * ratio
        ph = 0.7 * j + phase_seed
        add_partial(buf, start, f, level * amp * 0.6, decay * dfac, ph)
        add_partial(buf, start, f + 0.35 + 0.1 * j, level * amp * 0.4, decay * dfac, ph + 1.3)


def tube(buf, start, freq, decay, level=1.0):
    """A struck chime tube or tone bar: a clear fundamental with soft, quickly fading overtones and a
    short inharmonic strike partial."""
    add_partial(buf, start, freq, level, decay)
    add_partial(buf, start, freq * 2.0, level * 0.22, decay * 0.45, 0.4)
    add_partial(buf, start, freq * 3.0, level * 0.07, decay * 0.25, 1.1)
    add_partial(buf, start, freq * 2.76, level * 0.12, 0.05, 2.0)


def glock(buf, start, freq, decay, level=1.0):
    """A free metal bar (glockenspiel, music box): partials at 1, 2.76 and 5.40 times the pitch."""
    add_partial(buf, start, freq, level, decay)
    add_partial(buf, start, freq * 2.756, level * 0.25, decay * 0.25, 0.9)
    add_partial(buf, start, freq * 5.404, level * 0.08, decay * 0.1, 2.1)


def gong(buf, start, freq, decay, level=1.0):
    """A gong: closely spaced inharmonic partials whose upper ones swell in after the strike."""
    partials = [(1.0, 1.0, 1.0, 0.0), (1.003, 0.5, 1.0, 0.0), (1.52, 0.55, 0.8, 0.05), (2.01, 0.45, 0.7, 0.1),
                (2.46, 0.35, 0.6, 0.15), (2.98, 0.25, 0.5, 0.2), (3.56, 0.18, 0.4, 0.25), (4.21, 0.12, 0.3, 0.3)]
    for j, (ratio, amp, dfac, bloom) in enumerate(partials):
        add_partial(buf, start, freq * ratio, level * amp, decay * dfac, 0.9 * j, bloom)


def tone(buf, start, freq, length, level=1.0):
    """A soft electronic time-signal tone: sine with a little second harmonic, smooth on and off."""
    n0 = int(start * RATE)
    n = int(length * RATE)
    edge = int(0.012 * RATE)
    for k in range(n):
        i = n0 + k
        if i >= len(buf):
            break
        env = 1.0
        if k < edge:
            env = 0.5 - 0.5 * math.cos(math.pi * k / edge)
        elif k > n - edge:
            env = 0.5 - 0.5 * math.cos(math.pi * (n - k) / edge)
        t = k / RATE
        buf[i] += level * env * (math.sin(2 * math.pi * freq * t) + 0.15 * math.sin(4 * math.pi * freq * t))


def note(name):
    """Frequency of a note name such as 'E5' or 'F#4' in equal temperament, A4 = 440 Hz."""
    steps = {'C': -9, 'D': -7, 'E': -5, 'F': -4, 'G': -2, 'A': 0, 'B': 2}
    semis = steps[name[0]] + (1 if name[1] == '#' else 0)
    octave = int(name[-1])
    return 440.0 * 2 ** ((semis + 12 * (octave - 4)) / 12)


def chime1(buf):  # three tubes rising to the octave
    for i, n in enumerate(['E5', 'G5', 'C6']):
        tube(buf, 0.36 * i, note(n), 0.7 if i < 2 else 0.75, 1.0 if i < 2 else 1.15)


def chime2(buf):  # two-tone announcement chime, high then low
    tube(buf, 0.0, note('G5'), 0.7)
    tube(buf, 0.62, note('E5'), 0.75, 1.1)


def chime3(buf):  # four-note quarter melody on tubes
    for i, n in enumerate(['E5', 'C5', 'D5', 'G4']):
        tube(buf, 0.45 * i, note(n), 0.6 if i < 3 else 0.7)


def chime4(buf):  # one large bell
    bell(buf, 0.0, note('C5'), 1.5)


def chime5(buf):  # two-tone gong: a strike, then a lower answer
    gong(buf, 0.0, note('A3'), 0.9)
    gong(buf, 0.95, note('E3'), 0.95, 1.2)


def chime6(buf):  # music box run over a pentatonic scale
    for i, n in enumerate(['C6', 'D6', 'E6', 'G6', 'A6', 'C7']):
        glock(buf, 0.17 * i, note(n), 0.55 if i < 5 else 0.75)


def chime7(buf):  # three short pips and a ringing tone an octave higher
    for i in range(3):
        tone(buf, 0.3 * i, 440.0, 0.11)
    add_partial(buf, 0.9, 880.0, 1.0, 0.22)
    add_partial(buf, 0.9, 1760.0, 0.15, 0.12, 0.5)


def chime8(buf):  # one small bright bell
    bell(buf, 0.0, note('G6'), 0.3)


CHIMES = [chime1, chime2, chime3, chime4, chime5, chime6, chime7, chime8]


def finish(buf):
    """DC blocker, peak normalisation, end fade and 8-bit quantisation (128 is silence)."""
    out = [0.0] * len(buf)
    prev_x = prev_y = 0.0
    for i, x in enumerate(buf):
        y = x - prev_x + DC_POLE * prev_y
        out[i] = y
        prev_x, prev_y = x, y
    fade = int(END_FADE_S * RATE)
    n = len(out)
    for k in range(fade):
        out[n - 1 - k] *= 0.5 - 0.5 * math.cos(math.pi * k / fade)
    peak = max(abs(v) for v in out) or 1.0
    scale = PEAK * 127.0 / peak
    return bytes(max(1, min(255, 128 + int(round(v * scale)))) for v in out)


def wave_file(samples):
    data = samples + (b'\x80' if len(samples) % 2 else b'')  # RIFF chunks are word aligned
    fmt = struct.pack('<HHIIHH', 1, 1, RATE, RATE, 1, 8)
    body = b'WAVE' + b'fmt ' + struct.pack('<I', len(fmt)) + fmt + b'data' + struct.pack('<I', len(samples)) + data
    return b'RIFF' + struct.pack('<I', len(body)) + body


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for i, (make, seconds) in enumerate(zip(CHIMES, LENGTHS)):
        buf = [0.0] * sample_count(seconds)
        make(buf)
        path = os.path.join(folder, 'TIMER%dA.wav' % (i + 1))
        with open(path + '.tmp', 'wb') as f:
            f.write(wave_file(finish(buf)))
        os.replace(path + '.tmp', path)


if __name__ == '__main__':
    main()
