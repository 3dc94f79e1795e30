"""Frames as RGB bytes for the OBS test: a PNG reader (8-bit grey, RGB, RGBA and indexed, as OBS
and tolvek render write them) and the comparisons the test prints."""

import struct
import zlib


class Picture:
    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    def crop(self, x, y, w, h):
        rows = [self.rgb[((y + r) * self.width + x) * 3:((y + r) * self.width + x + w) * 3]
                for r in range(h)]
        return Picture(w, h, b"".join(rows))


def _unfilter(data, width, height, bpp):
    stride = width * bpp
    out = bytearray(height * stride)
    previous = bytearray(stride)
    pos = 0
    for y in range(height):
        kind = data[pos]
        row = bytearray(data[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        if kind == 1:
            for i in range(bpp, stride):
                row[i] = (row[i] + row[i - bpp]) & 0xFF
        elif kind == 2:
            for i in range(stride):
                row[i] = (row[i] + previous[i]) & 0xFF
        elif kind == 3:
            for i in range(stride):
                left = row[i - bpp] if i >= bpp else 0
                row[i] = (row[i] + ((left + previous[i]) >> 1)) & 0xFF
        elif kind == 4:
            for i in range(stride):
                a = row[i - bpp] if i >= bpp else 0
                b = previous[i]
                c = previous[i - bpp] if i >= bpp else 0
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                row[i] = (row[i] + pred) & 0xFF
        elif kind != 0:
            raise ValueError(f"PNG row filter {kind} unknown")
        out[y * stride:(y + 1) * stride] = row
        previous = row
    return out


def read_png(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG")
    pos, idat, palette = 8, b"", None
    width = height = depth = colour = interlace = None
    while pos < len(data):
        length, kind = struct.unpack("!I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack("!IIBBBBB", body)
        elif kind == b"PLTE":
            palette = body
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
    if depth != 8 or interlace != 0 or colour not in (0, 2, 3, 6):
        raise ValueError(f"{path}: PNG of depth {depth}, colour type {colour}, interlace "
                         f"{interlace} not read here")
    bpp = {0: 1, 2: 3, 3: 1, 6: 4}[colour]
    raw = _unfilter(zlib.decompress(idat), width, height, bpp)
    if colour == 2:
        rgb = bytes(raw)
    elif colour == 6:
        rgb = bytearray(width * height * 3)
        rgb[0::3], rgb[1::3], rgb[2::3] = raw[0::4], raw[1::4], raw[2::4]
        rgb = bytes(rgb)
    elif colour == 0:
        rgb = bytes(v for g in raw for v in (g, g, g))
    else:
        table = [palette[i * 3:i * 3 + 3] for i in range(len(palette) // 3)]
        table += [b"\0\0\0"] * (256 - len(table))
        rgb = b"".join(table[i] for i in raw)
    return Picture(width, height, rgb)


def difference(a, b):
    """(pixels that differ, largest difference of one channel) between two pictures of a size."""
    if (a.width, a.height) != (b.width, b.height):
        raise ValueError(f"sizes differ: {a.width}x{a.height} and {b.width}x{b.height}")
    if a.rgb == b.rgb:
        return 0, 0
    differing, largest = 0, 0
    for i in range(0, len(a.rgb), 3):
        d = max(abs(a.rgb[i] - b.rgb[i]), abs(a.rgb[i + 1] - b.rgb[i + 1]),
                abs(a.rgb[i + 2] - b.rgb[i + 2]))
        if d:
            differing += 1
            largest = max(largest, d)
    return differing, largest


def colours(picture):
    return len({picture.rgb[i:i + 3] for i in range(0, len(picture.rgb), 3)})
