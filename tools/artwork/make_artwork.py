#!/usr/bin/python3
"""Draws the launcher's artwork into assets/: the window background, the
settings panel, every button in its states, the choice-box ticks, the
progress-bar pictures and the small animated emblem.

Needs Debian's python3-pil and fonts-wqy-microhei (and fonts-dejavu-core for
the title lettering). Run from anywhere:

    /usr/bin/python3 tools/artwork/make_artwork.py [OUTPUT_DIR]

The output is deterministic: the same script draws the same pictures.
"""

import math
import os
import random
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "..", "assets")

CJK_FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
TITLE_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"
LATIN_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"

WIDTH, HEIGHT = 680, 479
SS = 4  # supersampling factor for small, crisp pictures

GOLD_LIGHT = (255, 240, 196)
GOLD = (226, 182, 92)
GOLD_DARK = (122, 84, 34)
INK = (12, 9, 20)


# ---------------------------------------------------------------- helpers

def cjk(size):
    return ImageFont.truetype(CJK_FONT, size)


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(len(a)))


def vertical_gradient(size, stops):
    """stops: list of (position 0..1, RGB or RGBA)."""
    w, h = size
    column = Image.new("RGBA", (1, h))
    px = column.load()
    for y in range(h):
        t = y / max(1, h - 1)
        for i in range(len(stops) - 1):
            p0, c0 = stops[i]
            p1, c1 = stops[i + 1]
            if p0 <= t <= p1:
                c = lerp(c0 if len(c0) == 4 else c0 + (255,), c1 if len(c1) == 4 else c1 + (255,),
                         (t - p0) / max(1e-6, p1 - p0))
                px[0, y] = c
                break
    return column.resize((w, h), Image.NEAREST)


def horizontal_gradient(size, stops):
    w, h = size
    return vertical_gradient((h, w), stops).transpose(Image.Transpose.ROTATE_270).transpose(
        Image.Transpose.FLIP_LEFT_RIGHT)


def glow(layer, radius, strength=1.0):
    blurred = layer.filter(ImageFilter.GaussianBlur(radius))
    if strength != 1.0:
        alpha = blurred.getchannel("A").point(lambda a: min(255, int(a * strength)))
        blurred.putalpha(alpha)
    return blurred


def text_mask(size, text, font, xy, anchor="la", spacing=0):
    mask = Image.new("L", size, 0)
    draw = ImageDraw.Draw(mask)
    if spacing:
        x, y = xy
        total = sum(draw.textlength(ch, font=font) for ch in text) + spacing * (len(text) - 1)
        if anchor[0] == "m":
            x -= total / 2
        for ch in text:
            draw.text((x, y), ch, font=font, fill=255, anchor="l" + anchor[1])
            x += draw.textlength(ch, font=font) + spacing
    else:
        draw.text(xy, text, font=font, fill=255, anchor=anchor)
    return mask


def fill_with(mask, paint):
    """paint (RGBA image or colour) shown through mask."""
    if isinstance(paint, tuple):
        paint = Image.new("RGBA", mask.size, paint if len(paint) == 4 else paint + (255,))
    out = paint.copy()
    alpha = ImageChops.multiply(out.getchannel("A"), mask)
    out.putalpha(alpha)
    return out


def gold_text(canvas, text, font, xy, anchor="la", spacing=0, glow_radius=0, outline=2,
              gradient=(GOLD_LIGHT, GOLD, GOLD_DARK)):
    mask = text_mask(canvas.size, text, font, xy, anchor, spacing)
    box = mask.getbbox()
    if not box:
        return
    if glow_radius:
        halo = fill_with(mask, (255, 196, 90, 255))
        canvas.alpha_composite(glow(halo, glow_radius, 1.6))
    if outline:
        thick = mask.filter(ImageFilter.MaxFilter(outline * 2 + 1))
        canvas.alpha_composite(fill_with(thick, INK + (230,)))
    top, bottom = box[1], box[3]
    grad = Image.new("RGBA", canvas.size, (0, 0, 0, 0))
    band = vertical_gradient((canvas.size[0], bottom - top),
                             [(0.0, gradient[0]), (0.55, gradient[1]), (1.0, gradient[2])])
    grad.paste(band, (0, top))
    canvas.alpha_composite(fill_with(mask, grad))


