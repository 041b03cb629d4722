#!/usr/bin/env python3
"""Writes groovster.svg, the line drawing of scene 6: a disco dancer under a mirror ball.

The pen follows document order: the dancer from head to platform shoes, then the
mirror ball, its sparkles and the notes. The top-left strip (greetings) and the
bottom-right corner ("greetz") stay empty for the scene's captions. The ball and the
notes are generated; the dancer is drawn by hand.
"""
import math
import sys

sys.dont_write_bytecode = True   # no __pycache__ beside the sources
from line_art import path, sparkle, write
def note(x, y, size, flag=True):
    """A quaver: an oval head tilted up, a stem and (optionally) a flag."""
    d = (f"M{x - size:g},{y:g} C{x - size:g},{y - size * 0.9:g} {x + size:g},{y - size * 1.1:g} {x + size:g},{y - size * 0.3:g} "
         f"C{x + size:g},{y + size * 0.6:g} {x - size:g},{y + size * 0.9:g} {x - size:g},{y:g} Z "
         f"M{x + size:g},{y - size * 0.3:g} L{x + size:g},{y - size * 4:g}")
    if flag:
        d += f" C{x + size * 1.5:g},{y - size * 3:g} {x + size * 2.8:g},{y - size * 2.8:g} {x + size * 2.4:g},{y - size * 1.6:g}"
    return d


# The dancer.
path("M97,58 C91,46 98,36 110,38 C116,32 128,36 128,44 C134,48 132,56 128,60", "hair")
path("M99,56 C99,72 105,81 113,81 C121,81 127,72 127,56", "face")
path("M99,59 L110,59 L109,66 L101,66 Z M116,59 L127,59 L126,66 L118,66 Z M110,60.5 L116,60.5", "shades")
path("M106,73 C109,76.5 117,76.5 120,73", "grin")
path("M99.5,62 L100.5,72 M126.5,62 L125.5,72", "sideburns")
path("M108,80 L108,87 M118,80 L118,87", "neck")
path("M108,87 L94,101 L106,99 L113,93 L120,99 L132,101 L118,87", "the big collar")
path("M106,97 C108,107 110,111 113,111 C116,111 118,107 120,97", "chain")
path("M117,115 A4,4 0 1,1 109,115 A4,4 0 1,1 117,115 Z")
path("M113,93 L113,108")
path("M94,101 L90,92 C96,88 104,86 108,87", "shirt")
path("M118,87 C124,86 132,87 137,89 L132,101")
path("M137,89 L160,62 L166,68 L141,97", "the arm pointing up")
path("M160,62 L178,38 L184,43 L166,68")
path("M178,38 L186,31 C189,28 193,30 191,34 L188,38 L184,43 M186,31 L197,17 L199,19 L190,33", "hand")
path("M90,92 L68,117 L93,139 L97,133 L78,117 L96,104", "the arm on the hip")
path("M96,104 L98,140 M132,101 L128,140", "sides")
path("M97,140 L129,140 L129,147 L97,147 Z M109,141 L117,141 L117,146 L109,146 Z", "belt")
path("M97,147 L90,170 L72,194 L98,194 L100,174 L110,152", "flares")
path("M110,152 L124,162 L150,170 L166,192 L140,194 L134,180 L118,178", "the kicking leg")
path("M129,147 C132,156 130,160 124,162")
path("M70,194 L72,199 L100,199 L98,194 M140,194 L138,199 L168,199 L166,192", "platform soles")
path("M172,28 L180,22 M170,20 L176,12 M158,184 L170,178 M160,174 L172,168", "moves")

# The mirror ball, hanging in the top-right corner.
cx, cy, r = 272, 44, 28
path(f"M{cx},0 L{cx},{cy - r}", "the mirror ball")
path(f"M{cx - r},{cy} A{r},{r} 0 1,1 {cx + r},{cy} A{r},{r} 0 1,1 {cx - r},{cy} Z")
for k in (-2, -1, 0, 1, 2):
    y = cy + r * math.sin(k * math.pi / 6)
    half = r * math.cos(k * math.pi / 6)
    path(f"M{cx - half:.1f},{y:.1f} Q{cx:g},{y + 4 * (1 if k >= 0 else -1) + (0 if k else 4):.1f} {cx + half:.1f},{y:.1f}")
for k in (-2, -1, 0, 1, 2):
    w = r * math.sin(k * math.pi / 6)
    path(f"M{cx},{cy - r} Q{cx + 1.3 * w:.1f},{cy:g} {cx},{cy + r}")
for k in range(12):
    a = k * math.pi / 6 + 0.2
    x0, y0 = cx + (r + 6) * math.cos(a), cy + (r + 6) * math.sin(a)
    x1, y1 = cx + (r + 14) * math.cos(a), cy + (r + 14) * math.sin(a)
    if y1 < 100:
        path(f"M{x0:.1f},{y0:.1f} L{x1:.1f},{y1:.1f}")
for x, y, s in ((232, 96, 8), (304, 104, 6), (214, 64, 5), (250, 130, 5)):
    path(sparkle(x, y, s))
for x, y, s, flag in ((36, 78, 5, True), (54, 118, 4, False), (24, 150, 6, True), (196, 120, 4, True)):
    path(note(x, y, s, flag), "notes" if x == 36 else None)

write("groovster.svg", "groovster: a disco dancer pointing at the mirror ball", "#640000", 3550)
