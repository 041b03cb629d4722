// The capture under node starts no other programs: --mp4 is refused as when ffmpeg is
// missing, and the Y4M and WAV outputs remain.
#include "mp4_encoder.h"

bool program_on_path(const char*)
{
    return false;
}

bool start_mp4(Mp4Encoder*, const char*)
{
    return false;
}

bool finish_mp4(Mp4Encoder*, const char*, const char*)
{
    return false;
}

void abandon_mp4(Mp4Encoder*) {}
