#!/usr/bin/env python3
"""Checks recorded frames (8-bit RGB PNG, as the program writes them).

  frames.py letterbox FILE...      bars black (the top and bottom eighth), the view lit
  frames.py bars-lit FILE          something drawn in the bars (the clock or the frame rate)
  frames.py alike A B LIMIT        mean absolute difference of A and B at most LIMIT (0..255)
  frames.py differ A B LIMIT       mean absolute difference of A and B above LIMIT
"""
import struct
import sys
import zlib


def read_png(path):
    data = open(path, 'rb').read()
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        raise SystemExit(f'{path}: not a PNG')
    pos, idat = 8, b''
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b'IHDR':
            width, height, depth, colour = struct.unpack('>IIBB', body[:10])
            if depth != 8 or colour != 2:
                raise SystemExit(f'{path}: not 8-bit RGB')
        elif kind == b'IDAT':
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 3
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for x in range(stride):
            a = line[x - 3] if x >= 3 else 0
            b = previous[x]
            c = previous[x - 3] if x >= 3 else 0
            if kind == 1:
                line[x] = (line[x] + a) & 255
            elif kind == 2:
                line[x] = (line[x] + b) & 255
            elif kind == 3:
                line[x] = (line[x] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(line))
        previous = line
    return width, height, rows


def brightest(rows):
    return max(max(row) for row in rows) if rows else 0


def letterbox(paths):
    for path in paths:
        width, height, rows = read_png(path)
        bar = height // 8
        if brightest(rows[:bar]) > 0 or brightest(rows[height - bar:]) > 0:
            raise SystemExit(f'{path}: the bars are not black')
        view = rows[bar:height - bar]
        lit = sum(1 for row in view for value in row if value > 24)
        if lit < len(view) * width * 3 // 100:
            raise SystemExit(f'{path}: the view is not lit ({lit} bright samples)')


def bars_lit(path):
    width, height, rows = read_png(path)
    bar = height // 8
    if brightest(rows[:bar]) == 0 and brightest(rows[height - bar:]) == 0:
        raise SystemExit(f'{path}: nothing in the bars')


def difference(a, b):
    wa, ha, ra = read_png(a)
    wb, hb, rb = read_png(b)
    if (wa, ha) != (wb, hb):
        raise SystemExit(f'{a} is {wa}x{ha}, {b} is {wb}x{hb}')
    total = sum(abs(x - y) for row_a, row_b in zip(ra, rb) for x, y in zip(row_a, row_b))
    return total / (wa * ha * 3)


def main(argv):
    command = argv[1]
    if command == 'letterbox':
        letterbox(argv[2:])
    elif command == 'bars-lit':
        bars_lit(argv[2])
    elif command in ('alike', 'differ'):
        value, limit = difference(argv[2], argv[3]), float(argv[4])
        if (value > limit) if command == 'alike' else (value <= limit):
            raise SystemExit(f'{argv[2]} and {argv[3]}: mean difference {value:.2f}, limit {limit}')
        print(f'mean difference {value:.2f}')
    else:
        raise SystemExit(__doc__)


main(sys.argv)
