"""Drawing helpers over Pillow: anti-aliased masks, gradients, glows and text.

Everything works on RGBA images (straight alpha) and 'L' masks of the same size. Shapes are
drawn supersampled and reduced, so their edges are anti-aliased. Coordinates are pixel edges:
a rectangle (0, 0, 10, 4) covers exactly the pixels 0..9 x 0..3.
"""

import math
import os
import subprocess

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

SS = 4  # supersampling factor of shape masks


# ----------------------------------------------------------------------------- colours

def rgb(colour, alpha=255):
    """'#rrggbb' or an (r, g, b[, a]) tuple as an (r, g, b, a) tuple."""
    if isinstance(colour, str):
        colour = colour.lstrip("#")
        return (int(colour[0:2], 16), int(colour[2:4], 16), int(colour[4:6], 16), alpha)
    if len(colour) == 3:
        return tuple(colour) + (alpha,)
    return tuple(colour)


def mix(a, b, t):
    """Linear blend of two colours, t = 0 gives a."""
    a, b = rgb(a), rgb(b)
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(4))


def with_alpha(color, alpha):
    c = rgb(color)
    return (c[0], c[1], c[2], int(alpha))


# ----------------------------------------------------------------------------- images

def canvas(size, color=(0, 0, 0, 0)):
    return Image.new("RGBA", size, rgb(color))


def solid(size, color):
    return Image.new("RGBA", size, rgb(color))


def blank_mask(size, value=0):
    return Image.new("L", size, value)


def _big(size):
    return Image.new("L", (size[0] * SS, size[1] * SS), 0)


def _done(big):
    return big.reduce(SS)


def rect_mask(size, x0, y0, x1, y1):
    big = _big(size)
    ImageDraw.Draw(big).rectangle([x0 * SS, y0 * SS, x1 * SS - 1, y1 * SS - 1], fill=255)
    return _done(big)


def rrect_mask(size, x0, y0, x1, y1, r):
    big = _big(size)
    ImageDraw.Draw(big).rounded_rectangle(
        [x0 * SS, y0 * SS, x1 * SS - 1, y1 * SS - 1], radius=max(0, r * SS), fill=255)
    return _done(big)


def ellipse_mask(size, cx, cy, rx, ry=None):
    ry = rx if ry is None else ry
    big = _big(size)
    ImageDraw.Draw(big).ellipse(
        [(cx - rx) * SS, (cy - ry) * SS, (cx + rx) * SS - 1, (cy + ry) * SS - 1], fill=255)
    return _done(big)


def ring_mask(size, cx, cy, r0, r1):
    """The annulus r0 <= r <= r1 around (cx, cy)."""
    return sub(ellipse_mask(size, cx, cy, r1), ellipse_mask(size, cx, cy, r0))


def poly_mask(size, points):
    big = _big(size)
    ImageDraw.Draw(big).polygon([(x * SS, y * SS) for x, y in points], fill=255)
    return _done(big)


def line_mask(size, points, width, round_caps=True):
    big = _big(size)
    d = ImageDraw.Draw(big)
    pts = [(x * SS, y * SS) for x, y in points]
    d.line(pts, fill=255, width=max(1, int(round(width * SS))), joint="curve")
    if round_caps:
        r = width * SS / 2.0
        for x, y in (pts[0], pts[-1]):
            d.ellipse([x - r, y - r, x + r, y + r], fill=255)
    return _done(big)


def arc_mask(size, cx, cy, r, a0, a1, width, round_caps=False, step=1.0):
    """A stroke along the circle of radius r from screen angle a0 to a1 (degrees, clockwise
    on screen, 0 = pointing right)."""
    n = max(2, int(abs(a1 - a0) / step) + 1)
    pts = []
    for i in range(n):
        a = math.radians(a0 + (a1 - a0) * i / (n - 1))
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return line_mask(size, pts, width, round_caps)


def sector_mask(size, cx, cy, r0, r1, a0, a1, step=0.5):
    """The part of the annulus r0..r1 between screen angles a0 and a1 (degrees)."""
    n = max(2, int(abs(a1 - a0) / step) + 1)
    outer = [(cx + r1 * math.cos(math.radians(a0 + (a1 - a0) * i / (n - 1))),
              cy + r1 * math.sin(math.radians(a0 + (a1 - a0) * i / (n - 1)))) for i in range(n)]
    inner = [(cx + r0 * math.cos(math.radians(a1 - (a1 - a0) * i / (n - 1))),
              cy + r0 * math.sin(math.radians(a1 - (a1 - a0) * i / (n - 1)))) for i in range(n)]
    return poly_mask(size, outer + inner)


# ----------------------------------------------------------------------------- mask algebra

def union(*masks):
    out = masks[0]
    for m in masks[1:]:
        out = ImageChops.lighter(out, m)
    return out


