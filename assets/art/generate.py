#!/usr/bin/env python3
"""Writes the SVG sources of the program's pictures into assets/art/.

Every picture is described here once; scripts/render-art turns the SVGs into
the PNGs (and the GIF) that the program uses. Run through scripts/render-art.
"""

import math
import os
import sys

OUT = os.path.dirname(os.path.abspath(__file__))

SANS = "Noto Sans CJK SC"
SERIF = "Noto Serif CJK SC"

GREEN = "#3a9a3a"
GREEN_LIGHT = "#5cb85a"
GREEN_DARK = "#256f25"
TEAL = "#17a2a0"


def svg(w, h, body, defs=""):
    return (
        f'<svg xmlns="http://www.w3.org/2000/svg" '
        f'xmlns:xlink="http://www.w3.org/1999/xlink" width="{w}" height="{h}" '
        f'viewBox="0 0 {w} {h}">\n<defs>{defs}</defs>\n{body}\n</svg>\n'
    )


def text(x, yc, s, size, fill, weight="normal", anchor="middle", family=SANS, extra=""):
    """Text whose CJK glyph box is vertically centred on yc."""
    base = yc + 0.36 * size
    return (
        f'<text x="{x:.2f}" y="{base:.2f}" font-family="{family}" font-size="{size}" '
        f'font-weight="{weight}" fill="{fill}" text-anchor="{anchor}" {extra}>{s}</text>'
    )


def lin(id_, stops, x1=0, y1=0, x2=0, y2=1):
    st = "".join(
        f'<stop offset="{o}" stop-color="{c}"' + (f' stop-opacity="{a}"' if a is not None else "") + "/>"
        for o, c, *rest in stops
        for a in [rest[0] if rest else None]
    )
    return f'<linearGradient id="{id_}" x1="{x1}" y1="{y1}" x2="{x2}" y2="{y2}">{st}</linearGradient>'


def rad(id_, stops, cx=0.5, cy=0.5, r=0.5, fx=None, fy=None):
    st = "".join(
        f'<stop offset="{o}" stop-color="{c}"' + (f' stop-opacity="{a}"' if a is not None else "") + "/>"
        for o, c, *rest in stops
        for a in [rest[0] if rest else None]
    )
    f = f' fx="{fx}" fy="{fy}"' if fx is not None else ""
    return f'<radialGradient id="{id_}" cx="{cx}" cy="{cy}" r="{r}"{f}>{st}</radialGradient>'


def blur(id_, sd):
    return (
        f'<filter id="{id_}" x="-20%" y="-20%" width="140%" height="140%">'
        f'<feGaussianBlur stdDeviation="{sd}"/></filter>'
    )


def tab_path(x, y, w, h, r):
    """A tab: rounded upper corners, square bottom."""
    return (
        f"M{x},{y + h} V{y + r} A{r},{r} 0 0 1 {x + r},{y} H{x + w - r} "
        f"A{r},{r} 0 0 1 {x + w},{y + r} V{y + h} Z"
    )


# ---------------------------------------------------------------- emblem ---

def emblem_defs(p):
    return (
        lin(f"{p}bg", [(0, "#67c35a"), (0.55, "#3a9a3a"), (1, "#22702a")], 0, 0, 1, 1)
        + lin(f"{p}gl", [(0, "#ffffff", 0.35), (1, "#ffffff", 0)], 0, 0, 0, 1)
        + lin(f"{p}ru", [(0, "#ffd25a"), (1, "#f5a300")], 0, 0, 0, 1)
        + lin(f"{p}sc", [(0, "#e9f9e2"), (1, "#c6ebb8")], 0, 0, 0, 1)
    )


def emblem(p, tile=True, simple=False):
    """House standing on a ruler, a calculator in its wall; 128 × 128 units.

    The simple form (for 16 and 24 pixel icons) drops the small details that
    would only blur at that size."""
    g = []
    if tile:
        g.append(f'<rect x="4" y="4" width="120" height="120" rx="26" fill="url(#{p}bg)"/>')
        g.append(f'<path d="M4,56 V30 A26,26 0 0 1 30,4 H98 A26,26 0 0 1 124,30 V44 '
                 f'C90,60 40,62 4,56 Z" fill="url(#{p}gl)"/>')
    # chimney, roof and walls
    g.append('<rect x="82" y="26" width="11" height="22" rx="1.5" fill="#ffffff"/>')
    g.append('<path d="M20,64 L64,25 L108,64" fill="none" stroke="#ffffff" stroke-width="11" '
             'stroke-linecap="round" stroke-linejoin="round"/>')
    g.append('<path d="M33,60 L64,33 L95,60 V100 H33 Z" fill="#ffffff"/>')
    if simple:
        g.append('<rect x="46" y="56" width="36" height="42" rx="4" fill="#2f8a33"/>')
        g.append('<rect x="52" y="62" width="24" height="10" rx="2" fill="#e9f9e2"/>')
        g.append('<rect x="16" y="96" width="96" height="18" rx="3" fill="#f5a300"/>')
        return "\n".join(g)
    # calculator in the wall
    g.append('<rect x="47" y="55" width="34" height="41" rx="4" fill="#2f8a33"/>')
    g.append(f'<rect x="51" y="59" width="26" height="9" rx="1.5" fill="url(#{p}sc)"/>')
    keys = []
    for r in range(3):
        for c in range(3):
            col = "#ffb020" if (r, c) == (2, 2) else "#e8f6e2"
            keys.append(f'<rect x="{51 + c * 9.5:.1f}" y="{72 + r * 7.8:.1f}" width="7" height="5.4" '
                        f'rx="1.2" fill="{col}"/>')
    g.extend(keys)
    # ruler
    g.append(f'<rect x="16" y="98" width="96" height="15" rx="3" fill="url(#{p}ru)" '
             'stroke="#c77f00" stroke-width="1"/>')
    ticks = []
    for i in range(1, 12):
        x = 16 + i * 8
        l = 7 if i % 2 == 0 else 4.5
        ticks.append(f'<line x1="{x}" y1="98.5" x2="{x}" y2="{98.5 + l}" stroke="#8a5a00" stroke-width="1.3"/>')
    g.extend(ticks)
    return "\n".join(g)


