#!/usr/bin/env python3
"""Writes afrogirl.svg, the line drawing of scene 3: a girl with a big curly afro.

The demo draws it stroke by stroke in document order, so the order here is the order
the pen moves: face, features, hair, then the body and the flowers around her. The
band across the middle (rows 84-116), where the scene's caption blinks, holds only
her neck and the ends of the hair. The curls and petals are generated; the face is
drawn by hand.
"""
import math
import sys
import random

sys.dont_write_bytecode = True   # no __pycache__ beside the sources
from line_art import circle, path, sparkle, write

random.seed(1977)   # the curls land in the same places every time


def curl(cx, cy, r, start):
    """A small clockwise spiral, a turn and a half, opening outwards."""
    points = []
    for i in range(28):
        t = i / 27
        angle = start + t * 3 * math.pi
        radius = r * (0.25 + 0.75 * t)
        points.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
    return "M" + " L".join(f"{x:.1f},{y:.1f}" for x, y in points)


def scallops(cx, cy, rx, ry, count, bulge):
    """A cloud edge round an ellipse: one outward bump per step."""
    d = []
    for k in range(count + 1):
        a = 2 * math.pi * k / count
        x, y = cx + rx * math.cos(a), cy + ry * math.sin(a)
        if k == 0:
            d.append(f"M{x:.1f},{y:.1f}")
        else:
            d.append(f"A{bulge:g},{bulge:g} 0 0,1 {x:.1f},{y:.1f}")
    return " ".join(d)


def flower(cx, cy, r, petals, turn=0.0):
    d = []
    for k in range(petals):
        a = turn + 2 * math.pi * k / petals
        b = a + math.pi / petals
        tip = (cx + r * math.cos(a + math.pi / (2 * petals)), cy + r * math.sin(a + math.pi / (2 * petals)))
        p0 = (cx + 0.3 * r * math.cos(a), cy + 0.3 * r * math.sin(a))
        p1 = (cx + 0.3 * r * math.cos(b), cy + 0.3 * r * math.sin(b))
        c0 = (cx + 1.1 * r * math.cos(a - 0.25), cy + 1.1 * r * math.sin(a - 0.25))
        c1 = (cx + 1.1 * r * math.cos(b + 0.25), cy + 1.1 * r * math.sin(b + 0.25))
        d.append(f"M{p0[0]:.1f},{p0[1]:.1f} Q{c0[0]:.1f},{c0[1]:.1f} {tip[0]:.1f},{tip[1]:.1f} "
                 f"Q{c1[0]:.1f},{c1[1]:.1f} {p1[0]:.1f},{p1[1]:.1f}")
    return " ".join(d)



# Face and features.
path("M137,38 C134,58 142,76 160,85 C178,76 186,58 183,38", "the face")
path("M141,51 C144,46.5 152,46.5 155,51 C152,54 144,54 141,51 Z", "eyes")
path("M165,51 C168,46.5 176,46.5 179,51 C176,54 168,54 165,51 Z")
circle(148, 50.5, 2.2)
circle(172, 50.5, 2.2)
path("M141,50 L138,47 M142.5,48.5 L140.5,45 M179,50 L182,47 M177.5,48.5 L179.5,45", "lashes")
path("M139,43 C143,39.5 151,39.5 156,42 M164,42 C169,39.5 177,39.5 181,43", "brows")
path("M158,54 C157.5,61 155,64 155.5,66.5 C157,68.5 159,68 160,67.5 C161,68 163,68.5 164.5,66.5", "nose")
path("M150,74 C154,70.5 157,71 160,72.5 C163,71 166,70.5 170,74 C164,75.5 156,75.5 150,74 Z", "lips")
path("M150,74 C154,80 166,80 170,74")
path("M145,62 C146,64 148,64 149,63 M171,63 C172,64 174,64 175,62", "dimples")

# The afro: a cloud edge, then curls filling it around the face.
path(scallops(160, 46, 80, 44, 26, 9), "the afro")
face = (160, 56, 27, 33)
placed = []
for attempt in range(20000):
    if len(placed) == 40:
        break
    x, y = random.uniform(84, 236), random.uniform(6, 90)
    inside_hair = ((x - 160) / 78) ** 2 + ((y - 46) / 42) ** 2 < 0.92
    off_face = ((x - face[0]) / (face[2] + 6)) ** 2 + ((y - face[1]) / (face[3] + 6)) ** 2 > 1
    apart = all((x - px) ** 2 + (y - py) ** 2 > 170 for px, py in placed)
    if inside_hair and off_face and apart and y < 86:
        placed.append((x, y))
placed.sort(key=lambda p: math.atan2(p[1] - 46, p[0] - 160))
for x, y in placed:
    path(curl(x, y, random.uniform(4.5, 6.5), random.uniform(0, 2 * math.pi)))

# Earrings, neck and shoulders.
circle(133, 74, 8)
circle(187, 74, 8)
path("M152,83 C152,90 151,96 150,101 M168,83 C168,90 169,96 170,101", "neck")
path("M150,101 C128,104 108,110 98,126 C90,138 87,160 86,199", "shoulders")
path("M170,101 C192,104 212,110 222,126 C230,138 233,160 234,199")
path("M126,108 C138,132 182,132 194,108", "neckline")
for k in range(9):
    t = (k + 1) / 10
    x = 150 + 20 * t
    y = 99 + 7 * math.sin(math.pi * t)
    circle(round(x, 1), round(y, 1), 1.6)
for cx, cy, r, n in ((124, 156, 11, 5), (160, 170, 13, 6), (198, 152, 10, 5), (110, 186, 8, 5), (212, 186, 9, 5)):
    path(flower(cx, cy, r, n, turn=cx / 40.0), "flowers on her top" if cx == 124 else None)
    circle(cx, cy, round(r * 0.22, 1))

# Around her: big flowers and sparkles.
path(flower(46, 150, 34, 7), "a big flower, left")
circle(46, 150, 8)
path("M46,184 C44,192 44,196 45,199")
path(flower(280, 70, 26, 6, 0.4), "a flower, right")
circle(280, 70, 6)
path(flower(286, 168, 18, 5, 1.0))
circle(286, 168, 4)
for cx, cy, r in ((40, 40, 12), (70, 74, 6), (300, 24, 10), (252, 128, 7), (20, 104, 6)):
    path(sparkle(cx, cy, r))

write("afrogirl.svg", "afrogirl: a girl with a big curly afro, drawn line by line", "#1e4028", 4800)