def inter(a, b):
    return ImageChops.multiply(a, b)


def sub(a, b):
    return ImageChops.subtract(a, b)


def invert(m):
    return ImageChops.invert(m)


def scale_mask(m, factor):
    return m.point(lambda v: int(v * factor + 0.5))


def shift(m, dx, dy):
    out = Image.new(m.mode, m.size, 0)
    out.paste(m, (dx, dy))
    return out


def blur(m, radius):
    return m.filter(ImageFilter.GaussianBlur(radius))


def grow(m, pixels):
    """Dilates a mask by about `pixels` (rounded outline)."""
    return blur(m, pixels * 0.6).point(lambda v: 255 if v > 8 else int(v * 255 / 8))


def shrink(m, pixels):
    return invert(grow(invert(m), pixels))


def edge_inner(m, width=1.0):
    """A band of about `width` pixels just inside the edge of a mask."""
    return sub(m, shrink(m, width))


# ----------------------------------------------------------------------------- painting

def fill(img, m, paint, opacity=1.0):
    """Composites paint (a colour or an RGBA image) through mask m onto img, in place."""
    src = solid(img.size, paint) if not isinstance(paint, Image.Image) else paint.copy()
    a = ImageChops.multiply(src.getchannel("A"), m)
    if opacity < 1.0:
        a = scale_mask(a, opacity)
    src.putalpha(a)
    img.alpha_composite(src)
    return img


def paste_over(img, src, xy=(0, 0)):
    layer = canvas(img.size)
    layer.paste(src, xy)
    img.alpha_composite(layer)
    return img


def glow(img, m, color, radius, strength=1.0):
    """A soft light around (and under) the shape m."""
    g = blur(m, radius)
    if strength != 1.0:
        g = g.point(lambda v: min(255, int(v * strength)))
    return fill(img, g, color)


def field(size, fn):
    """An 'L' image whose pixel (x, y) is fn(x + 0.5, y + 0.5) in 0..1 scaled to 0..255."""
    w, h = size
    data = bytearray(w * h)
    i = 0
    for y in range(h):
        fy = y + 0.5
        for x in range(w):
            v = fn(x + 0.5, fy)
            data[i] = 0 if v <= 0 else 255 if v >= 1 else int(v * 255 + 0.5)
            i += 1
    return Image.frombytes("L", size, bytes(data))


def colorize(t, stops):
    """Maps an 'L' image through colour stops [(pos 0..1, colour), ...] to RGBA."""
    stops = [(p, rgb(c)) for p, c in stops]
    luts = [[], [], [], []]
    for v in range(256):
        p = v / 255.0
        if p <= stops[0][0]:
            c = stops[0][1]
        elif p >= stops[-1][0]:
            c = stops[-1][1]
        else:
            for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
                if p0 <= p <= p1:
                    c = mix(c0, c1, (p - p0) / (p1 - p0) if p1 > p0 else 0)
                    break
        for k in range(4):
            luts[k].append(c[k])
    return Image.merge("RGBA", [t.point(luts[k]) for k in range(4)])


def vgrad(size, stops, y0=0, y1=None):
    """Vertical gradient between rows y0 and y1."""
    w, h = size
    y1 = h if y1 is None else y1
    col = Image.new("L", (1, h))
    col.putdata([max(0, min(255, int((y + 0.5 - y0) / max(1e-6, y1 - y0) * 255 + 0.5)))
                 for y in range(h)])
    return colorize(col.resize((w, h), Image.NEAREST), stops)


def hgrad(size, stops, x0=0, x1=None):
    w, h = size
    x1 = w if x1 is None else x1
    row = Image.new("L", (w, 1))
    row.putdata([max(0, min(255, int((x + 0.5 - x0) / max(1e-6, x1 - x0) * 255 + 0.5)))
                 for x in range(w)])
    return colorize(row.resize((w, h), Image.NEAREST), stops)


def lgrad(size, p0, p1, stops):
    """Linear gradient from point p0 (t = 0) to p1 (t = 1)."""
    dx, dy = p1[0] - p0[0], p1[1] - p0[1]
    n = dx * dx + dy * dy or 1.0
    return colorize(field(size, lambda x, y: ((x - p0[0]) * dx + (y - p0[1]) * dy) / n), stops)


def rgrad(size, cx, cy, r, stops, box=None):
    """Radial gradient, t = distance / r. `box` limits the computation to (x0, y0, x1, y1)."""
    if box is None:
        return colorize(field(size, lambda x, y: math.hypot(x - cx, y - cy) / r), stops)
    x0, y0, x1, y1 = box
    part = colorize(field((x1 - x0, y1 - y0),
                          lambda x, y: math.hypot(x + x0 - cx, y + y0 - cy) / r), stops)
    out = canvas(size, stops[-1][1])
    out.paste(part, (x0, y0))
    return out


