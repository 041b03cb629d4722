#!/usr/bin/env python3
"""sync_report.py on a made-up run whose answers are known: twenty 0.1 s positions,
the fourth repeated note for note by the fifth, 50 ms of silence put in before the
eighth, a sink that runs 0.5 % fast against the clock the pieces arrive by, and every
position first drawn 3 ms before it is heard. The report must find one dropout of
50 ms, no skip, a mean lead of 3 ms and the sink's rate."""
import os
import random
import struct
import subprocess
import sys
import tempfile

RATE = 44100
ROW = 4410
SINK = RATE * 1.005          # samples the sink plays per second of the arrival clock
START_US = 5_000_000
LEAD_US = 3000

here = os.path.dirname(os.path.abspath(__file__))
random.seed(7)
rows = [[random.randint(-20000, 20000) or 1 for _ in range(ROW)] for _ in range(20)]
rows[4] = rows[3]
stream = [x for row in rows for x in row]
recording = [0] * 1000
starts = []
for i, row in enumerate(rows):
    if i == 7:
        recording += [0] * 2205
    starts.append(len(recording))
    recording += row


def heard_us(n):
    return START_US + n * 1_000_000 / SINK


with tempfile.TemporaryDirectory() as folder:
    def write(name, text):
        with open(os.path.join(folder, name), "w") as f:
            f.write(text)

    with open(os.path.join(folder, "recording.raw"), "wb") as f:
        f.write(struct.pack(f"<{len(recording)}h", *recording))
    with open(os.path.join(folder, "stream.raw"), "wb") as f:
        f.write(struct.pack(f"<{len(stream)}h", *stream))
    # Pieces of 220 samples, each arriving after its last sample is heard: most a little
    # late, one in twenty on time.
    write("times.txt", "".join(
        f"{int(heard_us(n) + (0 if (n // 220) % 20 == 0 else random.uniform(200, 3000)))} {n}\n"
        for n in range(220, len(recording) + 1, 220)))
    write("positions.txt", "".join(f"{i * ROW} {100 + i}\n" for i in range(20)))
    write("frames.txt", "".join(f"{int(heard_us(r)) - LEAD_US} {100 + i} {101 + i}\n" for i, r in enumerate(starts)))
    out = subprocess.run(
        [sys.executable, os.path.join(here, "sync_report.py")] +
        [os.path.join(folder, name) for name in
         ("recording.raw", "times.txt", "frames.txt", "stream.raw", "positions.txt")],
        capture_output=True, text=True, check=True).stdout
figures = dict(item.split("=") for item in out.split())
print(out.strip())
failures = []
if figures["dropouts"] != "1" or figures["silence_ms"] != "50":
    failures.append("one dropout of 50 ms expected")
if figures["skips"] != "0":
    failures.append("no skip expected: the repeated position is heard after the first")
if abs(float(figures["mean_lead_ms"]) - LEAD_US / 1000) > 0.3:
    failures.append(f"a mean lead of {LEAD_US / 1000} ms expected")
if abs(int(figures["sink_rate_ppm"]) - 5000) > 50:
    failures.append("a sink 5000 ppm fast expected")
if failures:
    sys.exit("sync_report_test: " + "; ".join(failures))