def shadowed_text(canvas, text, font, xy, colour, anchor="la", shadow=(0, 0, 0, 200), offset=1):
    draw = ImageDraw.Draw(canvas)
    draw.text((xy[0] + offset, xy[1] + offset), text, font=font, fill=shadow, anchor=anchor)
    draw.text(xy, text, font=font, fill=colour, anchor=anchor)


def rounded_mask(size, radius, inset=0):
    mask = Image.new("L", size, 0)
    ImageDraw.Draw(mask).rounded_rectangle(
        (inset, inset, size[0] - 1 - inset, size[1] - 1 - inset), radius=radius, fill=255)
    return mask


def save(image, name):
    path = os.path.join(OUT, name)
    image.save(path, optimize=True)
    print("wrote", os.path.relpath(path))


# ------------------------------------------------------------- background

def ridge(rng, width, base, amplitude, roughness, seed_points=9):
    """A mountain ridge by midpoint displacement: list of y per x."""
    points = [base + rng.uniform(-amplitude, amplitude) for _ in range(seed_points)]
    step = amplitude
    while len(points) < width:
        step *= roughness
        refined = []
        for a, b in zip(points, points[1:]):
            refined += [a, (a + b) / 2 + rng.uniform(-step, step)]
        refined.append(points[-1])
        points = refined
    scale = (len(points) - 1) / (width - 1)
    return [points[int(x * scale)] for x in range(width)]


def mountain_layer(size, ys, top_colour, bottom_colour):
    w, h = size
    mask = Image.new("L", size, 0)
    ImageDraw.Draw(mask).polygon([(0, h)] + [(x, ys[x]) for x in range(w)] + [(w - 1, h)],
                                 fill=255)
    top = int(min(ys))
    paint = Image.new("RGBA", size, (0, 0, 0, 0))
    paint.paste(vertical_gradient((w, h - top), [(0, top_colour), (1, bottom_colour)]), (0, top))
    return fill_with(mask, paint)


def castle(draw, x, base, scale, colour, window_colour):
    def tower(cx, width, height, roof):
        draw.rectangle((cx - width / 2, base - height, cx + width / 2, base), fill=colour)
        draw.polygon([(cx - width / 2 - 2 * scale, base - height),
                      (cx, base - height - roof), (cx + width / 2 + 2 * scale, base - height)],
                     fill=colour)
    draw.rectangle((x - 40 * scale, base - 26 * scale, x + 44 * scale, base), fill=colour)
    for i in range(-40, 44, 8):  # battlements
        draw.rectangle((x + i * scale, base - 30 * scale, x + (i + 4) * scale, base - 26 * scale),
                       fill=colour)
    tower(x - 36 * scale, 12 * scale, 52 * scale, 22 * scale)
    tower(x - 8 * scale, 16 * scale, 78 * scale, 34 * scale)
    tower(x + 18 * scale, 11 * scale, 60 * scale, 26 * scale)
    tower(x + 40 * scale, 9 * scale, 40 * scale, 18 * scale)
    for wx, wy in [(-8, 60), (-8, 44), (18, 42), (-36, 36), (40, 28), (4, 16), (-20, 14)]:
        draw.rectangle((x + wx * scale - 1, base - wy * scale, x + wx * scale + 1,
                        base - wy * scale + 3), fill=window_colour)


