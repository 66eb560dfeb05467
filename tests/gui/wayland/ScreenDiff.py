"""How many pixels differ between two screenshots of the same size (PNG,
8 bits per channel, RGB or RGBA, as weston-screenshooter writes them).
usage: ScreenDiff.py BEFORE.png AFTER.png  -> prints the count"""
import struct
import sys
import zlib


def read_png(path):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit(f"{path}: not a PNG file")
    pos, idat, width, height, channels = 8, b"", 0, 0, 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            channels = {2: 3, 6: 4}.get(colour)
            if depth != 8 or channels is None or body[12] != 0:
                sys.exit(f"{path}: only 8-bit RGB or RGBA without interlace")
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 0xFF
        rows.append(bytes(line))
        previous = line
    return width, height, channels, rows


def main():
    w1, h1, c1, before = read_png(sys.argv[1])
    w2, h2, c2, after = read_png(sys.argv[2])
    if (w1, h1, c1) != (w2, h2, c2):
        sys.exit("the screenshots differ in size or format")
    changed = 0
    for a, b in zip(before, after):
        if a == b:
            continue
        for x in range(0, len(a), c1):
            if a[x:x + 3] != b[x:x + 3]:
                changed += 1
    print(changed)


main()
