#!/usr/bin/env python3
"""Compares the positions a run of the demo drew (its frame log) with the moments a
recording of the sound server's monitor heard them.

usage: sync_report.py RECORDING TIMES FRAME_LOG STREAM POSITIONS

RECORDING, TIMES: from record_monitor.py. FRAME_LOG: the demo's TINKETTLES_FRAME_LOG.
STREAM, POSITIONS: from stream_positions (the music as the demo mixes it, and the
sample where each position begins).

The recording's sample n was heard at a + b * n: pieces arrive after they are heard,
never before, so the line is fitted under the earliest arrivals (each piece's arrival
less its samples' duration at 44100 Hz, the earliest of every stretch of pieces). Its
slope is the sink's own rate, which need not be the wall clock's: a null sink here ran
200 ppm fast, 40 ms over a whole run. Each position's first sample is found in the recording by its exact
samples, which also shows every dropout (the stream falls further behind the
recording by the silence put in) and every skip (music mixed while the output was
given up, never played: the stream gains on the recording). The lead of a position is the moment it is heard less
the moment the first frame showing it went to the display: positive when the picture
is ahead. Prints one line of figures, "key=value" separated by spaces."""
import statistics
import sys

RATE = 44100
WINDOW = 256  # samples matched to find a position's start in the recording
SEARCH = 10 * RATE  # how far after the previous position the next is looked for


def read_frames(path):
    frames = []
    with open(path) as f:
        for line in f:
            t, shown, player = line.split()
            frames.append((int(t), int(shown), int(player)))
    return frames


def first_shown(frames, column):
    first = {}
    previous = None
    for frame in frames:
        p = frame[column]
        if p != previous and p not in first:
            first[p] = frame[0]
        previous = p
    return first


def heard_line(times_path, stretch=200):
    """(a, b): the recording's sample n was heard at a + b * n microseconds. Each
    stretch of pieces gives its earliest arrival for the slope so far; a line fitted
    through those gives the next slope (the drift no longer decides which piece is the
    earliest); the line is then lowered under every arrival."""
    with open(times_path) as f:
        pieces = [tuple(map(int, line.split())) for line in f]
    b = 1_000_000 / RATE
    # Stretches of equal length, none shorter than `stretch` pieces (bar a short
    # recording): a short one at the end may hold no piece that arrived on time.
    count = max(1, len(pieces) // stretch)
    bounds = [len(pieces) * i // count for i in range(count + 1)]
    for _ in range(4):
        points = [min(pieces[bounds[i]:bounds[i + 1]], key=lambda piece: piece[0] - b * piece[1])
                  for i in range(count)]
        if len(points) < 2:
            break
        mean_t = statistics.mean(t for t, _ in points)
        mean_n = statistics.mean(n for _, n in points)
        b = sum((n - mean_n) * (t - mean_t) for t, n in points) / sum((n - mean_n) ** 2 for _, n in points)
    return min(t - b * n for t, n in pieces), b


def find_sample(recording, stream, s, after):
    """The recording's sample holding stream sample s: the first match of its window
    at or after sample `after` and within SEARCH of it; None when
    it is not there (never played: mixed while the output was given up) or the window
    is silent."""
    window = stream[2 * s:2 * (s + WINDOW)]
    if len(window) < 2 * WINDOW or not any(window):
        return None
    at = 2 * after
    end = 2 * (after + SEARCH) + len(window)
    while True:
        i = recording.find(window, at, end)
        if i < 0:
            return None
        if i % 2 == 0:
            return i // 2
        at = i + 1


def main():
    recording_path, times_path, log_path, stream_path, positions_path = sys.argv[1:6]
    recording = open(recording_path, "rb").read()
    stream = open(stream_path, "rb").read()
    starts = []
    with open(positions_path) as f:
        for line in f:
            s, p = map(int, line.split())
            starts.append((s, p))
    frames = read_frames(log_path)
    shown_first = first_shown(frames, 1)
    player_first = first_shown(frames, 2)
    a, b = heard_line(times_path)

    offset = None
    after = 0
    dropouts = 0
    silence = 0
    skips = 0
    leads = []
    player_leads = []
    for s, p in starts:
        if p not in shown_first:
            continue
        r = find_sample(recording, stream, s, after)
        if r is None:
            continue
        if offset is not None and r - s > offset:
            dropouts += 1
            silence += r - s - offset
        if offset is not None and r - s < offset:
            skips += 1
        offset = r - s
        # Strictly after: a row that repeats the previous one note for note would
        # otherwise be found where the previous one was heard, a false skip and dropout.
        after = r + 1
        heard_us = a + b * r
        leads.append((heard_us - shown_first[p]) / 1000)
        if p in player_first:
            player_leads.append((heard_us - player_first[p]) / 1000)
    if len(leads) < 10:
        print(f"positions_matched={len(leads)}")
        sys.exit("sync_report: too few positions found in the recording")
    deciles = statistics.quantiles(leads, n=10)
    print(f"positions_matched={len(leads)} frames={len(frames)} "
          f"mean_lead_ms={statistics.mean(leads):.1f} p10_ms={deciles[0]:.1f} p90_ms={deciles[-1]:.1f} "
          f"player_mean_lead_ms={statistics.mean(player_leads):.1f} "
          f"dropouts={dropouts} silence_ms={silence * 1000 / RATE:.0f} skips={skips} "
          f"sink_rate_ppm={(1_000_000 / RATE / b - 1) * 1e6:.0f}")


main()