def app_icon():
    return svg(128, 128, emblem("e"), emblem_defs("e"))


def app_icon_small():
    return svg(128, 128, emblem("e", simple=True), emblem_defs("e"))


# ------------------------------------------------------------ background ---

TAB_XS = (16, 141, 264, 387, 512)
TAB_Y, TAB_W, TAB_H = 101, 122, 38


def skyline(y0, color, opacity, x0=0, scale=1.0):
    """A row of simple house and tower silhouettes standing on y0."""
    shapes = [
        ("tower", 0, 26, 58), ("house", 30, 44, 30), ("tower", 78, 22, 74), ("tower", 104, 30, 46),
        ("house", 138, 50, 36), ("tower", 192, 20, 62), ("tower", 216, 34, 40), ("house", 254, 40, 28),
    ]
    out = []
    for kind, x, w, h in shapes:
        x = x0 + x * scale
        w *= scale
        h *= scale
        if kind == "tower":
            out.append(f'<rect x="{x:.1f}" y="{y0 - h:.1f}" width="{w:.1f}" height="{h:.1f}"/>')
        else:
            roof = w * 0.45
            out.append(
                f'<path d="M{x:.1f},{y0} V{y0 - h + roof * 0.4:.1f} L{x + w / 2:.1f},{y0 - h - roof * 0.5:.1f} '
                f'L{x + w:.1f},{y0 - h + roof * 0.4:.1f} V{y0} Z"/>'
            )
    return f'<g fill="{color}" opacity="{opacity}">' + "".join(out) + "</g>"


def background():
    w, h = 797, 577
    defs = (
        lin("page", [(0, "#eef6ec"), (1, "#dfeadb")])
        + lin("band", [(0, "#4caf48"), (0.6, "#379537"), (1, "#2a7f2c")])
        + lin("sheen", [(0, "#ffffff", 0.18), (1, "#ffffff", 0)], 0, 0, 1, 1)
        + lin("tabout", [(0, "#f4faf2"), (1, "#dcebd8")])
        + lin("panelfade", [(0, "#f6fbf5"), (1, "#ffffff")])
        + blur("soft", 3)
        + blur("wordshadow", 1.2)
        + emblem_defs("e")
    )
    b = []
    b.append(f'<rect width="{w}" height="{h}" fill="url(#page)"/>')
    # title band
    b.append(f'<rect width="{w}" height="95" fill="url(#band)"/>')
    b.append('<path d="M0,0 H520 C430,40 250,70 0,78 Z" fill="url(#sheen)"/>')
    b.append(skyline(95, "#ffffff", 0.10, x0=500, scale=1.05))
    b.append('<rect y="93" width="797" height="2" fill="#1f6a22" opacity="0.55"/>')
    b.append('<rect y="95" width="797" height="1" fill="#ffffff" opacity="0.7"/>')
    # logo
    b.append('<rect x="24.5" y="18" width="62.4" height="62.4" rx="13.5" fill="#0e3d10" opacity="0.4" '
             'filter="url(#wordshadow)"/>')
    b.append('<g transform="translate(22,14) scale(0.52)">' + emblem("e") + "</g>")
    b.append('<rect x="24.1" y="16.1" width="62.4" height="62.4" rx="13.5" fill="none" stroke="#ffffff" '
             'stroke-width="1.2" opacity="0.55"/>')
    b.append('<g filter="url(#wordshadow)" opacity="0.45">'
             + text(96, 39, "筑点网", 38, "#0e3d10", "bold", "start", extra='letter-spacing="5"')
             + "</g>")
    b.append(text(94, 37, "筑点网", 38, "#ffffff", "bold", "start", extra='letter-spacing="5"'))
    b.append('<rect x="96" y="63" width="3" height="16" rx="1" fill="#ffd25a"/>')
    b.append(text(106, 71, "家装自动报价 · 装修预算轻松算", 15, "#eaf7e4", "normal", "start",
                  extra='letter-spacing="1.5"'))
    # right-hand slogan over the skyline
    b.append(text(772, 36, "省心 · 省时 · 省钱", 18, "#ffffff", "bold", "end", extra='letter-spacing="2"'))
    b.append(text(772, 62, "户型面积一填，报价一键得出", 13, "#dff3d8", "normal", "end"))
    # panel shadow and panel
    b.append('<rect x="10" y="141" width="780" height="431" rx="5" fill="#3c6e38" opacity="0.28" '
             'filter="url(#soft)"/>')
    b.append('<path d="M8.5,139.5 H789.5 V565.5 A4,4 0 0 1 785.5,569.5 H12.5 A4,4 0 0 1 8.5,565.5 Z" '
             'fill="#ffffff" stroke="#c4d8c0" stroke-width="1"/>')
    b.append('<rect x="9" y="140" width="780" height="6" fill="url(#panelfade)"/>')
    # tab outlines where the navigation bar's buttons lie
    for x in TAB_XS:
        b.append(f'<path d="{tab_path(x + 0.5, TAB_Y + 0.5, TAB_W - 1, TAB_H - 0.5, 6)}" '
                 'fill="url(#tabout)" stroke="#a8cba1" stroke-width="1"/>')
    return svg(w, h, "\n".join(b), defs)


# ------------------------------------------------------------ navigation ---

