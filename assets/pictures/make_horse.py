#!/usr/bin/env python3
"""Writes strutto.svg and struttoblk.svg: a tin toy horse in two gallop poses.

The demo alternates the two pictures every four rows while the horse swings into
place, so they share one frame (viewBox) and one palette, and differ only in the legs,
the tail and a small bob of the body. Positions 1-3 (red, black, gold) are also the
colours of the picture tunnel behind the horse.
"""
import math

from line_art import beside_this_script, made_by_line

PALETTE = "#dc1e28 #141420 #ffc800"
COAT, COAT_DARK, BELLY = "#c46a28", "#8c4a1a", "#e89a50"
RED, BLACK, GOLD, WHITE = "#dc1e28", "#141420", "#ffc800", "#fff8e8"


def fmt(points):
    return " ".join(f"{x:.1f},{y:.1f}" for x, y in points)


def leg(joint, upper, lower, widths, lengths=(40, 40)):
    """A leg as one tapered polygon plus its hoof, angles in degrees from straight down,
    positive pointing forward (right)."""
    a1, a2 = math.radians(upper), math.radians(lower)
    jx, jy = joint
    kx, ky = jx + lengths[0] * math.sin(a1), jy + lengths[0] * math.cos(a1)
    hx, hy = kx + lengths[1] * math.sin(a2), ky + lengths[1] * math.cos(a2)

    def side(x, y, angle, w):
        return (x - w * math.cos(angle), y + w * math.sin(angle)), (x + w * math.cos(angle), y - w * math.sin(angle))
    j0, j1 = side(jx, jy, a1, widths[0])
    k0, k1 = side(kx, ky, (a1 + a2) / 2, widths[1])
    h0, h1 = side(hx, hy, a2, widths[2])
    f0, f1 = side(hx + 7 * math.sin(a2), hy + 7 * math.cos(a2), a2, widths[2] + 1)
    return [j0, k0, h0, h1, k1, j1], [h0, f0, f1, h1]


def leg_svg(joint, upper, lower, coat, widths=(11, 6, 4.5)):
    shape, hoof = leg(joint, upper, lower, widths)
    return (f'    <polygon fill="{coat}" points="{fmt(shape)}"/>\n'
            f'    <polygon fill="{BLACK}" points="{fmt(hoof)}"/>\n')


def horse(pose):
    stretched = pose == "stretched"
    bob = 0 if stretched else -6
    legs = {   # (upper, lower) angles: far front, far hind, near front, near hind
        "stretched": ((50, 28), (-42, -22), (64, 84), (-58, -78)),
        "gathered": ((22, -38), (34, -8), (8, -52), (46, 4)),
    }[pose]
    tail = ("M72,84 C50,78 34,96 24,118 C40,112 50,104 58,104 C48,118 46,132 52,146 "
            "C58,124 66,110 76,100 Z") if stretched else (
            "M72,84 C52,86 40,106 38,134 C48,124 54,114 60,110 C56,124 58,138 66,150 "
            "C66,128 70,112 78,100 Z")
    out = [f'  <g id="far-legs" transform="translate(0,{bob})">\n',
           leg_svg((150, 110), *legs[0], COAT_DARK),
           leg_svg((84, 106), *legs[1], COAT_DARK),
           "  </g>\n",
           f'  <g id="horse" transform="translate(0,{bob})">\n',
           f'    <path id="tail" fill="{BLACK}" d="{tail}"/>\n',
           f'    <path id="body" fill="{COAT}" stroke="{COAT_DARK}" stroke-width="1.5" '
           'd="M70,92 C70,70 96,64 122,66 C142,67 156,70 164,84 C170,100 160,118 140,120 '
           'C120,124 100,124 84,120 C72,116 70,104 70,92 Z"/>\n',
           f'    <path id="belly" fill="{BELLY}" d="M92,116 C106,122 128,122 144,116 C130,112 106,112 92,116 Z"/>\n',
           f'    <path id="neck" fill="{COAT}" d="M140,72 C150,56 160,42 176,30 L196,52 C184,62 174,80 164,100 Z"/>\n',
           f'    <path id="head" fill="{COAT}" stroke="{COAT_DARK}" stroke-width="1.5" '
           'd="M174,32 C180,20 192,16 202,20 C212,26 222,40 230,50 C234,56 230,64 222,64 '
           'C212,64 202,60 194,56 C186,50 178,42 174,32 Z"/>\n',
           f'    <path id="ear" fill="{COAT_DARK}" d="M184,22 L186,4 L196,20 Z"/>\n',
           f'    <path id="mane" fill="{BLACK}" d="M138,70 C146,52 160,34 182,18 C180,28 178,30 184,34 '
           'C172,40 168,46 170,52 C160,54 156,62 158,68 C150,68 146,72 146,78 Z"/>\n',
           f'    <circle id="eye" cx="204" cy="34" r="4" fill="{WHITE}"/>\n',
           f'    <circle cx="205" cy="34" r="2.2" fill="{BLACK}"/>\n',
           f'    <circle id="nostril" cx="226" cy="54" r="1.8" fill="{BLACK}"/>\n',
           f'    <path id="bridle" fill="none" stroke="{GOLD}" stroke-width="3" '
           'd="M192,22 C194,36 200,50 210,60 M200,46 C208,44 216,46 224,50"/>\n',
           f'    <path id="reins" fill="none" stroke="{GOLD}" stroke-width="2" d="M206,56 C190,72 168,74 150,70"/>\n',
           f'    <path id="saddle-cloth" fill="{RED}" stroke="{GOLD}" stroke-width="2" '
           'd="M100,68 L138,66 C142,80 140,96 136,104 L104,106 C100,96 98,80 100,68 Z"/>\n',
           f'    <path id="saddle" fill="{BLACK}" d="M102,66 C110,58 130,58 138,64 C132,70 110,70 102,66 Z"/>\n',
           f'    <circle id="star" cx="120" cy="88" r="6" fill="{GOLD}"/>\n',
           leg_svg((150, 110), *legs[2], COAT),
           leg_svg((84, 106), *legs[3], COAT),
           "  </g>\n"]
    return "".join(out)


def write(name, title, pose):
    with open(beside_this_script(name), "w") as svg:
        svg.write(made_by_line(__file__) + '<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 -8 240 198" width="480" height="396" '
                  f'data-scale="120" data-palette="{PALETTE}">\n  <title>{title}</title>\n'
                  + horse(pose) + "</svg>\n")


write("strutto.svg", "strutto: the tin horse at full stretch", "stretched")
write("struttoblk.svg", "struttoblk: the tin horse gathering its legs", "gathered")
