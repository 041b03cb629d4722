#include "mp4_encoder.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace {

bool spawn_ffmpeg(const char* const* arguments, int input_fd, pid_t* pid)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input_fd >= 0)
        posix_spawn_file_actions_adddup2(&actions, input_fd, STDIN_FILENO);
    const int error =
        posix_spawnp(pid, "ffmpeg", &actions, nullptr, const_cast<char* const*>(arguments), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        std::fprintf(stderr, "tinkettles-capture: cannot run ffmpeg: %s\n", std::strerror(error));
        return false;
    }
    return true;
}

bool wait_for_ffmpeg(pid_t pid, const char* what)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            std::fprintf(stderr, "tinkettles-capture: lost ffmpeg: %s\n", std::strerror(errno));
            return false;
        }
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return true;
    std::fprintf(stderr, "tinkettles-capture: ffmpeg failed while %s\n", what);
    return false;
}

}   // namespace

bool program_on_path(const char* name)
{
    const char* path = std::getenv("PATH");
    if (!path)
        return false;
    std::string folders = path;
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        // An empty entry means the current folder.
        std::string candidate = end > start ? folders.substr(start, end - start) : ".";
        candidate += '/';
        candidate += name;
        struct stat info;
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            access(candidate.c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

bool start_mp4(Mp4Encoder* encoder, const char* mp4_file)
{
    encoder->frames = nullptr;
    encoder->audio_delay_ms = 0;
    // NUT keeps each frame's time as a whole count of 1/fps, so the MP4's frame rate is
    // exactly --fps (Matroska rounds times to milliseconds).
    encoder->video_file = std::string(mp4_file) + ".video.nut";
    int pipe_ends[2];
    // Both ends close on exec, so that ffmpeg holds only its standard input and sees
    // the end of the stream when this side closes.
    if (pipe2(pipe_ends, O_CLOEXEC) != 0) {
        std::fprintf(stderr, "tinkettles-capture: no pipe to ffmpeg: %s\n", std::strerror(errno));
        return false;
    }
    // H.264 High 4:2:0 at constant quality 10: hard pixel edges and scan lines come
    // through at about 55 dB (luma PSNR) even in the moving scenes, for a video site
    // to re-encode from. The slower presets gain under 2 dB at twice the time. The colours are tagged as the stream converts them (BT.601
    // studio range, each chroma sample the mean of a 2x2 block, so sited in its
    // centre), since players guess BT.709 for an untagged frame of 720 lines or more;
    // the primaries are sRGB's, which are BT.709's.
    const char* const arguments[] = {"ffmpeg",
                                     "-loglevel",
                                     "error",
                                     "-y",
                                     "-f",
                                     "yuv4mpegpipe",
                                     "-i",
                                     "pipe:0",
                                     "-c:v",
                                     "libx264",
                                     "-profile:v",
                                     "high",
                                     "-preset",
                                     mp4_video_preset,
                                     "-crf",
                                     mp4_video_crf,
                                     "-pix_fmt",
                                     "yuv420p",
                                     "-colorspace",
                                     "smpte170m",
                                     "-color_primaries",
                                     "bt709",
                                     "-color_trc",
                                     "bt709",
                                     "-color_range",
                                     "tv",
                                     "-chroma_sample_location",
                                     "center",
                                     encoder->video_file.c_str(),
                                     nullptr};
    const bool started = spawn_ffmpeg(arguments, pipe_ends[0], &encoder->ffmpeg);
    close(pipe_ends[0]);
    if (!started) {
        close(pipe_ends[1]);
        return false;
    }
    encoder->frames = fdopen(pipe_ends[1], "wb");
    if (!encoder->frames) {
        std::fprintf(stderr, "tinkettles-capture: no stream to ffmpeg: %s\n", std::strerror(errno));
        close(pipe_ends[1]);
        abandon_mp4(encoder);
        return false;
    }
    return true;
}

bool finish_mp4(Mp4Encoder* encoder, const char* mp4_file, const char* wav_file)
{
    std::fclose(encoder->frames);
    encoder->frames = nullptr;
    if (!wait_for_ffmpeg(encoder->ffmpeg, "encoding the frames"))
        return false;
    // The music resampled to 48 kHz and put in both channels, AAC-LC at 384 kb/s with
    // no mid/side coding: with it, the encoder spends only some 260 kb/s on two equal
    // channels, below what video sites ask for. It waits for a warning card in front of
    // the frames.
    const std::string delay = "adelay=" + std::to_string(encoder->audio_delay_ms) + ":all=1";
    const bool delayed = encoder->audio_delay_ms > 0;
    const char* const arguments[] = {"ffmpeg",
                                     "-nostdin",
                                     "-loglevel",
                                     "error",
                                     "-y",
                                     "-i",
                                     encoder->video_file.c_str(),
                                     "-i",
                                     wav_file,
                                     "-c:v",
                                     "copy",
                                     "-c:a",
                                     "aac",
                                     "-profile:a",
                                     "aac_low",
                                     "-ar",
                                     mp4_audio_rate,
                                     "-ac",
                                     "2",
                                     "-b:a",
                                     mp4_audio_bit_rate,
                                     "-aac_ms",
                                     "0",
                                     "-movflags",
                                     "+faststart",
                                     delayed ? "-af" : mp4_file,
                                     delayed ? delay.c_str() : nullptr,
                                     mp4_file,
                                     nullptr};
    pid_t pid;
    const bool made = spawn_ffmpeg(arguments, -1, &pid) && wait_for_ffmpeg(pid, "making the MP4");
    std::remove(encoder->video_file.c_str());
    return made;
}

void abandon_mp4(Mp4Encoder* encoder)
{
    if (encoder->frames)
        std::fclose(encoder->frames);
    encoder->frames = nullptr;
    int status = 0;
    while (waitpid(encoder->ffmpeg, &status, 0) < 0 && errno == EINTR) {
    }
    std::remove(encoder->video_file.c_str());
}
