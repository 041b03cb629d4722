// tinkettles-capture: the whole demo rendered offline to frames, a video stream and
// its music, frame-exact and the same on every run.
#include "capture_options.h"
#include "capture_run.h"

int main(int argc, char** argv)
{
    CaptureOptions options;
    if (!parse_capture_options(argc, argv, &options)) {
        print_capture_usage(stderr);
        return 2;
    }
    return run_capture(options);
}