def nav_tab(label):
    w, h = TAB_W, TAB_H
    defs = (
        lin("g", [(0, "#5fbf56"), (0.5, "#3f9f3d"), (1, "#2f8a31")])
        + lin("hl", [(0, "#ffffff", 0.45), (1, "#ffffff", 0)])
        + blur("ts", 0.8)
    )
    b = [
        f'<path d="{tab_path(0.5, 0.5, w - 1, h - 0.5, 6)}" fill="url(#g)" stroke="#287a2a" stroke-width="1"/>',
        f'<path d="{tab_path(1.5, 1.5, w - 3, 15, 5)}" fill="url(#hl)"/>',
        '<g filter="url(#ts)" opacity="0.55">' + text(w / 2 + 0.6, 20.6, label, 16, "#0d3d10", "bold") + "</g>",
        text(w / 2, 20, label, 16, "#ffffff", "bold"),
    ]
    return svg(w, h, "\n".join(b), defs)


def nav_highlight():
    w, h = TAB_W, TAB_H
    defs = lin("g", [(0, "#ffffff"), (1, "#ffffff")])
    b = [
        f'<path d="{tab_path(0.5, 0.5, w - 1, h + 2, 6)}" fill="#ffffff" stroke="#b9d3b4" stroke-width="1"/>',
        f'<path d="M1,{h} V7 A6,6 0 0 1 7,1 H{w - 7} A6,6 0 0 1 {w - 1},7 V{h}" fill="none"/>',
        f'<path d="M1.2,6.5 A5.5,5.5 0 0 1 6.5,1.2 H{w - 6.5} A5.5,5.5 0 0 1 {w - 1.2},6.5 V8.5 '
        f'H1.2 Z" fill="{TEAL}"/>',
        f'<rect x="1.2" y="5.5" width="{w - 2.4}" height="3" fill="{TEAL}"/>',
        f'<rect x="1" y="8.5" width="{w - 2}" height="1" fill="#bfe8e4"/>',
    ]
    return svg(w, h, "\n".join(b), defs)


# ------------------------------------------------------------ main window ---

def quote_button():
    w, h = 117, 40
    defs = (
        lin("g", [(0, "#ffb347"), (0.5, "#ff8f1f"), (1, "#ec6c00")])
        + lin("hl", [(0, "#ffffff", 0.55), (1, "#ffffff", 0.05)])
        + blur("sh", 1.2)
        + blur("ts", 0.8)
    )
    b = [
        '<rect x="2" y="3.5" width="113" height="35" rx="7" fill="#7a3a00" opacity="0.35" filter="url(#sh)"/>',
        '<rect x="1.5" y="1.5" width="114" height="35" rx="7" fill="url(#g)" stroke="#c85a00" stroke-width="1"/>',
        '<rect x="3" y="3" width="111" height="15" rx="6" fill="url(#hl)"/>',
        '<g filter="url(#ts)" opacity="0.6">' + text(52.6, 19.6, "立即报价", 17, "#7a3000", "bold") + "</g>",
        text(52, 19, "立即报价", 17, "#ffffff", "bold"),
        '<circle cx="100" cy="19" r="7.5" fill="#ffffff" opacity="0.95"/>',
        '<path d="M97.5,15 L101.8,19 L97.5,23" fill="none" stroke="#ef7200" stroke-width="2.2" '
        'stroke-linecap="round" stroke-linejoin="round"/>',
    ]
    return svg(w, h, "\n".join(b), defs)


def chat_badge():
    w, h = 68, 20
    defs = lin("g", [(0, "#ffffff"), (1, "#e3f3df")]) + lin("ic", [(0, "#4fb548"), (1, "#2e8a2e")])
    b = [
        '<rect x="0.5" y="0.5" width="67" height="19" rx="9.5" fill="url(#g)" stroke="#7cbf74" stroke-width="1"/>',
        '<circle cx="10" cy="10" r="7.6" fill="url(#ic)"/>',
        '<path d="M6,7.2 A1.6,1.6 0 0 1 7.6,5.6 H12.4 A1.6,1.6 0 0 1 14,7.2 V10.4 A1.6,1.6 0 0 1 12.4,12 '
        'H9.6 L7.4,14 V12 H7.6 A1.6,1.6 0 0 1 6,10.4 Z" fill="#ffffff"/>',
        '<circle cx="8.1" cy="8.8" r="0.75" fill="#2e8a2e"/>',
        '<circle cx="10" cy="8.8" r="0.75" fill="#2e8a2e"/>',
        '<circle cx="11.9" cy="8.8" r="0.75" fill="#2e8a2e"/>',
        text(40.5, 10, "在线咨询", 11, "#2a6a28", "bold"),
    ]
    return svg(w, h, "\n".join(b), defs)


def news_pointer():
    hand = (
        "M13,18 V5 A3,3 0 0 1 19,5 V14.5 A2.5,2.5 0 0 1 24,14.5 V16.5 A2.5,2.5 0 0 1 29,16.5 "
        "V18.5 A2.2,2.2 0 0 1 33.4,18.5 V28 C33.4,32.5 31.5,35.5 29.5,38 H17.5 "
        "C15.5,36 13.5,33.5 11.6,30.6 L6.6,24.6 A2.3,2.3 0 0 1 10.2,21.8 L13,25 Z"
    )
    defs = blur("sh", 1.0)
    b = [
        f'<path d="{hand}" transform="translate(1.5,1.5)" fill="#000000" opacity="0.35" filter="url(#sh)"/>',
        f'<path d="{hand}" fill="#ffffff" stroke="#000000" stroke-width="1.5" stroke-linejoin="round"/>',
        '<path d="M19,14.5 V21 M24,16.5 V21.5 M29,18.5 V22.5" stroke="#000000" stroke-width="1.2" '
        'stroke-linecap="round"/>',
    ]
    return svg(48, 48, "\n".join(b), defs)


# ------------------------------------------------------------- side menu ---

MENU_TOP, MENU_BOTTOM = "#f3f8d2", "#2c6b2a"


