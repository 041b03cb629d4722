"""Helpers shared by the line-drawing generators: elements collected in drawing
order and written out as one stroked SVG that tinkettles-svg turns into a line drawing."""

import os
import sys

elements = []


def path(d, note=None):
    if note:
        elements.append(f"  <!-- {note} -->")
    elements.append(f'  <path d="{d}"/>')


def circle(cx, cy, r):
    elements.append(f'  <circle cx="{cx:g}" cy="{cy:g}" r="{r:g}"/>')


def sparkle(cx, cy, r):
    """A four-pointed star of concave sides."""
    return (f"M{cx:g},{cy - r:g} Q{cx:g},{cy:g} {cx + r:g},{cy:g} Q{cx:g},{cy:g} {cx:g},{cy + r:g} "
            f"Q{cx:g},{cy:g} {cx - r:g},{cy:g} Q{cx:g},{cy:g} {cx:g},{cy - r:g} Z")


def made_by_line(script):
    """The first line of every generated SVG: which script makes it, so that an edit
    goes into the script rather than into a file the script will overwrite."""
    return (f"<!-- Made by assets/pictures/{os.path.basename(script)}: edit that script and run it "
            "(python3 assets/pictures/" + os.path.basename(script) + "), not this file. -->\n")


def beside_this_script(name):
    """Generated files go next to the scripts, from whatever folder they are run."""
    return os.path.join(os.path.dirname(os.path.abspath(__file__)), name)


def write(name, title, ink, segments):
    """The 320 x 200 frame fills the demo's screen; segments sets the pen's pace."""
    with open(beside_this_script(name), "w") as svg:
        svg.write(made_by_line(sys.argv[0]) + '<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 320 200" width="640" height="400"\n'
                  f'     data-segments="{segments}" fill="none" stroke="{ink}" stroke-width="1"\n'
                  '     stroke-linecap="round" stroke-linejoin="round">\n'
                  f"  <title>{title}</title>\n" + "\n".join(elements) + "\n</svg>\n")
