#!/usr/bin/env python3
"""Writes the task program's two sounds as 16-bit mono WAV files.

  chime.wav  (wave 164): a right answer or a goal met; three rising bell notes.
  switch.wav (wave 168): the soft tick played when the next card appears.

Usage: make_waves.py OUTDIR   (the results are kept under resources/zentry01/)
"""
import math
import struct
import sys
import wave

RATE = 22050


def bell(freq, seconds, start_gain):
    """A bell-like note: a sine with two soft overtones and an exponential decay."""
    n = int(RATE * seconds)
    out = []
    for i in range(n):
        t = i / RATE
        attack = min(1.0, t / 0.006)
        decay = math.exp(-t * 5.5)
        s = (math.sin(2 * math.pi * freq * t)
             + 0.35 * math.sin(2 * math.pi * freq * 2 * t) * math.exp(-t * 9)
             + 0.12 * math.sin(2 * math.pi * freq * 3 * t) * math.exp(-t * 14))
        out.append(start_gain * attack * decay * s / 1.47)
    return out


def mix(parts, total_seconds):
    buf = [0.0] * int(RATE * total_seconds)
    for offset, samples in parts:
        first = int(RATE * offset)
        for i, s in enumerate(samples):
            if first + i < len(buf):
                buf[first + i] += s
    return buf


def fade_out(samples, seconds):
    n = min(len(samples), int(RATE * seconds))
    for i in range(n):
        samples[len(samples) - n + i] *= 1.0 - i / n
    return samples


def write(path, samples):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(
            struct.pack("<h", int(max(-1.0, min(1.0, s)) * 32767 * 0.8)) for s in samples))


def chime():
    # C6, E6, G6: a major arpeggio, the last note held a little longer.
    notes = [(0.00, bell(1046.5, 0.45, 0.45)),
             (0.09, bell(1318.5, 0.45, 0.42)),
             (0.18, bell(1568.0, 0.55, 0.45))]
    return fade_out(mix(notes, 0.75), 0.08)


def switch():
    # A short, soft two-tone tick (A5 then E6), well under a tenth of a second.
    return fade_out(mix([(0.0, bell(880.0, 0.06, 0.35)),
                         (0.025, bell(1318.5, 0.06, 0.3))], 0.09), 0.03)


if __name__ == "__main__":
    outdir = sys.argv[1] if len(sys.argv) > 1 else "."
    write(outdir + "/chime.wav", chime())
    write(outdir + "/switch.wav", switch())