def menu_gradient():
    w, h = 170, 408
    defs = (
        lin("g", [(0, MENU_TOP), (0.35, "#b9dc92"), (0.7, "#5f9f4c"), (1, MENU_BOTTOM)])
        + lin("edge", [(0, "#ffffff", 0.0), (1, "#ffffff", 0.5)], 0, 0, 1, 0)
    )
    deco = []
    # faint leaves and a house outline in the dark lower part
    deco.append('<g fill="none" stroke="#ffffff" stroke-width="2" opacity="0.18" stroke-linejoin="round" '
                'stroke-linecap="round">'
                '<path d="M40,392 V352 L85,318 L130,352 V392 Z"/>'
                '<path d="M68,392 V366 H102 V392"/>'
                '<rect x="55" y="346" width="16" height="14"/><rect x="99" y="346" width="16" height="14"/>'
                '</g>')
    deco.append('<path d="M0,300 C50,280 120,330 170,300 V408 H0 Z" fill="#ffffff" opacity="0.05"/>')
    deco.append('<path d="M0,340 C60,320 110,370 170,345 V408 H0 Z" fill="#000000" opacity="0.06"/>')
    b = [f'<rect width="{w}" height="{h}" fill="url(#g)"/>'] + deco + [
        f'<rect x="0" y="0" width="{w}" height="1" fill="#ffffff" opacity="0.8"/>',
        f'<rect x="{w - 1}" y="0" width="1" height="{h}" fill="#1f5a1f" opacity="0.25"/>',
        f'<rect x="0" y="0" width="1" height="{h}" fill="#1f5a1f" opacity="0.25"/>',
    ]
    return svg(w, h, "\n".join(b), defs)


def menu_tool(label):
    w, h = 150, 29
    defs = (
        lin("g", [(0, "#e6f6d4"), (0.5, "#c4e8a8"), (1, "#a2d685")])
        + lin("hl", [(0, "#ffffff", 0.7), (1, "#ffffff", 0)])
        + lin("ic", [(0, "#46a543"), (1, "#276f27")])
        + blur("sh", 0.9)
    )
    b = [
        '<rect x="1" y="2" width="148" height="26" rx="6" fill="#16400f" opacity="0.35" filter="url(#sh)"/>',
        '<rect x="0.5" y="0.5" width="148" height="26" rx="6" fill="url(#g)" stroke="#5c9c4c" stroke-width="1"/>',
        '<rect x="2" y="2" width="145" height="10" rx="5" fill="url(#hl)"/>',
        '<circle cx="16" cy="13.5" r="7.5" fill="url(#ic)"/>',
        '<path d="M14.2,9.8 L18,13.5 L14.2,17.2" fill="none" stroke="#ffffff" stroke-width="2" '
        'stroke-linecap="round" stroke-linejoin="round"/>',
        text(84, 13.5, label, 14, "#1d3a16", "bold", extra='letter-spacing="1"'),
    ]
    return svg(w, h, "\n".join(b), defs)


# ------------------------------------------------------------ tile scenes ---
# Each scene fills a 97 × 95 box at the origin.

def scene_wall_tiles():
    d = (
        lin("wt", [(0, "#f7fbff"), (1, "#c9dbea")], 0, 0, 1, 1)
        + lin("wb", [(0, "#6fa6d6"), (1, "#3a78b8")], 0, 0, 1, 1)
        + lin("shine", [(0, "#ffffff", 0.55), (0.5, "#ffffff", 0), (1, "#ffffff", 0)], 0, 0, 1, 1)
    )
    g = ['<rect width="97" height="95" fill="#a9bccb"/>']
    size, gap = 22, 1.6
    for r in range(5):
        for c in range(5):
            x = -6 + c * (size + gap)
            y = -4 + r * (size + gap)
            fill = "url(#wb)" if r == 2 else "url(#wt)"
            g.append(f'<rect x="{x:.1f}" y="{y:.1f}" width="{size}" height="{size}" rx="1" fill="{fill}"/>')
    # decor band motif
    for c in range(5):
        x = -6 + c * (size + gap) + size / 2
        y = -4 + 2 * (size + gap) + size / 2
        g.append(f'<path d="M{x},{y - 6} L{x + 6},{y} L{x},{y + 6} L{x - 6},{y} Z" fill="#ffffff" opacity="0.55"/>')
    g.append('<path d="M0,0 H60 L0,60 Z" fill="url(#shine)"/>')
    # a shelf and a plant give it scale
    g.append('<rect x="8" y="78" width="81" height="5" rx="1" fill="#8a6a4a"/>')
    g.append('<rect x="60" y="64" width="14" height="14" rx="2" fill="#ffffff" stroke="#b8c8d8"/>')
    g.append('<path d="M67,64 C60,56 62,50 64,48 C66,54 67,58 67,64 C68,56 72,52 76,51 C74,56 71,60 67,64 Z" '
             'fill="#4caf50"/>')
    g.append('<rect x="18" y="68" width="8" height="10" rx="1.5" fill="#f5f5f5" stroke="#b8c8d8"/>')
    g.append('<rect x="29" y="64" width="9" height="14" rx="1.5" fill="#e8f0f8" stroke="#b8c8d8"/>')
    return d, "\n".join(g)