def cgrad(size, cx, cy, stops, offset=0.0, box=None):
    """Conic gradient: t = screen angle / 360 (0 = pointing right, clockwise), plus offset."""
    def t(x, y):
        return ((math.degrees(math.atan2(y - cy, x - cx)) + offset) % 360.0) / 360.0
    if box is None:
        return colorize(field(size, t), stops)
    x0, y0, x1, y1 = box
    part = colorize(field((x1 - x0, y1 - y0), lambda x, y: t(x + x0, y + y0)), stops)
    out = canvas(size)
    out.paste(part, (x0, y0))
    return out


def noise(size, sigma, seed_shift=0):
    """Grey noise around 128 (deterministic for a given size)."""
    w, h = size
    n = Image.effect_noise((w + seed_shift, h), sigma)
    return n.crop((seed_shift, 0, seed_shift + w, h))


def texture(img, m, amount, sigma=40, streak=0, seed_shift=0):
    """Adds a fine grain (optionally stretched horizontally into brushed streaks) inside m."""
    w, h = img.size
    n = noise((w, h), sigma, seed_shift)
    if streak:
        n = n.resize((max(1, w // streak), h), Image.BILINEAR).resize((w, h), Image.BICUBIC)
    light = n.point(lambda v: max(0, v - 128) * 2)
    dark = n.point(lambda v: max(0, 128 - v) * 2)
    fill(img, inter(scale_mask(light, amount), m), (255, 255, 255, 255))
    fill(img, inter(scale_mask(dark, amount), m), (0, 0, 0, 255))
    return img


def flatten(img, backdrop):
    """img composited over an opaque backdrop (a colour or an image): a fully opaque image."""
    base = solid(img.size, backdrop) if not isinstance(backdrop, Image.Image) else backdrop.copy()
    base = base.convert("RGBA")
    base.putalpha(255)
    base.alpha_composite(img)
    return base


# ----------------------------------------------------------------------------- text

def _find_font(pattern):
    try:
        out = subprocess.run(["fc-match", "-f", "%{file}", pattern], capture_output=True,
                             text=True, check=True).stdout.strip()
        if out and os.path.exists(out):
            return out
    except (OSError, subprocess.CalledProcessError):
        pass
    return None


_CJK = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
_fonts = {}


def font(size, kind="cjk"):
    """kind: 'cjk' (WenQuanYi Micro Hei, every label), 'sans' and 'bold' (Latin display)."""
    key = (size, kind)
    if key not in _fonts:
        path = None
        if kind == "sans":
            path = _find_font("DejaVu Sans:style=Book")
        elif kind == "bold":
            path = _find_font("DejaVu Sans:style=Bold")
        elif kind == "cond":
            path = _find_font("DejaVu Sans:style=Condensed Bold")
        if path is None or not path.endswith((".ttf", ".otf", ".ttc")):
            path = _CJK
        if not os.path.exists(path):
            raise SystemExit("font missing: %s (install fonts-wqy-microhei)" % path)
        _fonts[key] = ImageFont.truetype(path, size)
    return _fonts[key]


def text_size(s, fnt, spacing=0):
    if spacing:
        return sum(text_size(ch, fnt)[0] for ch in s) + spacing * (len(s) - 1), fnt.size
    box = fnt.getbbox(s)
    return box[2] - box[0], box[3] - box[1]


def text_mask(size, xy, s, fnt, anchor="la", spacing=0, stroke=0):
    m = blank_mask(size)
    d = ImageDraw.Draw(m)
    if spacing:
        total = text_size(s, fnt, spacing)[0]
        x, y = xy
        if anchor[0] == "m":
            x -= total / 2.0
        elif anchor[0] == "r":
            x -= total
        a = "l" + anchor[1]
        for ch in s:
            d.text((x, y), ch, font=fnt, fill=255, anchor=a, stroke_width=stroke,
                   stroke_fill=255)
            x += text_size(ch, fnt)[0] + spacing
    else:
        d.text(xy, s, font=fnt, fill=255, anchor=anchor, stroke_width=stroke, stroke_fill=255)
    return m


def text(img, xy, s, fnt, color, anchor="la", spacing=0, stroke=0, shadow=None):
    """Draws text; shadow = (dx, dy, colour) for an embossed look."""
    if shadow is not None:
        dx, dy, sc = shadow
        fill(img, text_mask(img.size, (xy[0] + dx, xy[1] + dy), s, fnt, anchor, spacing,
                            stroke), sc)
    fill(img, text_mask(img.size, xy, s, fnt, anchor, spacing, stroke), color)
    return img


def vtext(img, cx, y, s, fnt, color, gap=1, shadow=None):
    """Chinese text set vertically, centred on x = cx, starting at y."""
    for ch in s:
        text(img, (cx, y), ch, fnt, color, anchor="mt", shadow=shadow)
        y += fnt.size + gap
    return img
