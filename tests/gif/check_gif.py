#!/usr/bin/python3
"""Decodes an animated GIF with PIL, a decoder of its own, and compares it
with the pictures it should show.

usage: check_gif.py GIF EXPECTED

EXPECTED holds a line "WIDTH HEIGHT COUNT DELAY_MS", then COUNT pictures of
WIDTH x HEIGHT pixels, 3 bytes (R, G, B) each, rows top first. The GIF must
show exactly these pictures in turn, DELAY_MS apart, looping for ever, with a
global palette of eight colours, and each picture after the first must cover
only the rectangle where it differs from the one before. Prints "ok" or what
differs, and exits 0 or 1.
"""
import sys

from PIL import Image


def changed_box(before, now, width, height):
    """(left, top, right, bottom) of the pixels that differ, exclusive; None
    when none does."""
    xs, ys = [], []
    for y in range(height):
        row = slice(3 * width * y, 3 * width * (y + 1))
        if before[row] == now[row]:
            continue
        ys.append(y)
        for x in range(width):
            i = 3 * (width * y + x)
            if before[i:i + 3] != now[i:i + 3]:
                xs.append(x)
    return (min(xs), min(ys), max(xs) + 1, max(ys) + 1) if ys else None


def check(gif_path, expected_path):
    with open(expected_path, 'rb') as f:
        width, height, count, delay = map(int, f.readline().split())
        size = 3 * width * height
        pictures = [f.read(size) for _ in range(count)]
    with open(gif_path, 'rb') as f:
        head = f.read(13)
    if head[:6] != b'GIF89a':
        return 'not a GIF89a file'
    if head[10] & 0x87 != 0x82:
        return 'the global palette is not of eight colours (flags %02X)' % head[10]
    image = Image.open(gif_path)
    if image.size != (width, height):
        return 'size %s, not %dx%d' % (image.size, width, height)
    if image.info.get('loop') != 0:
        return 'does not loop for ever (loop %s)' % image.info.get('loop')
    if image.n_frames != count:
        return '%d pictures, not %d' % (image.n_frames, count)
    for n in range(count):
        image.seek(n)
        if image.info.get('duration') != delay:
            return 'picture %d: delay %s ms, not %d' % (n, image.info.get('duration'), delay)
        left, top, right, bottom = image.tile[0][1]  # gone once the picture is loaded
        shown = image.convert('RGB').tobytes()
        if shown != pictures[n]:
            at = next(i for i in range(size) if shown[i] != pictures[n][i]) // 3
            return 'picture %d differs first at (%d, %d)' % (n, at % width, at // width)
        if n == 0:
            want = (0, 0, width, height)
        else:
            want = changed_box(pictures[n - 1], pictures[n], width, height) or (0, 0, 1, 1)
        if (left, top, right, bottom) != want:
            return 'picture %d covers %s, not the change %s' % (n, (left, top, right, bottom), want)
    return None


if __name__ == '__main__':
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    problem = check(sys.argv[1], sys.argv[2])
    print(problem or 'ok')
    sys.exit(1 if problem else 0)