def scene_floor_tiles():
    d = (
        lin("wall", [(0, "#f5efe6"), (1, "#e8ddcc")])
        + lin("floor", [(0, "#e4d6bf"), (1, "#f4ece0")])
        + lin("shine", [(0, "#ffffff", 0), (0.5, "#ffffff", 0.45), (1, "#ffffff", 0)], 0, 0, 1, 0)
    )
    g = ['<rect width="97" height="95" fill="url(#wall)"/>']
    hz = 30  # horizon of the floor (wall foot)
    g.append(f'<rect y="{hz}" width="97" height="{95 - hz}" fill="url(#floor)"/>')
    vx, vy = 48.5, -60  # vanishing point
    # rows: perspective spacing
    ys = [hz]
    step = 7
    while ys[-1] < 95:
        ys.append(ys[-1] + step)
        step *= 1.35
    lines = []
    for y in ys[1:]:
        lines.append(f'<line x1="0" y1="{y:.1f}" x2="97" y2="{y:.1f}"/>')
    for i in range(-8, 9):
        xb = 48.5 + i * 22  # x at the bottom edge
        # line from the vanishing point through (xb, 95), clipped at the horizon
        t = (hz - vy) / (95 - vy)
        xh = vx + (xb - vx) * t
        lines.append(f'<line x1="{xh:.1f}" y1="{hz}" x2="{xb:.1f}" y2="95"/>')
    g.append('<g stroke="#c9b594" stroke-width="1.1">' + "".join(lines) + "</g>")
    # a few darker accent tiles for a pattern
    g.append('<path d="M0,%.1f H97" stroke="#b8a27c" stroke-width="0.6"/>' % hz)
    g.append(f'<rect y="{hz}" width="97" height="{95 - hz}" fill="url(#shine)" opacity="0.6"/>')
    # skirting board and a window light patch
    g.append(f'<rect y="{hz - 3}" width="97" height="3" fill="#d8c8ae"/>')
    g.append('<path d="M60,48 L86,48 L97,80 L66,80 Z" fill="#ffffff" opacity="0.35"/>')
    g.append('<rect x="62" y="4" width="24" height="18" rx="1" fill="#cfe6f5" stroke="#ffffff" stroke-width="2"/>')
    g.append('<line x1="74" y1="4" x2="74" y2="22" stroke="#ffffff" stroke-width="1.5"/>')
    return d, "\n".join(g)


def scene_wood_floor():
    d = (
        lin("wall", [(0, "#f2efe8"), (1, "#e4ddd0")])
        + lin("shine", [(0, "#ffffff", 0), (0.55, "#ffffff", 0.3), (1, "#ffffff", 0)], 0, 0, 1, 1)
    )
    g = ['<rect width="97" height="95" fill="url(#wall)"/>']
    hz = 28
    g.append(f'<rect y="{hz}" width="97" height="{95 - hz}" fill="#b57a45"/>')
    vx, vy = 48.5, -40
    browns = ["#c8874c", "#b3733d", "#d39a5f", "#a9683a", "#c17f47", "#d8a36a", "#b87942"]
    n = 14
    edges = []
    for i in range(-n, n + 1):
        xb = 48.5 + i * 14
        t = (hz - vy) / (95 - vy)
        edges.append((vx + (xb - vx) * t, xb))
    for i in range(len(edges) - 1):
        (h0, b0), (h1, b1) = edges[i], edges[i + 1]
        col = browns[i % len(browns)]
        g.append(f'<path d="M{h0:.1f},{hz} L{h1:.1f},{hz} L{b1:.1f},95 L{b0:.1f},95 Z" fill="{col}"/>')
    # board joints, staggered
    for i in range(len(edges) - 1):
        (h0, b0), (h1, b1) = edges[i], edges[i + 1]
        for yj in ((hz + 10 + (i * 17) % 40),):
            if yj < 95:
                t = (yj - hz) / (95 - hz)
                xa = h0 + (b0 - h0) * t
                xb_ = h1 + (b1 - h1) * t
                g.append(f'<line x1="{xa:.1f}" y1="{yj}" x2="{xb_:.1f}" y2="{yj}" stroke="#6e4322" stroke-width="0.8"/>')
    lines = "".join(f'<line x1="{h:.1f}" y1="{hz}" x2="{b:.1f}" y2="95"/>' for h, b in edges)
    g.append(f'<g stroke="#6e4322" stroke-width="0.7" opacity="0.8">{lines}</g>')
    # wood grain hints
    g.append('<g stroke="#ffffff" stroke-width="0.6" opacity="0.18" fill="none">'
             '<path d="M30,50 C34,60 30,70 34,88"/><path d="M60,45 C58,58 63,70 60,90"/>'
             '<path d="M44,36 C46,48 43,58 46,70"/></g>')
    g.append(f'<rect y="{hz}" width="97" height="{95 - hz}" fill="url(#shine)"/>')
    g.append(f'<rect y="{hz - 4}" width="97" height="4" fill="#ffffff"/>')
    g.append(f'<rect y="{hz}" width="97" height="1" fill="#7a4c28" opacity="0.5"/>')
    # a rug corner and a plant pot
    g.append('<rect x="12" y="6" width="22" height="15" fill="#dfe9d8" stroke="#c0b49e"/>')
    g.append('<path d="M16,18 L21,11 L25,15 L28,12 L31,18 Z" fill="#8fbf7a"/>')
    return d, "\n".join(g)


