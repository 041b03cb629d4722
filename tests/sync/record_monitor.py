#!/usr/bin/env python3
"""Records a PulseAudio source (mono, s16le, 44100 Hz) with parec and notes when each
piece arrives: writes the samples to RAW and lines "<monotonic us> <samples so far>"
to TIMES, until parec ends or this process gets SIGTERM."""
import os
import signal
import subprocess
import sys
import time

source, raw_path, times_path = sys.argv[1:4]
parec = subprocess.Popen(
    ["parec", "-d", source, "--format=s16le", "--rate=44100", "--channels=1", "--latency-msec=5", "--raw"],
    stdout=subprocess.PIPE)
stop = False


def on_term(signum, frame):
    global stop
    stop = True


signal.signal(signal.SIGTERM, on_term)
total = 0
with open(raw_path, "wb") as raw, open(times_path, "w") as times:
    fd = parec.stdout.fileno()
    while not stop:
        try:
            piece = os.read(fd, 65536)
        except InterruptedError:
            continue
        now = time.monotonic_ns() // 1000
        if not piece:
            break
        raw.write(piece)
        total += len(piece)
        times.write(f"{now} {total // 2}\n")
parec.terminate()
parec.wait()
