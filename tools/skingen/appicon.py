"""The application icon (resource 128, also the tray icon): a graphite tile with a red gauge ring
and the product's V, written as a multi-size .ico (bitmaps up to 64 pixels, PNG at 256)."""

import io
import struct

import paint as p
import theme as t

SIZES = (16, 20, 24, 32, 40, 48, 64, 256)


def picture(n):
    size = (n, n)
    img = p.canvas(size)
    m = max(0.5, n * 0.03)
    tile = p.rrect_mask(size, m, m, n - m, n - m, n * 0.22)
    p.fill(img, tile, p.vgrad(size, [(0.0, "#3a3d44"), (1.0, "#131417")]))
    if n >= 24:
        p.fill(img, p.edge_inner(tile, max(1.0, n / 48.0)), "#000000", 0.6)
    cx, cy, r = n / 2.0, n * 0.5, n * 0.33
    ring = p.arc_mask(size, cx, cy, r, 135, 405, max(1.2, n * 0.085), round_caps=True)
    if n >= 32:
        p.glow(img, ring, t.RED_BRIGHT, n * 0.03, 0.6)
    p.fill(img, ring, p.vgrad(size, [(0.0, "#ff4a57"), (1.0, "#b00f1e")]))
    k = n / 64.0
    v = [(-13, -11), (-6, -11), (0, 5), (6, -11), (13, -11), (3, 15), (-3, 15)]
    p.fill(img, p.poly_mask(size, [(cx + x * k, cy + y * k) for x, y in v]),
           p.vgrad(size, [(0.0, "#ffffff"), (1.0, "#ffc2c7")]))
    return img


def _bmp_entry(img):
    """An icon directory image in BMP form: BITMAPINFOHEADER, bottom-up BGRA, AND mask."""
    w, h = img.size
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    px = img.load()
    rows = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = px[x, y]
            rows += bytes((b, g, r, a))
    stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        line = bytearray(stride)
        for x in range(w):
            if px[x, y][3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + bytes(rows) + bytes(mask)


def write_ico(path):
    entries = []
    for n in SIZES:
        img = picture(n)
        if n >= 256:
            buf = io.BytesIO()
            img.save(buf, "PNG", optimize=True)
            data = buf.getvalue()
        else:
            data = _bmp_entry(img)
        entries.append((n, data))
    out = bytearray(struct.pack("<HHH", 0, 1, len(entries)))
    offset = 6 + 16 * len(entries)
    for n, data in entries:
        dim = 0 if n >= 256 else n
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in entries:
        out += data
    with open(path, "wb") as f:
        f.write(out)
