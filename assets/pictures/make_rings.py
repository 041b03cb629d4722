#!/usr/bin/env python3
"""Writes blinq.svg and blinq2.svg, the two ring pictures of the picture tunnel.

They are regular, so they are generated; edit the numbers here, or edit the SVGs in
any editor (then this script is no longer needed). Both carry only colour positions
1-3: on screen they take the first colours of the scene's own picture palette. The
tunnel shows them from about 40 to 440 pixels across the radius; data-scale 250 keeps
their curves smooth near the front.
"""
import math

from line_art import beside_this_script, made_by_line

PALETTE = "#1e50dc #ff3c8c #ffbe00"   # the first entries of flonk1's palette


def ring_path(radius, cx=0.0, cy=0.0, clockwise=False):
    """A circle as two arcs; clockwise ones cut holes under the nonzero rule."""
    sweep = 1 if clockwise else 0
    return (f"M{cx - radius:g},{cy:g} A{radius:g},{radius:g} 0 1,{sweep} {cx + radius:g},{cy:g} "
            f"A{radius:g},{radius:g} 0 1,{sweep} {cx - radius:g},{cy:g} Z")


def annulus(outer, inner, cx=0.0, cy=0.0):
    return ring_path(outer, cx, cy) + " " + ring_path(inner, cx, cy, clockwise=True)


def cog_ring(teeth, outer, root, inner, notch=0.45):
    """A ring with square teeth on its outside."""
    points = []
    step = 2 * math.pi / teeth
    for k in range(teeth):
        a = k * step
        for angle, radius in ((a, root), (a + step * notch * 0.1, outer),
                              (a + step * notch, outer), (a + step * notch * 1.1, root)):
            points.append(f"{radius * math.cos(-angle):.2f},{radius * math.sin(-angle):.2f}")
    return "M" + " L".join(points) + " Z " + ring_path(inner, clockwise=True)


def write(name, body):
    with open(beside_this_script(name), "w") as out:
        out.write(made_by_line(__file__) + '<svg xmlns="http://www.w3.org/2000/svg" viewBox="-100 -100 200 200" '
                  f'width="400" height="400" data-scale="250" data-palette="{PALETTE}">\n{body}</svg>\n')


beads = "".join(
    f'  <path fill="#1e50dc" d="{annulus(15, 8, 82 * math.cos(k * math.pi / 4), 82 * math.sin(k * math.pi / 4))}"/>\n'
    for k in range(8))
dots = "".join(
    f'  <circle fill="#ffbe00" r="5" cx="{60 * math.cos((k + 0.5) * math.pi / 4):.2f}" '
    f'cy="{60 * math.sin((k + 0.5) * math.pi / 4):.2f}"/>\n'
    for k in range(8))
write("blinq.svg",
      "  <title>blinq: a ring of eight beads round a thin hoop</title>\n"
      f'  <path fill="#ff3c8c" d="{annulus(71, 62)}"/>\n' + beads + dots)

write("blinq2.svg",
      "  <title>blinq2: a toothed hoop with a ring of dashes inside</title>\n"
      f'  <path fill="#ffbe00" d="{cog_ring(16, 98, 86, 76)}"/>\n'
      + "".join(
          f'  <rect fill="#ff3c8c" x="46" y="-4" width="16" height="8" rx="4" '
          f'transform="rotate({k * 30})"/>\n' for k in range(12))
      + f'  <path fill="#1e50dc" d="{annulus(34, 28)}"/>\n')
