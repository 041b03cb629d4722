// tinkettles-capture: the demo rendered offline to frames, a video stream and its
// music, frame-exact and the same on every run.
#include "capture_options.h"
#include "capture_run.h"

int main(int argc, char** argv)
{
    CaptureOptions options;
    int status = 0;
    if (!parse_capture_options(argc, argv, &options, &status))
        return status;
    return run_capture(options);
}