def scene_wallpaper():
    d = (
        lin("paper", [(0, "#f3e7d3"), (1, "#e6d3b5")])
        + rad("glow", [(0, "#fff6c8", 0.95), (0.5, "#ffe89a", 0.45), (1, "#ffe89a", 0)])
        + lin("shade", [(0, "#fff8e8"), (1, "#f2d9a8")])
        + '<pattern id="wp" width="16" height="20" patternUnits="userSpaceOnUse">'
          '<rect width="16" height="20" fill="url(#paper)"/>'
          '<path d="M8,0 C12,5 12,15 8,20 M8,0 C4,5 4,15 8,20" fill="none" stroke="#d2b78e" stroke-width="0.7"/>'
          '<path d="M8,7 C10,9 10,11 8,13 C6,11 6,9 8,7 Z" fill="#c49a66" opacity="0.75"/>'
          '<path d="M0,-3 C2,-1 2,1 0,3 C-2,1 -2,-1 0,-3 Z M16,-3 C18,-1 18,1 16,3 C14,1 14,-1 16,-3 Z '
          'M0,17 C2,19 2,21 0,23 C-2,21 -2,19 0,17 Z M16,17 C18,19 18,21 16,23 C14,21 14,19 16,17 Z" '
          'fill="#c49a66" opacity="0.5"/>'
          '</pattern>'
    )
    g = ['<rect width="97" height="95" fill="url(#paper)"/>',
         '<rect width="97" height="95" fill="url(#wp)"/>']
    # chair rail and wainscot
    g.append('<rect y="72" width="97" height="23" fill="#f7f2ea"/>')
    g.append('<rect y="70" width="97" height="4" fill="#a77a4c"/>')
    g.append('<g fill="none" stroke="#d8ccb8"><rect x="6" y="78" width="38" height="12"/>'
             '<rect x="53" y="78" width="38" height="12"/></g>')
    # wall lamp with glow
    g.append('<circle cx="50" cy="36" r="30" fill="url(#glow)"/>')
    g.append('<rect x="47.5" y="44" width="5" height="12" rx="1" fill="#8a6a3c"/>')
    g.append('<rect x="44" y="55" width="12" height="4" rx="1.5" fill="#8a6a3c"/>')
    g.append('<path d="M50,44 V36" stroke="#8a6a3c" stroke-width="2"/>')
    g.append('<path d="M38,38 L43,20 H57 L62,38 Z" fill="url(#shade)" stroke="#c9a46a" stroke-width="1"/>')
    g.append('<ellipse cx="50" cy="38" rx="12" ry="2" fill="#ffe9a6"/>')
    # a picture frame
    g.append('<rect x="72" y="16" width="18" height="24" fill="#ffffff" stroke="#8a6a3c" stroke-width="2"/>')
    g.append('<path d="M74,36 L79,28 L83,33 L85,30 L88,36 Z" fill="#8fbf7a"/>')
    return d, "\n".join(g)


def scene_paint_roller():
    d = (
        lin("old", [(0, "#e9e9e6"), (1, "#d9d9d4")])
        + lin("new", [(0, "#a8dcc0"), (1, "#7cc6a2")])
        + lin("roll", [(0, "#9ee0bd"), (0.45, "#5fbf8f"), (1, "#3a9a6e")])
    )
    g = ['<rect width="97" height="95" fill="url(#old)"/>']
    # freshly painted part with soft roller strokes
    g.append('<path d="M0,0 H58 C60,20 54,40 60,60 C64,75 56,85 58,95 H0 Z" fill="url(#new)"/>')
    g.append('<g fill="#ffffff" opacity="0.18"><rect x="6" y="0" width="14" height="95"/>'
             '<rect x="30" y="0" width="10" height="95"/></g>')
    # the stroke the roller is leaving
    g.append('<path d="M58,60 H82 V95 H58 Z" fill="url(#new)" opacity="0.85"/>')
    # roller: cylinder, frame and handle
    g.append('<rect x="54" y="44" width="32" height="15" rx="5" fill="url(#roll)" stroke="#2d7a56" stroke-width="1"/>')
    g.append('<g fill="none" stroke="#6d6d6d" stroke-width="2.4" stroke-linecap="round" stroke-linejoin="round">'
             '<path d="M86,51.5 H91 V36 H70 V30"/></g>')
    g.append('<rect x="66" y="8" width="8" height="23" rx="3.5" fill="#e07b2a" stroke="#a9581a"/>')
    g.append('<rect x="67" y="10" width="2" height="18" rx="1" fill="#ffffff" opacity="0.4"/>')
    # a paint tray on the floor
    g.append('<path d="M10,84 H40 L36,93 H14 Z" fill="#c0c6cc" stroke="#8a9096"/>')
    g.append('<path d="M14,86 H36 L34,90 H16 Z" fill="#7cc6a2"/>')
    return d, "\n".join(g)


def scene_curtain():
    d = (
        lin("sky", [(0, "#bfe2f8"), (1, "#eaf6ff")])
        + lin("cur", [(0, "#c0392b"), (0.25, "#e0655a"), (0.5, "#b8322a"), (0.75, "#de5f52"), (1, "#a82a22")],
              0, 0, 1, 0)
        + lin("wall", [(0, "#f6f1ea"), (1, "#ebe2d4")])
    )
    g = ['<rect width="97" height="95" fill="url(#wall)"/>']
    # window with sky and a hill
    g.append('<rect x="18" y="14" width="61" height="62" fill="url(#sky)" stroke="#ffffff" stroke-width="3"/>')
    g.append('<path d="M19.5,62 C34,52 50,58 77.5,50 V74.5 H19.5 Z" fill="#9bd08a"/>')
    g.append('<line x1="48.5" y1="14" x2="48.5" y2="76" stroke="#ffffff" stroke-width="2.5"/>')
    g.append('<line x1="18" y1="44" x2="79" y2="44" stroke="#ffffff" stroke-width="2.5"/>')
    g.append('<rect x="14" y="75" width="69" height="4" fill="#ffffff" stroke="#d8cfc0"/>')
    # rod
    g.append('<rect x="4" y="8" width="89" height="3" rx="1.5" fill="#8a5a2c"/>')
    g.append('<circle cx="5" cy="9.5" r="3" fill="#8a5a2c"/><circle cx="92" cy="9.5" r="3" fill="#8a5a2c"/>')
    # curtains, tied back
    g.append('<path d="M8,10 H36 C34,30 30,44 22,54 C26,66 30,80 30,90 H8 Z" fill="url(#cur)"/>')
    g.append('<path d="M89,10 H61 C63,30 67,44 75,54 C71,66 67,80 67,90 H89 Z" fill="url(#cur)"/>')
    g.append('<g stroke="#ffffff" stroke-width="0.8" opacity="0.35" fill="none">'
             '<path d="M14,12 C14,40 16,70 13,90"/><path d="M22,12 C22,34 18,46 20,54"/>'
             '<path d="M83,12 C83,40 81,70 84,90"/><path d="M75,12 C75,34 79,46 77,54"/></g>')
    g.append('<rect x="14" y="52" width="12" height="4" rx="2" fill="#f3c04c"/>')
    g.append('<rect x="71" y="52" width="12" height="4" rx="2" fill="#f3c04c"/>')
    return d, "\n".join(g)


