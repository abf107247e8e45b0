#!/usr/bin/env python3
"""Writes the seeds of wave_open_fuzz: a RIFF WAVE image of every format the
loader converts (1 or 2 channels, 8 or 16 bits, 8000 to 44100 samples per
second), each behind a byte that picks the session's output format."""
import math
import os
import struct


def chunk(tag, body):
    return tag + struct.pack('<I', len(body)) + body + (b'\0' if len(body) % 2 else b'')


def image(channels, rate, bits, frames, before_fmt=b''):
    align = channels * bits // 8
    if bits == 8:
        data = bytes(int(128 + 100 * math.sin(i / 5.0)) for i in range(frames * channels))
    else:
        data = b''.join(struct.pack('<h', int(20000 * math.sin(i / 5.0)))
                        for i in range(frames * channels))
    fmt = struct.pack('<HHIIHH', 1, channels, rate, rate * align, align, bits)
    body = (b'WAVE' + before_fmt + chunk(b'fmt ', fmt) + chunk(b'data', data) +
            chunk(b'LIST', b'INFOINAM' + struct.pack('<I', 4) + b'boom'))
    return b'RIFF' + struct.pack('<I', len(body)) + body


here = os.path.dirname(os.path.abspath(__file__))
# Output formats: 0 mono 11025, 3 stereo 22050, 4 mono 44100.
for selector in (0, 3, 4):
    for channels in (1, 2):
        for bits in (8, 16):
            for rate in (8000, 11025, 22050, 44100):
                frames = 37 if (channels + rate) % 2 else 40
                junk = chunk(b'JUNK', b'abc') if rate == 8000 else b''
                name = f'out{selector}_{channels}ch_{bits}bit_{rate}.bin'
                with open(os.path.join(here, name), 'wb') as seed:
                    seed.write(bytes([selector]) + image(channels, rate, bits, frames, junk))
