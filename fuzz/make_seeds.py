#!/usr/bin/env python3
"""Writes the hand-made seed inputs under fuzz/corpus/: small modules, pictures, line
drawings and a font that between them reach every element and effect the loaders and
the player know. The demo's own data files are added as seeds by run.sh at run time,
so the repository keeps only these small files. Inputs that once found a fault are kept
beside them by hand (e.g. corpus/picture/extreme_coordinates.cgm)."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write(kind, name, content):
    folder = os.path.join(HERE, "corpus", kind)
    os.makedirs(folder, exist_ok=True)
    if isinstance(content, str):
        content = content.encode()
    with open(os.path.join(folder, name), "wb") as f:
        f.write(content)


def sample_header(length_bytes, finetune, volume, loop_start, loop_length):
    return (b"s" * 22 + struct.pack(">HBBHH", length_bytes // 2, finetune, volume,
                                    loop_start // 2, loop_length // 2))


def cell(sample, period, effect, parameter):
    return bytes([(sample & 0xF0) | (period >> 8), period & 0xFF,
                  ((sample & 0x0F) << 4) | effect, parameter])


def module(signature, channels, rows, samples, orders, song_length, restart=0):
    """rows: one list of `channels` cells per row (missing rows are empty)."""
    headers = b"".join(sample_header(*s[:5]) for s in samples)
    headers += sample_header(0, 0, 0, 0, 0) * (31 - len(samples))
    order_table = bytes(orders) + bytes(128 - len(orders))
    patterns = max(orders) + 1
    pattern = b""
    for r in range(64):
        row = rows[r] if r < len(rows) else []
        row = row + [cell(0, 0, 0, 0)] * (channels - len(row))
        pattern += b"".join(row)
    data = b"".join(bytes((i * 37 + n * 11) % 256 for i in range(s[0]))
                    for n, s in enumerate(samples))
    # The last byte selects the output format in the module fuzzer (even: 16-bit).
    return (b"seed module".ljust(20, b"\0") + headers + bytes([song_length, restart]) +
            order_table + signature + pattern * patterns + data)


def modules():
    samples = [(64, 0, 64, 0, 0), (128, 0xF7, 80, 32, 64), (32, 3, 40, 0, 2)]
    every_effect = [
        [cell(1, 428, 0x0, 0x37), cell(2, 320, 0xC, 0x40), cell(3, 856, 0x9, 0x02), cell(0, 0, 0xF, 0x03)],
        [cell(0, 0, 0x1, 0x04), cell(0, 0, 0x2, 0x03), cell(0, 0, 0x4, 0x48), cell(0, 0, 0x7, 0x35)],
        [cell(2, 214, 0x3, 0x10), cell(0, 0, 0x5, 0x12), cell(0, 0, 0x6, 0x21), cell(0, 0, 0xA, 0x0F)],
        [cell(0, 0, 0xE, 0x12), cell(0, 0, 0xE, 0x23), cell(0, 0, 0xE, 0x93), cell(0, 0, 0xE, 0xC2)],
        [cell(0, 0, 0xE, 0x60), cell(0, 0, 0xE, 0xA4), cell(0, 0, 0xE, 0xB4), cell(0, 0, 0xE, 0xD1)],
        [cell(0, 0, 0xE, 0x62), cell(0, 0, 0xE, 0xE2), cell(0, 0, 0xE, 0x41), cell(0, 0, 0xE, 0x52)],
        [cell(1, 113, 0x8, 0x80), cell(31, 4000, 0xB, 0x01), cell(3, 27, 0xD, 0x10), cell(0, 0, 0xF, 0x7D)],
    ]
    write("module", "every_effect.mod",
          module(b"M.K.", 4, every_effect, samples, [0, 1, 0, 1], 4, 127) + b"\0")
    write("module", "eight_channels_8bit.mod",
          module(b"8CHN", 8, every_effect[:3], samples[:2], [0], 1) + b"\1")
    write("module", "two_channels_loop.mod",
          module(b"2CHN", 2, [[cell(2, 428, 0xF, 0x01)], [], [cell(0, 0, 0xB, 0x00)]],
                 samples, [0, 0], 2, 1) + b"\0")
    write("module", "unknown_signature.mod", module(b"XXXX", 4, [], samples, [0], 1) + b"\0")
    write("module", "header_only.mod", module(b"M.K.", 4, [], [], [0], 1)[:1084] + b"\0")


def cgm(body):
    return ('BEGMF "seed";\nmfversion 1;\nBEGPIC "p";\n'
            "colrtable 1 0 0 0 255 255 255 255 0 0 0 255 0 0 0 255;\n" + body + "\nENDPIC;\nENDMF;\n")


def pictures():
    write("picture", "shapes.cgm", cgm(
        "backcolr 10 20 30;\nfillcolr 2;\nlinecolr 3;\nlinewidth 30;\n"
        "rect (10,20) (30,40);\nintstyle SOLID;\nedgevis ON;\n"
        "polygon (0,0) (100,0) (100,50) (50,25) (0,50) (0,0);\n"
        "intstyle EMPTY;\nedgewidth 45;\nline (0,0) (100,100) (200,0);\n"
        "edgevis OFF;\nintstyle HOLLOW;\npolygon (-50,-50)(60,-40)(0,70);"))
    write("picture", "colours.cgm", cgm(
        "colrtable 7 255 0 0;\nfillcolr 7;\npolygon (0,0) (10,0) (0,10);\n"
        "colrtable 8 1 2 3;\nfillcolr 8;\nlinecolr 9;\npolygon (0,0) (10,0) (0,10) (5,5);"))
    write("picture", "concave.cgm", cgm(
        "polygon (0,0) (40,0) (40,40) (30,40) (30,10) (10,10) (10,40) (0,40) (0,0);\n"
        "polygon (0,0) (0,0) (0,0);\npolygon (5,5);\nline (1,1);"))
    write("picture", "cut_short.cgm", 'BEGMF "x";\ncolrtable 1 0 0 0 9 9 9;\npolygon (0,0) (10,')
    write("picture", "no_table.cgm", 'BEGMF "x";\npolygon (0,0) (10,0) (0,10);\n')
    write("picture", "far_points.cgm", cgm("polygon (-30000,-30000) (30000,-30000) (0,30000);"))


def text_pictures():
    write("text_picture", "two_polylines.txt", "3 0 208 100 300 200 208\n4 10 10 20 20 30 30 40 40\n-1\n")
    write("text_picture", "edge_values.txt", "1 5 5\n0\n2 2560 1807 -3 -3\n2 7 7 7 7\n-1\n")
    write("text_picture", "no_terminator.txt", "5 1 2 3 4 5")
    write("text_picture", "only_end.txt", "-1\n")


def fonts():
    # Two glyph rows of the first frame: ink, shade and transparent stripes.
    image = bytes((0, 128, 255)[(x // 3 + y) % 3] for y in range(64) for x in range(320))
    write("font", "partial.raw", image)
    write("font", "all_ink.raw", bytes(8192))


if __name__ == "__main__":
    modules()
    pictures()
    text_pictures()
    fonts()
