#!/usr/bin/env python3
"""Draws the installer's artwork: the picture-button icons (PNG) and the
banner bitmaps (BMP) of the page header, the side panel and the progress
dialogs. Pure standard library, deterministic output.

Shapes are signed distance functions (negative inside, in pixels); a pixel's
coverage is 0.5 - distance clamped to [0, 1], which anti-aliases every edge
without supersampling.

    make_artwork.py OUTPUT_FOLDER
"""
import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------- shapes


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ring(cx, cy, r, w):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - w / 2


def segment(ax, ay, bx, by, w):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy or 1e-9

    def d(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - w / 2
    return d


def arc(cx, cy, r, w, a0, a1):
    """Ring piece from angle a0 to a1 (degrees, clockwise on screen), round ends."""
    a0r, a1r = math.radians(a0), math.radians(a1)
    ends = [(cx + r * math.cos(a), cy + r * math.sin(a)) for a in (a0r, a1r)]
    span = (a1 - a0) % 360

    def d(x, y):
        angle = (math.degrees(math.atan2(y - cy, x - cx)) - a0) % 360
        if angle <= span:
            return abs(math.hypot(x - cx, y - cy) - r) - w / 2
        return min(math.hypot(x - ex, y - ey) for ex, ey in ends) - w / 2
    return d


def rrect(x0, y0, x1, y1, rad=0.0):
    cx, cy, hx, hy = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2 - rad, (y1 - y0) / 2 - rad

    def d(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - rad
    return d


def polygon(points):
    n = len(points)

    def d(x, y):
        best = float("inf")
        inside = False
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            ex, ey = bx - ax, by - ay
            t = max(0.0, min(1.0, ((x - ax) * ex + (y - ay) * ey) / ((ex * ex + ey * ey) or 1e-9)))
            best = min(best, math.hypot(x - ax - t * ex, y - ay - t * ey))
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / (by - ay):
                inside = not inside
        return -best if inside else best
    return d


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def minus(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def inset(shape, amount):
    return lambda x, y: shape(x, y) + amount


def band(shape, width):
    """The inner edge of a shape, `width` pixels wide."""
    return lambda x, y: max(shape(x, y), -(shape(x, y) + width))


def scaled(shape, k):
    """Shape designed in units, drawn at k pixels per unit."""
    return lambda x, y: shape(x / k, y / k) * k


# ---------------------------------------------------------------- canvas


def hexcolor(text, alpha=1.0):
    text = text.lstrip("#")
    return (int(text[0:2], 16) / 255, int(text[2:4], 16) / 255, int(text[4:6], 16) / 255, alpha)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(4))


class Canvas:
    def __init__(self, width, height, background=(0, 0, 0, 0)):
        self.w, self.h = width, height
        r, g, b, a = background
        self.px = [[(r * a, g * a, b * a, a) for _ in range(width)] for _ in range(height)]

    def fill(self, shape, paint, box=None):
        """Composites `paint` (a colour or a function of x, y) over the pixels the shape covers."""
        x0, y0, x1, y1 = box or (0, 0, self.w, self.h)
        for y in range(max(0, y0), min(self.h, y1)):
            row = self.px[y]
            fy = y + 0.5
            for x in range(max(0, x0), min(self.w, x1)):
                fx = x + 0.5
                cover = 0.5 - shape(fx, fy)
                if cover <= 0:
                    continue
                c = paint(fx, fy) if callable(paint) else paint
                a = c[3] * min(1.0, cover)
                r, g, b, da = row[x]
                k = 1 - a
                row[x] = (c[0] * a + r * k, c[1] * a + g * k, c[2] * a + b * k, a + da * k)

    def styled(self, shape, top, bottom, edge, y0=0, y1=None, edge_width=1.0):
        """Fill with a vertical gradient, then a darker inner edge."""
        y1 = self.h if y1 is None else y1
        self.fill(shape, lambda x, y: mix(top, bottom, (y - y0) / max(1, y1 - y0)))
        self.fill(band(shape, edge_width), edge)

    def rgba_rows(self):
        for row in self.px:
            out = bytearray()
            for r, g, b, a in row:
                if a > 0:
                    out += bytes((round(min(1, r / a) * 255), round(min(1, g / a) * 255),
                                  round(min(1, b / a) * 255), round(a * 255)))
                else:
                    out += b"\0\0\0\0"
            yield bytes(out)

    def save_png(self, path):
        raw = b"".join(b"\0" + row for row in self.rgba_rows())

        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
        data = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
        write(path, data)

    def save_bmp(self, path):
        stride = (self.w * 3 + 3) & ~3
        rows = []
        for row in self.px:
            line = bytearray()
            for r, g, b, a in row:  # opaque banners: premultiplied equals straight
                line += bytes((round(b * 255), round(g * 255), round(r * 255)))
            rows.append(bytes(line) + b"\0" * (stride - len(line)))
        pixels = b"".join(reversed(rows))
        header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
        write(path, header + info + pixels)


def write(path, data):
    # Unchanged files keep their time stamps, so the resources are not rebuilt.
    if os.path.exists(path):
        with open(path, "rb") as f:
            if f.read() == data:
                return
    with open(path, "wb") as f:
        f.write(data)


# ---------------------------------------------------------------- palette

RED = (hexcolor("#F2675F"), hexcolor("#C62D28"), hexcolor("#8E1F1B", 0.55))
GREEN = (hexcolor("#5DCB77"), hexcolor("#218A43"), hexcolor("#135C2B", 0.55))
BLUE = (hexcolor("#5AA7EA"), hexcolor("#1F5FAE"), hexcolor("#123D73", 0.55))
ORANGE = (hexcolor("#FDBE4A"), hexcolor("#E07B12"), hexcolor("#9A5208", 0.55))
YELLOW = (hexcolor("#FFE066"), hexcolor("#F2A007"), hexcolor("#A86A00", 0.6))
STEEL = (hexcolor("#B9C3CE"), hexcolor("#6B7888"), hexcolor("#3D4652", 0.6))
PURPLE = (hexcolor("#B58BE8"), hexcolor("#6C3FB5"), hexcolor("#43247A", 0.6))
WHITE = hexcolor("#FFFFFF")
SHADOW = hexcolor("#000000", 0.18)


def icon(size, draw):
    """Draws a design made for a 24-unit square at `size` pixels."""
    c = Canvas(size, size)
    draw(c, size / 24.0)
    return c


def with_shadow(c, shape):
    c.fill(lambda x, y: shape(x - 0.6, y - 0.9) + 0.2, SHADOW)


def styled_units(c, k, shape_units, colors):
    shape = scaled(shape_units, k)
    c.styled(shape, *colors)
    return shape


# ---------------------------------------------------------------- icons


def run_bolt(c, k):
    bolt = polygon([(13.5, 1.5), (4.5, 13.5), (11, 13.5), (9.5, 22.5), (19.5, 9.5), (12.8, 9.5), (15.5, 1.5)])
    with_shadow(c, scaled(bolt, k))
    styled_units(c, k, bolt, YELLOW)


def cross_in_disc(c, k):
    disc = circle(12, 12, 10.5)
    with_shadow(c, scaled(disc, k))
    styled_units(c, k, disc, RED)
    cross = union(segment(8, 8, 16, 16, 2.8), segment(16, 8, 8, 16, 2.8))
    c.fill(scaled(cross, k), WHITE)


def bold_cross(c, k):
    cross = union(segment(5.5, 5.5, 18.5, 18.5, 5.2), segment(18.5, 5.5, 5.5, 18.5, 5.2))
    with_shadow(c, scaled(cross, k))
    styled_units(c, k, cross, RED)


def download_arrow(colors):
    def draw(c, k):
        arrow = polygon([(9.3, 2), (14.7, 2), (14.7, 9.5), (19, 9.5), (12, 16.5), (5, 9.5), (9.3, 9.5)])
        tray = union(segment(3.5, 16.5, 3.5, 20.5, 2.6), segment(3.5, 20.5, 20.5, 20.5, 2.6),
                     segment(20.5, 20.5, 20.5, 16.5, 2.6))
        with_shadow(c, scaled(union(arrow, tray), k))
        styled_units(c, k, tray, STEEL)
        styled_units(c, k, arrow, colors)
    return draw


def arrowhead(tipx, tipy, dirx, diry, size):
    """Triangle pointing along (dirx, diry) with its tip at (tipx, tipy)."""
    length = math.hypot(dirx, diry)
    ux, uy = dirx / length, diry / length
    bx, by = tipx - ux * size, tipy - uy * size
    return polygon([(tipx, tipy), (bx - uy * size * 0.75, by + ux * size * 0.75),
                    (bx + uy * size * 0.75, by - ux * size * 0.75)])


def circular_arrows(colors, width=2.9):
    def draw(c, k):
        r = 7.2
        parts = []
        for start in (200, 20):
            end = start + 125
            parts.append(arc(12, 12, r, width, start, end))
            a = math.radians(end + 4)
            tip = (12 + r * math.cos(a), 12 + r * math.sin(a))
            tangent = (-math.sin(a), math.cos(a))
            parts.append(arrowhead(tip[0] + tangent[0] * 2.6, tip[1] + tangent[1] * 2.6,
                                   tangent[0], tangent[1], 4.4))
        shape = union(*parts)
        with_shadow(c, scaled(shape, k))
        styled_units(c, k, shape, colors)
    return draw


def document(c, k):
    page = polygon([(4.5, 1.5), (14.5, 1.5), (19.5, 6.5), (19.5, 22.5), (4.5, 22.5)])
    with_shadow(c, scaled(page, k))
    c.styled(scaled(page, k), WHITE, hexcolor("#E6EAF0"), hexcolor("#5E6B7A", 0.8))
    c.fill(scaled(polygon([(14.5, 1.5), (19.5, 6.5), (14.5, 6.5)]), k), hexcolor("#C5CDD8"))
    c.fill(scaled(rrect(2.5, 12, 16.5, 18, 1.2), k), hexcolor("#D0352E"))
    for y in (8.5, 10.2):
        c.fill(scaled(segment(7, y, 16.5, y, 0.9), k), hexcolor("#8C98A8"))
    for x in (5.3, 9.0, 12.7):
        c.fill(scaled(rrect(x - 0.9 + 0.3, 13.6, x + 1.7, 16.4, 0.5), k), WHITE)


def check_disc(c, k):
    disc = circle(12, 12, 10.5)
    with_shadow(c, scaled(disc, k))
    styled_units(c, k, disc, GREEN)
    c.fill(scaled(union(segment(7, 12.5, 10.5, 16, 2.8), segment(10.5, 16, 17, 8.5, 2.8)), k), WHITE)


def swap_arrows(c, k):
    top = union(segment(4, 8, 15, 8, 2.8), arrowhead(20.5, 8, 1, 0, 5.5))
    bottom = union(segment(9, 16, 20, 16, 2.8), arrowhead(3.5, 16, -1, 0, 5.5))
    with_shadow(c, scaled(union(top, bottom), k))
    styled_units(c, k, top, BLUE)
    styled_units(c, k, bottom, GREEN)


def warning(c, k):
    tri = inset(polygon([(12, 2.5), (22, 20.5), (2, 20.5)]), -1.0)
    with_shadow(c, scaled(tri, k))
    styled_units(c, k, tri, ORANGE)
    c.fill(scaled(segment(12, 8.5, 12, 14, 2.4), k), WHITE)
    c.fill(scaled(circle(12, 17.3, 1.4), k), WHITE)


def info_disc(c, k):
    disc = circle(12, 12, 10.5)
    with_shadow(c, scaled(disc, k))
    styled_units(c, k, disc, BLUE)
    c.fill(scaled(circle(12, 6.9, 1.7), k), WHITE)
    c.fill(scaled(union(segment(12, 10.6, 12, 17.2, 3.0), segment(9.6, 17.6, 14.4, 17.6, 1.6),
                        segment(10, 10.4, 12, 10.4, 1.6)), k), WHITE)


def film_strip(c, k):
    strip = rrect(2, 3.5, 22, 20.5, 2)
    with_shadow(c, scaled(strip, k))
    c.styled(scaled(strip, k), hexcolor("#4A5563"), hexcolor("#22272E"), hexcolor("#111418", 0.8))
    for i in range(5):
        x = 3.6 + i * 3.9
        for y in (4.8, 17.4):
            c.fill(scaled(rrect(x, y, x + 2.2, y + 1.8, 0.4), k), hexcolor("#E9EDF2"))
    for x0 in (4.5, 12.5):
        c.fill(scaled(rrect(x0, 8, x0 + 7, 16, 0.8), k),
               lambda x, y: mix(hexcolor("#8FD0FF"), hexcolor("#2C7BC9"), (y / k - 8) / 8))


def flask(c, k):
    body = union(polygon([(9.5, 2.5), (14.5, 2.5), (14.5, 9), (20.5, 19.5), (19.3, 21.5),
                          (4.7, 21.5), (3.5, 19.5), (9.5, 9)]))
    with_shadow(c, scaled(body, k))
    c.styled(scaled(body, k), hexcolor("#FFFFFF"), hexcolor("#E3E8EF"), hexcolor("#4F5B69", 0.9), edge_width=1.2)
    liquid = minus(inset(body, 1.2), rrect(0, 0, 24, 13.2))
    c.fill(scaled(liquid, k), lambda x, y: mix(PURPLE[0], PURPLE[1], (y / k - 13) / 8))
    for bx, by, br in ((10, 17, 1.1), (14, 18.6, 0.8), (12.4, 15.3, 0.6)):
        c.fill(scaled(circle(bx, by, br), k), hexcolor("#FFFFFF", 0.75))
    c.fill(scaled(segment(8.5, 2.5, 15.5, 2.5, 1.6), k), hexcolor("#4F5B69"))


def globe(c, k):
    disc = circle(12, 12, 10.5)
    with_shadow(c, scaled(disc, k))
    styled_units(c, k, disc, BLUE)
    ellipse = lambda x, y: (math.hypot((x - 12) / 4.6, (y - 12) / 10.5) - 1) * 4.6
    lines = union(lambda x, y: abs(ellipse(x, y)) - 0.6, segment(12, 1.5, 12, 22.5, 1.2),
                  segment(1.5, 12, 22.5, 12, 1.2), segment(3.5, 7, 20.5, 7, 1.0), segment(3.5, 17, 20.5, 17, 1.0))
    c.fill(scaled(lambda x, y: max(lines(x, y), disc(x, y) + 1.2), k), hexcolor("#FFFFFF", 0.9))


def gear(c, k):
    def shape(x, y):
        dx, dy = x - 12, y - 12
        a = math.atan2(dy, dx)
        r = math.hypot(dx, dy)
        tooth = 1.0 if math.cos(8 * a) > 0.15 else 0.0
        return r - (7.4 + 2.4 * tooth)
    teeth = lambda x, y: shape(x, y)
    body = minus(teeth, circle(12, 12, 3.4))
    with_shadow(c, scaled(body, k))
    styled_units(c, k, body, STEEL)


def bin_icon(c, k):
    body = polygon([(5.5, 7.5), (18.5, 7.5), (17.3, 22), (6.7, 22)])
    lid = union(rrect(3.5, 4.5, 20.5, 7, 1), rrect(9.5, 2, 14.5, 5, 1))
    with_shadow(c, scaled(union(body, lid), k))
    styled_units(c, k, body, STEEL)
    styled_units(c, k, lid, STEEL)
    for x in (9.2, 12, 14.8):
        c.fill(scaled(segment(x, 10, x - (x - 12) * 0.1, 19.5, 1.1), k), hexcolor("#FFFFFF", 0.85))


def cloud_download(c, k):
    cloud = union(circle(8, 12.5, 4.8), circle(13.5, 9.5, 6.2), circle(18, 13.5, 4.2), rrect(4, 12.5, 20.5, 17.7, 2.5))
    with_shadow(c, scaled(cloud, k))
    styled_units(c, k, cloud, BLUE)
    arrow = polygon([(11, 9), (14, 9), (14, 15), (17, 15), (12.5, 20.8), (8, 15), (11, 15)])
    c.fill(scaled(inset(arrow, -0.9), k), hexcolor("#1F5FAE"))
    c.fill(scaled(arrow, k), WHITE)


def folder_window(c, k):
    back = polygon([(2.5, 4.5), (9, 4.5), (11, 6.8), (21.5, 6.8), (21.5, 20.5), (2.5, 20.5)])
    with_shadow(c, scaled(back, k))
    c.styled(scaled(back, k), hexcolor("#F6C85F"), hexcolor("#D9941E"), hexcolor("#8F5E0C", 0.6))
    c.fill(scaled(rrect(4.5, 8.5, 19.5, 12, 0.5), k), WHITE)
    front = polygon([(2.5, 10.5), (21.5, 10.5), (21.5, 20.5), (2.5, 20.5)])
    c.styled(scaled(front, k), hexcolor("#FFE08A"), hexcolor("#F0AE2E"), hexcolor("#8F5E0C", 0.6))


def install_all(c, k):
    bracket = union(segment(4, 12, 4, 21, 2.6), segment(4, 21, 20, 21, 2.6), segment(20, 21, 20, 12, 2.6))
    arrow = polygon([(9.6, 1.5), (14.4, 1.5), (14.4, 9.5), (18.5, 9.5), (12, 17), (5.5, 9.5), (9.6, 9.5)])
    with_shadow(c, scaled(union(arrow, bracket), k))
    styled_units(c, k, bracket, BLUE)
    styled_units(c, k, arrow, GREEN)


def emblem(c, k, cx=12, cy=12, r=11, on_dark=False):
    """The product emblem: a lens with a six-bladed aperture."""
    outer = circle(cx, cy, r)
    if not on_dark:
        with_shadow(c, scaled(outer, k))
    c.styled(scaled(outer, k), hexcolor("#2B6CB0"), hexcolor("#0F2F5C"), hexcolor("#0A1F3D", 0.8),
             y0=(cy - r) * k, y1=(cy + r) * k)
    c.fill(scaled(ring(cx, cy, r * 0.82, r * 0.06), k), hexcolor("#9CC9F2", 0.8))
    blades = 6
    inner = r * 0.70
    hole = r * 0.30
    for i in range(blades):
        a = math.radians(i * 360 / blades + 15)
        b = math.radians((i + 1) * 360 / blades + 15)
        p1 = (cx + inner * math.cos(a), cy + inner * math.sin(a))
        p2 = (cx + inner * math.cos(b), cy + inner * math.sin(b))
        p3 = (cx + hole * math.cos(b + 0.55), cy + hole * math.sin(b + 0.55))
        p4 = (cx + hole * math.cos(a + 0.55), cy + hole * math.sin(a + 0.55))
        shade = 0.45 + 0.45 * (0.5 + 0.5 * math.cos(a - math.radians(230)))
        c.fill(scaled(polygon([p1, p2, p3, p4]), k), mix(hexcolor("#1B4F8A"), hexcolor("#5FA8E8"), shade))
        c.fill(scaled(segment(p2[0], p2[1], p3[0], p3[1], r * 0.025), k), hexcolor("#0A1F3D", 0.7))
    c.fill(scaled(circle(cx, cy, hole * 1.05), k),
           lambda x, y: mix(hexcolor("#4FE3D2"), hexcolor("#0E8C8C"), math.hypot(x / k - cx, y / k - cy) / hole))
    c.fill(scaled(circle(cx - hole * 0.35, cy - hole * 0.35, hole * 0.28), k), hexcolor("#FFFFFF", 0.85))


ICONS = {
    # 24 x 24
    188: (24, run_bolt), 189: (24, cross_in_disc), 190: (24, bold_cross), 191: (24, download_arrow(GREEN)),
    192: (24, circular_arrows(ORANGE)), 194: (24, document), 196: (24, check_disc), 197: (24, swap_arrows),
    199: (24, warning), 206: (24, info_disc), 207: (24, film_strip), 210: (24, flask), 211: (24, globe),
    213: (24, circular_arrows(BLUE)),
    # 32 x 32
    193: (32, gear), 201: (32, bin_icon), 202: (32, cloud_download), 203: (32, circular_arrows(BLUE, 2.6)),
    204: (32, download_arrow(BLUE)), 208: (32, folder_window), 209: (32, install_all),
    # 64 x 64
    205: (64, emblem),
}

# ---------------------------------------------------------------- banners


def sweeping_arcs(c, origin, radii, color, width):
    ox, oy = origin
    for i, r in enumerate(radii):
        shade = (color[0], color[1], color[2], color[3] * (1 - i / (len(radii) + 1)))
        c.fill(ring(ox, oy, r, width), shade)


def header_banner(width, height):
    light, tint = hexcolor("#FFFFFF"), hexcolor("#DCE7F3")

    def background(x, y):
        t = max(0.0, (x / width - 0.35) / 0.65)
        return mix(light, tint, t * t)
    c = Canvas(width, height, WHITE)
    c.fill(lambda x, y: -1, background)
    sweeping_arcs(c, (width + 60, height * 2.6), [150 + 22 * i for i in range(7)], hexcolor("#2B6CB0", 0.16), 1.6)
    sweeping_arcs(c, (width - 40, -height * 1.4), [120 + 30 * i for i in range(4)], hexcolor("#1FA3A3", 0.14), 1.2)
    # The last columns stay plain: a control wider than the banner continues them.
    c.fill(rrect(width - 14, 0, width, height, 0), background, box=(width - 15, 0, width, height))
    k = (height - 16) / 24.0
    ex = (width - height / 2 - 22) / k
    emblem(c, k, cx=ex, cy=height / 2 / k, r=11)
    # The accent line along the bottom: teal fading into blue.
    c.fill(rrect(0, height - 3, width, height, 0),
           lambda x, y: mix(hexcolor("#1FA3A3"), hexcolor("#1F5FAE"), x / width))
    return c


def side_panel(width, height):
    top, bottom = hexcolor("#173E6E"), hexcolor("#0B2243")
    c = Canvas(width, height, top)
    c.fill(lambda x, y: -1, lambda x, y: mix(top, bottom, y / height))
    sweeping_arcs(c, (-30, height + 40), [110 + 26 * i for i in range(8)], hexcolor("#5FA8E8", 0.16), 1.4)
    # A faint measuring grid in the lower half: the machine-vision view.
    for gy in range(int(height * 0.62), height - 20, 18):
        c.fill(segment(16, gy, width - 16, gy, 0.8), hexcolor("#9CC9F2", 0.10))
    for gx in range(16, width - 10, 18):
        c.fill(segment(gx, height * 0.62, gx, height - 24, 0.8), hexcolor("#9CC9F2", 0.10))
    cx, cy, r = width / 2, 96, 52
    c.fill(circle(cx, cy, r + 10), lambda x, y: hexcolor("#5FA8E8", 0.10 * max(0, 1 - math.hypot(x - cx, y - cy) / (r + 10))))
    emblem(c, 1.0, cx=cx, cy=cy, r=r, on_dark=True)
    # Crosshair marks around the emblem.
    for a in range(0, 360, 90):
        ar = math.radians(a)
        c.fill(segment(cx + (r + 8) * math.cos(ar), cy + (r + 8) * math.sin(ar),
                       cx + (r + 18) * math.cos(ar), cy + (r + 18) * math.sin(ar), 1.6), hexcolor("#4FE3D2", 0.7))
    c.fill(rrect(width - 3, 0, width, height, 0), lambda x, y: mix(hexcolor("#1FA3A3"), hexcolor("#1F5FAE"), y / height))
    return c


BANNERS = {129: (895, 70, header_banner), 134: (165, 470, side_panel), 138: (500, 70, header_banner)}


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for ident, (size, draw) in ICONS.items():
        icon(size, draw).save_png(os.path.join(out, "png_%d.png" % ident))
    for ident, (w, h, draw) in BANNERS.items():
        draw(w, h).save_bmp(os.path.join(out, "banner_%d.bmp" % ident))


if __name__ == "__main__":
    main()