TOOLS = [
    ("墙砖计算器", scene_wall_tiles, "#1f5fb4"),
    ("地砖计算器", scene_floor_tiles, "#555a5e"),
    ("地板计算器", scene_wood_floor, "#555a5e"),
    ("壁纸计算器", scene_wallpaper, "#555a5e"),
    ("涂料计算器", scene_paint_roller, "#555a5e"),
    ("窗帘计算器", scene_curtain, "#555a5e"),
]


def tile(index):
    label, scene, color = TOOLS[index]
    sdefs, sbody = scene()
    w, h = 107, 140
    defs = (
        sdefs
        + lin("frame", [(0, "#f7f7f7"), (1, "#e2e2e2")])
        + '<clipPath id="clip"><rect x="5" y="5" width="97" height="95" rx="5"/></clipPath>'
        + lin("gloss", [(0, "#ffffff", 0.35), (0.4, "#ffffff", 0)])
    )
    text_w = 5 * 13
    start = (w - (11 + 4 + text_w)) / 2
    b = [
        '<rect x="0.5" y="0.5" width="106" height="104" rx="8" fill="url(#frame)" stroke="#bdbdbd" stroke-width="1"/>',
        '<g clip-path="url(#clip)"><g transform="translate(5,5)">' + sbody + "</g>"
        '<rect x="5" y="5" width="97" height="40" fill="url(#gloss)"/></g>',
        '<rect x="5.5" y="5.5" width="96" height="94" rx="5" fill="none" stroke="#9e9e9e" stroke-width="1" opacity="0.6"/>',
        f'<circle cx="{start + 5.5:.1f}" cy="122" r="5.5" fill="{color}"/>',
        f'<path d="M{start + 4:.1f},119 L{start + 7.5:.1f},122 L{start + 4:.1f},125" fill="none" stroke="#ffffff" '
        'stroke-width="1.6" stroke-linecap="round" stroke-linejoin="round"/>',
        text(start + 15, 122, label, 13, color, "bold", "start"),
    ]
    return svg(w, h, "\n".join(b), defs)


# ------------------------------------------------------------ calculator ---

def calc_header():
    w, h = 611, 50
    defs = (
        lin("band", [(0, "#fff4ea"), (1, "#fde2cd")])
        + lin("calm", [(0, "#ffffff", 0), (0.13, "#ffffff", 0.75), (0.34, "#ffffff", 0.75), (0.62, "#ffffff", 0)],
              0, 0, 1, 0)
        + lin("body", [(0, "#ff9a3c"), (1, "#e66f0a")], 0, 0, 1, 1)
        + lin("scr", [(0, "#e6f4dc"), (1, "#c7e3b4")])
        + blur("sh", 1.2)
    )
    b = [
        '<rect x="0.5" y="0.5" width="610" height="49" rx="6" fill="url(#band)" stroke="#f1c8a6" stroke-width="1"/>',
        '<rect x="1" y="1" width="609" height="45" fill="url(#calm)"/>',
        '<rect x="1" y="46" width="609" height="3" rx="1.5" fill="#f39c4a" opacity="0.85"/>',
        # the calculator
        '<rect x="22" y="7" width="34" height="38" rx="5" fill="#7a3a00" opacity="0.3" filter="url(#sh)"/>',
        '<rect x="20" y="5" width="34" height="38" rx="5" fill="url(#body)" stroke="#b85400" stroke-width="1"/>',
        '<rect x="24" y="9" width="26" height="9" rx="1.5" fill="url(#scr)" stroke="#8a5020" stroke-width="0.6"/>',
        text(48.5, 13.6, "128", 7.5, "#2c4a22", "bold", "end", family="DejaVu Sans Mono"),
    ]
    for r in range(4):
        for c in range(4):
            col = "#ffffff" if c < 3 else "#ffe1b8"
            if (r, c) == (3, 3):
                col = "#3a9a3a"
            b.append(f'<rect x="{24 + c * 6.7:.1f}" y="{21 + r * 5.3:.1f}" width="5" height="3.9" rx="1" fill="{col}"/>')
    # a light pencil leaning on it
    b.append('<g transform="rotate(28 66 26)"><rect x="63" y="8" width="5" height="32" rx="1" fill="#ffcc33" '
             'stroke="#c99400" stroke-width="0.6"/><path d="M63,40 L65.5,46 L68,40 Z" fill="#f2d2a0"/>'
             '<path d="M64.6,44 L65.5,46 L66.4,44 Z" fill="#444"/></g>')
    # calm ruler ticks and a tagline at the right end
    ticks = "".join(
        f'<line x1="{x}" y1="38" x2="{x}" y2="{38 - (6 if (x - 420) % 20 == 0 else 3)}"/>' for x in range(420, 601, 5)
    )
    b.append(f'<g stroke="#e7b48a" stroke-width="1">{ticks}<line x1="420" y1="38" x2="600" y2="38"/></g>')
    b.append(text(598, 19, "输入尺寸 · 一键算出用量", 12, "#c7804a", "normal", "end"))
    return svg(w, h, "\n".join(b), defs)


