// The whole demo rendered offline: every frame drawn by the demo's own code at a
// fixed rate, with the music rendered beside it as SDL's audio thread would.
#pragma once

#include "capture_options.h"

// Finds the data as the demo does; returns the exit status (0, or 1 after a
// line on standard error).
int run_capture(const CaptureOptions& options);