def background():
    rng = random.Random(1703)
    size = (WIDTH, HEIGHT)
    img = vertical_gradient(size, [(0.0, (8, 10, 32)), (0.35, (30, 22, 66)),
                                   (0.62, (92, 52, 104)), (0.74, (150, 86, 104)),
                                   (1.0, (30, 16, 40))])

    # stars, brighter and sparser towards the top
    stars = Image.new("RGBA", size, (0, 0, 0, 0))
    sd = ImageDraw.Draw(stars)
    for _ in range(420):
        x, y = rng.uniform(0, WIDTH), rng.uniform(0, 300) ** 1.0
        y = y * y / 300
        b = rng.randint(90, 255)
        r = 0.5 if b < 200 else 0.9
        sd.ellipse((x - r, y - r, x + r, y + r), fill=(b, b, min(255, b + 20), b))
    img.alpha_composite(glow(stars, 1.2, 1.4))
    img.alpha_composite(stars)

    # moon with halo
    moon = Image.new("RGBA", size, (0, 0, 0, 0))
    md = ImageDraw.Draw(moon)
    mx, my, mr = 548, 96, 34
    md.ellipse((mx - mr * 3, my - mr * 3, mx + mr * 3, my + mr * 3), fill=(190, 170, 255, 40))
    img.alpha_composite(glow(moon, 40))
    moon = Image.new("RGBA", size, (0, 0, 0, 0))
    md = ImageDraw.Draw(moon)
    md.ellipse((mx - mr, my - mr, mx + mr, my + mr), fill=(250, 240, 222, 255))
    img.alpha_composite(glow(moon, 10, 1.2))
    maria = Image.new("RGBA", size, (0, 0, 0, 0))
    for _ in range(9):  # soft grey seas on the face
        cx, cy = mx + rng.uniform(-18, 18), my + rng.uniform(-18, 18)
        cr = rng.uniform(4, 10)
        ImageDraw.Draw(maria).ellipse((cx - cr, cy - cr, cx + cr, cy + cr),
                                      fill=(150, 136, 150, 70))
    moon.alpha_composite(fill_with(moon.getchannel("A"), maria.filter(ImageFilter.GaussianBlur(3))))
    img.alpha_composite(moon.filter(ImageFilter.GaussianBlur(0.8)))

    # mountain ranges, far to near, with mist between them
    layers = [
        (250, 60, (96, 70, 140), (70, 48, 104)),
        (300, 55, (58, 40, 92), (40, 28, 66)),
        (350, 45, (30, 20, 52), (20, 14, 36)),
    ]
    for i, (base, amp, top_c, bottom_c) in enumerate(layers):
        ys = ridge(rng, WIDTH, base, amp, 0.5)
        img.alpha_composite(mountain_layer(size, ys, top_c, bottom_c))
        mist = vertical_gradient((WIDTH, 90), [(0, (210, 170, 220, 0)), (0.6, (210, 170, 220, 60)),
                                               (1, (210, 170, 220, 0))])
        layer = Image.new("RGBA", size, (0, 0, 0, 0))
        layer.paste(mist, (0, base - 10 + i * 6))
        img.alpha_composite(glow(layer, 8))
        if i == 1:
            keep = Image.new("RGBA", size, (0, 0, 0, 0))
            kd = ImageDraw.Draw(keep)
            base = int(min(ys[430:510])) + 6
            # the crag the keep stands on, falling away into the nearer range
            kd.polygon([(404, HEIGHT), (420, base + 30), (432, base), (512, base),
                        (526, base + 24), (548, HEIGHT)], fill=(36, 25, 60, 255))
            castle(kd, 468, base + 2, 1.0, (34, 24, 58, 255), (255, 196, 110, 255))
            img.alpha_composite(keep)

    # title
    title = Image.new("RGBA", size, (0, 0, 0, 0))
    gold_text(title, "VELLMOOR", ImageFont.truetype(TITLE_FONT, 58), (WIDTH // 2 - 70, 150),
              anchor="ms", spacing=6, glow_radius=12, outline=2)
    img.alpha_composite(title)
    sub = Image.new("RGBA", size, (0, 0, 0, 0))
    shadowed_text(sub, "—  O N L I N E  —", ImageFont.truetype(LATIN_FONT, 13),
                  (WIDTH // 2 - 70, 176), (236, 214, 170, 235), anchor="ms")
    img.alpha_composite(sub)

    # top bar behind the minimise and close buttons
    bar = vertical_gradient((WIDTH, 26), [(0, (6, 4, 12, 210)), (1, (6, 4, 12, 0))])
    img.alpha_composite(bar, (0, 0))
    plate = Image.new("RGBA", size, (0, 0, 0, 0))
    pd = ImageDraw.Draw(plate)
    pd.rounded_rectangle((620, 1, 674, 25), radius=8, fill=(10, 8, 18, 200),
                         outline=GOLD_DARK + (255,))
    img.alpha_composite(plate)

    # bottom console
    console_top = 410
    console = vertical_gradient((WIDTH, HEIGHT - console_top),
                                [(0, (40, 28, 54)), (0.12, (24, 16, 34)), (1, (8, 6, 14))])
    img.alpha_composite(console, (0, console_top))
    deco = Image.new("RGBA", size, (0, 0, 0, 0))
    dd = ImageDraw.Draw(deco)
    trim = horizontal_gradient((WIDTH, 2), [(0, GOLD_DARK + (0,)), (0.2, GOLD + (255,)),
                                            (0.5, GOLD_LIGHT + (255,)), (0.8, GOLD + (255,)),
                                            (1, GOLD_DARK + (0,))])
    deco.alpha_composite(trim, (0, console_top))
    dd.line((0, console_top + 3, WIDTH, console_top + 3), fill=(0, 0, 0, 160))
    cx = WIDTH // 2
    dd.polygon([(cx - 9, console_top + 1), (cx, console_top - 8), (cx + 9, console_top + 1),
                (cx, console_top + 10)], fill=GOLD + (255,), outline=GOLD_DARK + (255,))
    dd.polygon([(cx - 4, console_top + 1), (cx, console_top - 3), (cx + 4, console_top + 1),
                (cx, console_top + 5)], fill=(140, 30, 40, 255))
    # progress-bar recess and the plate under the link buttons
    dd.rounded_rectangle((117, 453, 602, 472), radius=7, fill=(4, 3, 8, 255),
                         outline=(70, 54, 34, 255))
    dd.rounded_rectangle((256, 425, 594, 455), radius=6, fill=(0, 0, 0, 70),
                         outline=(90, 66, 36, 140))
    # emblem socket
    dd.ellipse((70, 413, 120, 463), fill=(6, 4, 12, 200), outline=(96, 72, 40, 255))
    img.alpha_composite(glow(deco, 2, 0.8))
    img.alpha_composite(deco)

    # frame: dark edge, gold line, corner ornaments, vignette
    vignette = Image.new("L", size, 0)
    ImageDraw.Draw(vignette).rectangle((0, 0, WIDTH - 1, HEIGHT - 1), outline=255, width=26)
    vignette = vignette.filter(ImageFilter.GaussianBlur(22))
    img.alpha_composite(fill_with(vignette, (0, 0, 0, 170)))
    frame = Image.new("RGBA", size, (0, 0, 0, 0))
    fd = ImageDraw.Draw(frame)
    fd.rectangle((0, 0, WIDTH - 1, HEIGHT - 1), outline=(4, 3, 8, 255), width=2)
    fd.rectangle((2, 2, WIDTH - 3, HEIGHT - 3), outline=GOLD_DARK + (255,), width=1)
    fd.rectangle((3, 3, WIDTH - 4, HEIGHT - 4), outline=GOLD + (120,), width=1)
    # ornaments at the top corners only: the status text and the start button
    # sit in the bottom ones
    for (x, y, sx, sy) in [(3, 3, 1, 1), (WIDTH - 4, 3, -1, 1)]:
        fd.line((x, y, x + 22 * sx, y), fill=GOLD_LIGHT + (255,), width=2)
        fd.line((x, y, x, y + 22 * sy), fill=GOLD_LIGHT + (255,), width=2)
        fd.polygon([(x + 5 * sx, y + 5 * sy), (x + 11 * sx, y + 5 * sy),
                    (x + 5 * sx, y + 11 * sy)], fill=GOLD + (255,))
    img.alpha_composite(frame)
    return img.convert("RGB")


# ---------------------------------------------------------- settings panel

PANEL_W, PANEL_H = 700, 400
HEADINGS = [
    ("游戏画面模式", 35, 64), ("游戏分辨率", 35, 142), ("高级设置", 35, 274),
    ("画面刷新率", 200, 64), ("伤害样式", 200, 206),
    ("背景音乐", 372, 64), ("游戏音效", 372, 146), ("音响设置", 372, 226),
]


def rune_circle(size, centre, radius, colour):
    layer = Image.new("RGBA", size, (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    cx, cy = centre
    for r, w in [(radius, 2), (radius - 10, 1), (radius - 34, 1), (radius - 56, 2)]:
        d.ellipse((cx - r, cy - r, cx + r, cy + r), outline=colour, width=w)
    for k in range(6):  # hexagram
        a0 = math.radians(90 + k * 60)
        a1 = math.radians(90 + (k + 2) * 60)
        r = radius - 34
        d.line((cx + r * math.cos(a0), cy - r * math.sin(a0), cx + r * math.cos(a1),
                cy - r * math.sin(a1)), fill=colour, width=1)
    for k in range(24):  # tick marks between the outer rings
        a = math.radians(k * 15)
        d.line((cx + (radius - 9) * math.cos(a), cy + (radius - 9) * math.sin(a),
                cx + (radius - 2) * math.cos(a), cy + (radius - 2) * math.sin(a)),
               fill=colour, width=1)
    return layer


def settings_panel():
    size = (PANEL_W, PANEL_H)
    img = Image.new("RGBA", size, (0, 0, 0, 0))
    card = (14, 2, PANEL_W - 15, PANEL_H - 3)
    shadow = Image.new("RGBA", size, (0, 0, 0, 0))
    ImageDraw.Draw(shadow).rounded_rectangle(card, radius=14, fill=(0, 0, 0, 200))
    img.alpha_composite(glow(shadow, 6))

    body = vertical_gradient(size, [(0, (34, 26, 56, 246)), (0.5, (20, 16, 36, 246)),
                                    (1, (12, 9, 22, 250))])
    mask = Image.new("L", size, 0)
    ImageDraw.Draw(mask).rounded_rectangle(card, radius=12, fill=255)
    img.alpha_composite(fill_with(mask, body))

    img.alpha_composite(rune_circle(size, (600, 200), 88, (226, 182, 92, 46)))

    deco = Image.new("RGBA", size, (0, 0, 0, 0))
    d = ImageDraw.Draw(deco)
    d.rounded_rectangle(card, radius=12, outline=GOLD_DARK + (255,), width=2)
    d.rounded_rectangle((card[0] + 4, card[1] + 4, card[2] - 4, card[3] - 4), radius=9,
                        outline=GOLD + (110,), width=1)
    # title band
    band = horizontal_gradient((card[2] - card[0] - 40, 1),
                               [(0, GOLD + (0,)), (0.5, GOLD_LIGHT + (255,)), (1, GOLD + (0,))])
    deco.alpha_composite(band, (card[0] + 20, 42))
    # column separators
    for x in (186, 358, 520):
        line = vertical_gradient((1, 270), [(0, GOLD + (0,)), (0.5, GOLD + (120,)),
                                            (1, GOLD + (0,))])
        deco.alpha_composite(line, (x, 58))
    img.alpha_composite(deco)

    title = Image.new("RGBA", size, (0, 0, 0, 0))
    gold_text(title, "游戏设置", cjk(19), (PANEL_W // 2, 30), anchor="ms", spacing=8,
              glow_radius=6, outline=1)
    img.alpha_composite(title)

    heads = Image.new("RGBA", size, (0, 0, 0, 0))
    hd = ImageDraw.Draw(heads)
    font = cjk(13)
    for text, x, y in HEADINGS:
        hd.polygon([(x, y + 7), (x + 4, y + 3), (x + 8, y + 7), (x + 4, y + 11)],
                   fill=GOLD + (255,))
        shadowed_text(heads, text, font, (x + 13, y + 7), GOLD_LIGHT + (255,), anchor="lm")
        under = horizontal_gradient((128, 1), [(0, GOLD + (200,)), (1, GOLD + (0,))])
        heads.alpha_composite(under, (x, y + 17))
    img.alpha_composite(heads)

    hint = Image.new("RGBA", size, (0, 0, 0, 0))
    shadowed_text(hint, "修改后请点击「确认设置」保存", cjk(12), (190, 351),
                  (200, 184, 150, 220), anchor="lm")
    img.alpha_composite(hint)
    return img


# ----------------------------------------------------------------- buttons

def plate_button(size, label, state, font_size, palette):
    """A framed plate with an engraved caption; state: normal, hover, down, disabled."""
    w, h = size
    W, H = w * SS, h * SS
    top, bottom, rim_light, rim_dark, text = palette[state]
    img = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    radius = min(H // 3, 5 * SS)
    rim = Image.new("L", (W, H), 0)
    ImageDraw.Draw(rim).rounded_rectangle((0, 0, W - 1, H - 1), radius=radius, fill=255)
    img.alpha_composite(fill_with(rim, vertical_gradient((W, H), [(0, rim_light), (1, rim_dark)])))
    inner = rounded_mask((W, H), radius - SS, inset=int(1.5 * SS))
    img.alpha_composite(fill_with(inner, vertical_gradient((W, H), [(0, top), (1, bottom)])))
    sheen = rounded_mask((W, H), radius - SS, inset=int(1.5 * SS))
    sheen_paint = vertical_gradient((W, H), [(0, (255, 255, 255, 70 if state != "down" else 20)),
                                             (0.45, (255, 255, 255, 0)), (1, (255, 255, 255, 0))])
    img.alpha_composite(fill_with(sheen, sheen_paint))
    img = img.resize(size, Image.LANCZOS)
    if label:
        dy = 1 if state == "down" else 0
        font = cjk(font_size)
        layer = Image.new("RGBA", size, (0, 0, 0, 0))
        if state == "hover":
            halo = Image.new("RGBA", size, (0, 0, 0, 0))
            ImageDraw.Draw(halo).text((w / 2, h / 2 + dy), label, font=font,
                                      fill=(255, 214, 120, 255), anchor="mm")
            layer.alpha_composite(glow(halo, 2.5, 1.5))
        shadowed_text(layer, label, font, (w / 2, h / 2 + dy), text, anchor="mm",
                      shadow=(0, 0, 0, 220))
        img.alpha_composite(layer)
    return img


SMALL_PALETTE = {
    "normal": ((96, 38, 42, 255), (44, 14, 20, 255), GOLD_LIGHT + (255,), GOLD_DARK + (255,),
               (246, 226, 178, 255)),
    "hover": ((138, 58, 56, 255), (70, 22, 28, 255), (255, 248, 214, 255), GOLD + (255,),
              (255, 244, 210, 255)),
    "down": ((40, 12, 18, 255), (80, 30, 34, 255), GOLD_DARK + (255,), GOLD_LIGHT + (255,),
             (224, 198, 150, 255)),
}

START_PALETTE = {
    "normal": ((236, 140, 46, 255), (150, 40, 20, 255), GOLD_LIGHT + (255,), (90, 50, 16, 255),
               (255, 250, 232, 255)),
    "hover": ((255, 180, 70, 255), (190, 60, 24, 255), (255, 252, 230, 255), GOLD + (255,),
              (255, 255, 255, 255)),
    "down": ((150, 50, 20, 255), (220, 110, 40, 255), (90, 50, 16, 255), GOLD_LIGHT + (255,),
             (240, 226, 200, 255)),
    "disabled": ((96, 96, 104, 255), (52, 52, 60, 255), (150, 150, 156, 255),
                 (60, 60, 66, 255), (170, 170, 176, 255)),
}


def start_button(state):
    img = plate_button((71, 45), "", state, 15, START_PALETTE)
    w, h = img.size
    if state != "disabled":  # inner radiance
        ray = Image.new("RGBA", img.size, (0, 0, 0, 0))
        ImageDraw.Draw(ray).ellipse((10, 8, w - 10, h - 8), fill=(255, 236, 160, 90))
        ray = glow(ray, 6)
        img.alpha_composite(fill_with(img.getchannel("A"), ray))
    layer = Image.new("RGBA", img.size, (0, 0, 0, 0))
    dy = 1 if state == "down" else 0
    font = cjk(15)
    colour = START_PALETTE[state][4]
    outline_colour = (60, 30, 10, 255) if state != "disabled" else (40, 40, 46, 255)
    mask = text_mask(img.size, "开始游戏", font, (w / 2, h / 2 + dy), anchor="mm")
    layer.alpha_composite(fill_with(mask.filter(ImageFilter.MaxFilter(3)), outline_colour))
    layer.alpha_composite(fill_with(mask, colour))
    img.alpha_composite(layer)
    return img


def round_button(kind, state):
    S = 14 * SS
    img = Image.new("RGBA", (S, S), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    ring = {"normal": GOLD, "hover": GOLD_LIGHT, "down": GOLD_DARK}[state]
    if kind == "close":
        fill = {"normal": (120, 24, 30), "hover": (200, 44, 40), "down": (80, 14, 20)}[state]
    else:
        fill = {"normal": (40, 44, 92), "hover": (72, 84, 170), "down": (24, 26, 60)}[state]
    d.ellipse((0, 0, S - 1, S - 1), fill=ring + (255,))
    core = vertical_gradient((S, S), [(0, lerp(fill, (255, 255, 255), 0.25)), (1, fill)])
    img.alpha_composite(fill_with(rounded_mask((S, S), S // 2, inset=SS + SS // 2), core))
    m = 4 * SS
    colour = (255, 246, 226, 255)
    if kind == "close":
        d.line((m, m, S - m, S - m), fill=colour, width=int(1.6 * SS))
        d.line((m, S - m, S - m, m), fill=colour, width=int(1.6 * SS))
    else:
        d.line((m, S // 2, S - m, S // 2), fill=colour, width=int(1.6 * SS))
    return img.resize((14, 14), Image.LANCZOS)


def tick_box(checked):
    S = 14 * SS
    img = Image.new("RGBA", (S, S), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    d.rounded_rectangle((0, 0, S - 1, S - 1), radius=3 * SS, fill=GOLD_DARK + (255,))
    d.rounded_rectangle((SS // 2, SS // 2, S - 1 - SS // 2, S - 1 - SS // 2), radius=3 * SS,
                        outline=GOLD + (255,), width=SS)
    inner = vertical_gradient((S, S), [(0, (6, 4, 12, 255)), (1, (36, 28, 52, 255))])
    img.alpha_composite(fill_with(rounded_mask((S, S), 2 * SS, inset=2 * SS), inner))
    if checked:
        check = Image.new("RGBA", (S, S), (0, 0, 0, 0))
        cd = ImageDraw.Draw(check)
        pts = [(3.2 * SS, 7.2 * SS), (6 * SS, 10 * SS), (11 * SS, 3.6 * SS)]
        cd.line(pts, fill=(255, 214, 110, 255), width=int(2.2 * SS), joint="curve")
        img.alpha_composite(glow(check, 1.6 * SS, 1.3))
        cd2 = Image.new("RGBA", (S, S), (0, 0, 0, 0))
        ImageDraw.Draw(cd2).line(pts, fill=(255, 250, 228, 255), width=int(1.4 * SS),
                                 joint="curve")
        img.alpha_composite(cd2)
    return img.resize((14, 14), Image.LANCZOS)


# ------------------------------------------------------------ progress bar

def progress_track():
    w, h = 480, 14
    img = Image.new("RGBA", (w * SS, h * SS), (0, 0, 0, 0))
    mask = rounded_mask(img.size, h * SS // 2)
    groove = vertical_gradient(img.size, [(0, (2, 2, 6, 255)), (0.5, (16, 12, 26, 255)),
                                          (1, (30, 24, 42, 255))])
    img.alpha_composite(fill_with(mask, groove))
    ImageDraw.Draw(img).rounded_rectangle((0, 0, w * SS - 1, h * SS - 1), radius=h * SS // 2,
                                          outline=(96, 74, 44, 255), width=SS)
    return img.resize((w, h), Image.LANCZOS)


def progress_fill():
    w, h = 480, 14
    W, H = w * SS, h * SS
    body = vertical_gradient((W, H), [(0, (190, 250, 255, 255)), (0.35, (60, 190, 240, 255)),
                                      (0.7, (24, 96, 200, 255)), (1, (12, 40, 120, 255))])
    stripes = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    sd = ImageDraw.Draw(stripes)
    for x in range(-H, W + H, 14 * SS):
        sd.polygon([(x, H), (x + H, 0), (x + H + 5 * SS, 0), (x + 5 * SS, H)],
                   fill=(255, 255, 255, 38))
    body.alpha_composite(stripes)
    shine = horizontal_gradient((W, H), [(0, (255, 255, 255, 0)), (0.85, (255, 255, 255, 0)),
                                         (1, (255, 255, 255, 90))])
    body.alpha_composite(shine)
    mask = rounded_mask((W, H), H // 2, inset=SS)
    img = fill_with(mask, body)
    return img.resize((w, h), Image.LANCZOS)


# ------------------------------------------------------- animated emblem

def emblem_frames(bg):
    """A pulsing arcane crystal with orbiting sparks, over the background."""
    w, h = 54, 50
    frames = []
    count = 16
    base = bg.crop((68, 414, 68 + w, 414 + h)).convert("RGBA")
    for f in range(count):
        t = f / count
        S = SS
        layer = Image.new("RGBA", (w * S, h * S), (0, 0, 0, 0))
        d = ImageDraw.Draw(layer)
        cx, cy = 27 * S, 24 * S
        pulse = 0.5 + 0.5 * math.sin(t * 2 * math.pi)
        halo = Image.new("RGBA", layer.size, (0, 0, 0, 0))
        r = (12 + 3 * pulse) * S
        ImageDraw.Draw(halo).ellipse((cx - r, cy - r, cx + r, cy + r),
                                     fill=(120, 200, 255, int(120 + 80 * pulse)))
        layer.alpha_composite(glow(halo, 5 * S))
        gem = [(cx, cy - 14 * S), (cx + 8 * S, cy - 2 * S), (cx, cy + 14 * S),
               (cx - 8 * S, cy - 2 * S)]
        d.polygon(gem, fill=(70, 160, 240, 255), outline=(220, 244, 255, 255))
        d.polygon([(cx, cy - 14 * S), (cx + 8 * S, cy - 2 * S), (cx, cy)],
                  fill=(150, 220, 255, 255))
        d.polygon([(cx, cy - 14 * S), (cx - 8 * S, cy - 2 * S), (cx, cy)],
                  fill=(110, 190, 250, 255))
        d.polygon([(cx, cy + 14 * S), (cx - 8 * S, cy - 2 * S), (cx, cy)],
                  fill=(30, 90, 190, 255))
        for k in range(3):
            a = 2 * math.pi * (t + k / 3)
            sx = cx + 19 * S * math.cos(a)
            sy = cy + 7 * S * math.sin(a)
            front = math.sin(a) > 0
            sr = (2.2 if front else 1.4) * S
            spark = Image.new("RGBA", layer.size, (0, 0, 0, 0))
            ImageDraw.Draw(spark).ellipse((sx - sr, sy - sr, sx + sr, sy + sr),
                                          fill=(255, 236, 170, 255 if front else 150))
            layer.alpha_composite(glow(spark, 2 * S, 1.5))
            layer.alpha_composite(spark)
        frame = base.copy()
        frame.alpha_composite(layer.resize((w, h), Image.LANCZOS))
        frames.append(frame.convert("RGB").quantize(colors=128, method=Image.Quantize.MEDIANCUT,
                                                    dither=Image.Dither.NONE))
    return frames


# --------------------------------------------------------------------- main

def main():
    os.makedirs(OUT, exist_ok=True)
    bg = background()
    save(bg, "background.png")
    save(settings_panel(), "settings_panel.png")
    for name, label in [("register", "账号注册"), ("forum", "官方论坛"), ("shop", "商城道具"),
                        ("settings", "游戏设置")]:
        for state in ("normal", "hover", "down"):
            suffix = "" if state == "normal" else "_" + state
            save(plate_button((69, 20), label, state, 12, SMALL_PALETTE),
                 f"button_{name}{suffix}.png")
    for name, label in [("confirm", "确认设置"), ("reset", "恢复初始")]:
        for state in ("normal", "hover", "down"):
            suffix = "" if state == "normal" else "_" + state
            save(plate_button((70, 22), label, state, 12, SMALL_PALETTE),
                 f"button_{name}{suffix}.png")
    for state in ("normal", "hover", "down", "disabled"):
        suffix = "" if state == "normal" else "_" + state
        save(start_button(state), f"button_start{suffix}.png")
    for kind in ("minimise", "close"):
        for state in ("normal", "hover", "down"):
            suffix = "" if state == "normal" else "_" + state
            save(round_button(kind, state), f"button_{kind}{suffix}.png")
    save(tick_box(False), "box_unticked.png")
    save(tick_box(True), "box_ticked.png")
    save(progress_track(), "progress_track.png")
    save(progress_fill(), "progress_fill.png")
    frames = emblem_frames(bg)
    path = os.path.join(OUT, "emblem.gif")
    frames[0].save(path, save_all=True, append_images=frames[1:], duration=90, loop=0,
                   optimize=False, disposal=1)
    print("wrote", os.path.relpath(path))


if __name__ == "__main__":
    main()