def calc_button():
    w, h = 75, 29
    defs = (
        lin("g", [(0, "#64c35a"), (0.5, "#3f9f3d"), (1, "#2c852e")])
        + lin("hl", [(0, "#ffffff", 0.5), (1, "#ffffff", 0.05)])
        + blur("ts", 0.7)
    )
    b = [
        '<rect x="1" y="1.8" width="73" height="26.5" rx="5" fill="#174a17" opacity="0.35"/>',
        '<rect x="0.5" y="0.5" width="74" height="26.5" rx="5" fill="url(#g)" stroke="#256f25" stroke-width="1"/>',
        '<rect x="2" y="2" width="71" height="11" rx="4" fill="url(#hl)"/>',
        '<g filter="url(#ts)" opacity="0.6">' + text(38.1, 14.4, "计 算", 15, "#0d3d10", "bold") + "</g>",
        text(37.5, 13.8, "计 算", 15, "#ffffff", "bold"),
    ]
    return svg(w, h, "\n".join(b), defs)


# ---------------------------------------------------------- loading page ---

def splash():
    w, h = 782, 565
    defs = (
        rad("bg", [(0, "#ffffff"), (0.6, "#f1f8ee"), (1, "#d9ecd3")], 0.5, 0.45, 0.75)
        + lin("ground", [(0, "#cfe7c8"), (1, "#b5d9aa")])
        + blur("card", 6)
        + blur("ws", 1.5)
        + emblem_defs("e")
    )
    b = [f'<rect width="{w}" height="{h}" fill="url(#bg)"/>']
    # soft hills and a row of houses at the bottom
    b.append('<path d="M0,470 C150,430 300,480 420,455 C560,425 680,470 782,440 V565 H0 Z" fill="#e2f1dd"/>')
    b.append(skyline(520, "#c5e2bc", 1.0, x0=20, scale=1.1))
    b.append(skyline(520, "#c5e2bc", 1.0, x0=440, scale=1.0))
    b.append('<path d="M0,505 C180,480 340,530 520,500 C640,482 720,500 782,490 V565 H0 Z" fill="url(#ground)"/>')
    b.append(text(391, 543, "家装自动报价 · 让装修预算清清楚楚", 14, "#3f7a38", "normal",
                  extra='letter-spacing="2"'))
    # logo
    b.append('<g transform="translate(238,98) scale(0.72)">' + emblem("e") + "</g>")
    b.append('<g filter="url(#ws)" opacity="0.25">'
             + text(340, 142, "筑点网", 58, "#0e3d10", "bold", "start", extra='letter-spacing="8"') + "</g>")
    b.append(text(338, 140, "筑点网", 58, GREEN, "bold", "start", extra='letter-spacing="8"'))
    b.append(text(340, 186, "家 装 自 动 报 价 系 统", 16, "#5f8f58", "normal", "start"))
    # the card that the progress bar and message sit on
    b.append('<rect x="186" y="234" width="410" height="102" rx="12" fill="#3c6e38" opacity="0.22" filter="url(#card)"/>')
    b.append('<rect x="181.5" y="229.5" width="419" height="104" rx="12" fill="#ffffff" stroke="#d6e8d0"/>')
    return svg(w, h, "\n".join(b), defs)


def progress_frame(i, n):
    w, h = 320, 34
    frac = 0.06 + 0.94 * (1 - (1 - i / (n - 1)) ** 1.6)
    fill_w = max(14.0, (w - 8) * frac)
    off = (i * 4) % 16
    defs = (
        lin("track", [(0, "#e4ece1"), (1, "#f4f8f2")])
        + lin("fill", [(0, "#6cca5f"), (0.5, "#3f9f3d"), (1, "#2f8a31")])
        + lin("hl", [(0, "#ffffff", 0.55), (1, "#ffffff", 0)])
        + f'<clipPath id="c"><rect x="4" y="9" width="{fill_w:.1f}" height="16" rx="8"/></clipPath>'
    )
    stripes = "".join(
        f'<path d="M{x},25 L{x + 8},9 L{x + 16},9 L{x + 8},25 Z"/>' for x in range(-32 + off, w + 16, 16)
    )
    b = [
        f'<rect width="{w}" height="{h}" fill="#ffffff"/>',
        '<rect x="3.5" y="8.5" width="313" height="17" rx="8.5" fill="url(#track)" stroke="#c5d9c0"/>',
        '<g clip-path="url(#c)">'
        f'<rect x="4" y="9" width="{fill_w:.1f}" height="16" fill="url(#fill)"/>'
        f'<g fill="#ffffff" opacity="0.22">{stripes}</g>'
        f'<rect x="4" y="9" width="{fill_w:.1f}" height="7" fill="url(#hl)"/>'
        "</g>",
    ]
    return svg(w, h, "\n".join(b), defs)


# ----------------------------------------------------------------- output ---

NAV_LABELS = ["自动报价", "家装工具", "装修效果图", "精确报价", "使用说明"]


def pictures():
    yield "background", background()
    for i, label in enumerate(NAV_LABELS, 1):
        yield f"nav-tab{i}", nav_tab(label)
    yield "nav-highlight", nav_highlight()
    yield "app-icon", app_icon()
    yield "app-icon-small", app_icon_small()
    yield "quote-button", quote_button()
    yield "chat-badge", chat_badge()
    yield "news-pointer", news_pointer()
    yield "menu-gradient", menu_gradient()
    for i, (label, _, _) in enumerate(TOOLS, 1):
        yield f"menu-tool{i}", menu_tool(label)
        yield f"tile-tool{i}", tile(i - 1)
    yield "calc-header", calc_header()
    yield "calc-button", calc_button()
    yield "splash", splash()


PROGRESS_FRAMES = 20


def main():
    frames_dir = sys.argv[1] if len(sys.argv) > 1 else None
    for name, content in pictures():
        with open(os.path.join(OUT, f"{name}.svg"), "w", encoding="utf-8") as f:
            f.write(content)
    if frames_dir:
        for i in range(PROGRESS_FRAMES):
            with open(os.path.join(frames_dir, f"progress-{i:02d}.svg"), "w", encoding="utf-8") as f:
                f.write(progress_frame(i, PROGRESS_FRAMES))


if __name__ == "__main__":
    main()
