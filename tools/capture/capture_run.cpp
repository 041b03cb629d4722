#include "capture_run.h"

#include "capture_screen.h"
#include "contact_sheet.h"
#include "frame/data_folder.h"
#include "frame/frame.h"
#include "frame/main_loop.h"
#include "frame/timeline.h"
#include "mp4_encoder.h"
#include "offline_music.h"
#include "png_image.h"
#include "progress_line.h"
#include "sound/sound.h"
#include "sound/wav_file.h"
#include "y4m_stream.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

namespace {

// A module that never reaches the last order would keep the capture going for ever.
constexpr std::int64_t longest_capture_ms = 20 * 60 * 1000;
constexpr WavFormat wav_format{capture_audio_rate, 16};
constexpr long wav_header_bytes = 44;

struct CaptureFiles {
    std::FILE* y4m = nullptr;
    std::FILE* wav = nullptr;
    std::string wav_path;   // the user's --wav, or a temporary one for the MP4
    bool wav_temporary = false;
    std::FILE* log = nullptr;
    Mp4Encoder mp4{};
    bool mp4_started = false;
};

struct MusicStream {
    std::int64_t buffers_rendered = 0;
    std::int64_t samples_written = 0;
};

std::uint8_t music_buffer[capture_buffer_bytes];
std::uint8_t yuv_planes[yuv_frame_bytes];
ContactSheet contact_sheet;

bool fail(const char* what, const std::string& name)
{
    std::fprintf(stderr, "tinkettles-capture: %s %s\n", what, name.c_str());
    return false;
}

std::FILE* open_output(const char* path)
{
    std::FILE* file = std::fopen(path, "wb");
    if (!file)
        fail("cannot create", path);
    return file;
}

bool open_outputs(const CaptureOptions& options, CaptureFiles* files)
{
    if (options.y4m_file) {
        const bool to_stdout = std::string(options.y4m_file) == "-";
        files->y4m = to_stdout ? stdout : open_output(options.y4m_file);
        if (!files->y4m)
            return false;
        if (!write_y4m_header(files->y4m, options.fps))
            return fail("cannot write", options.y4m_file);
    }
    if (options.wav_file || options.mp4_file) {
        files->wav_temporary = options.wav_file == nullptr;
        files->wav_path = options.wav_file ? options.wav_file : std::string(options.mp4_file) + ".audio.wav";
        files->wav = open_output(files->wav_path.c_str());
        if (!files->wav)
            return false;
        if (!write_wav_header(files->wav, wav_format, 0))
            return fail("cannot write", files->wav_path);
    }
    if (options.log_file && !(files->log = open_output(options.log_file)))
        return false;
    if (options.png_dir) {
        std::error_code error;
        std::filesystem::create_directories(options.png_dir, error);
        if (error)
            return fail("cannot create the folder", options.png_dir);
    }
    if (options.mp4_file) {
        files->mp4_started = start_mp4(&files->mp4, options.mp4_file);
        if (!files->mp4_started)
            return false;
        if (!write_y4m_header(files->mp4.frames, options.fps))
            return fail("ffmpeg does not take frames for", options.mp4_file);
    }
    return true;
}

// Appends samples of the big-endian stream to the WAV file, which is little-endian.
bool write_music(CaptureFiles* files, MusicStream* music, const std::uint8_t* stream,
                 std::int64_t count)
{
    if (files->wav) {
        std::uint8_t swapped[capture_buffer_bytes];
        for (std::int64_t i = 0; i < count; ++i) {
            swapped[2 * i] = stream[2 * i + 1];
            swapped[2 * i + 1] = stream[2 * i];
        }
        const auto bytes = static_cast<std::size_t>(2 * count);
        if (std::fwrite(swapped, 1, bytes, files->wav) != bytes)
            return fail("cannot write", files->wav_path);
    }
    music->samples_written += count;
    return true;
}

bool render_buffer(CaptureFiles* files, MusicStream* music, std::int64_t keep)
{
    render_music_buffer(music_buffer);
    ++music->buffers_rendered;
    return write_music(files, music, music_buffer, keep);
}

// Every buffer that SDL would have asked for by this frame's moment, as the real
// loop finds them done when it reads the position.
bool catch_up_music(CaptureFiles* files, MusicStream* music, std::int64_t frame, std::int32_t fps)
{
    while (buffer_begins_by(music->buffers_rendered, frame, fps))
        if (!render_buffer(files, music, capture_buffer_samples))
            return false;
    return true;
}

// Makes the WAV exactly as long as the frames: more buffers, or the last cut short.
bool finish_music(CaptureFiles* files, MusicStream* music, std::int64_t frames, std::int32_t fps)
{
    if (!files->wav)
        return true;
    const std::int64_t wanted = samples_for_frames(frames, fps);
    while (music->samples_written < wanted) {
        const std::int64_t keep = std::min<std::int64_t>(capture_buffer_samples, wanted - music->samples_written);
        if (!render_buffer(files, music, keep))
            return false;
    }
    const std::int64_t data_bytes = 2 * wanted;
    const bool ok = std::fflush(files->wav) == 0 &&
                    ftruncate(fileno(files->wav), wav_header_bytes + data_bytes) == 0 &&
                    finish_wav(files->wav, wav_format, static_cast<std::uint32_t>(data_bytes));
    std::fclose(files->wav);
    files->wav = nullptr;
    return ok || fail("cannot finish", files->wav_path);
}

bool emit_frame(const CaptureOptions& options, CaptureFiles* files, std::int64_t frame,
                std::int32_t position)
{
    if (files->y4m || files->mp4_started) {
        convert_to_yuv420(screen, yuv_planes);
        if (files->y4m && !write_y4m_frame(files->y4m, yuv_planes))
            return fail("cannot write", options.y4m_file);
        if (files->mp4_started && !write_y4m_frame(files->mp4.frames, yuv_planes))
            return fail("ffmpeg stopped taking frames for", options.mp4_file);
    }
    if (options.png_dir) {
        char name[32];
        std::snprintf(name, sizeof name, "/frame-%06lld.png", static_cast<long long>(frame));
        if (!write_screen_png((std::string(options.png_dir) + name).c_str(), screen))
            return false;
    }
    if (files->log && std::fprintf(files->log, "%lld %d %d %d\n", static_cast<long long>(frame),
                                   demo_time, position, scene_number(position)) < 0)
        return fail("cannot write", options.log_file);
    if (options.contact_sheet)
        offer_contact_frame(&contact_sheet, position, screen);
    return true;
}

bool close_file(std::FILE* file, const char* name)
{
    return !file || std::fclose(file) == 0 || fail("cannot write", name);
}

bool finish_outputs(const CaptureOptions& options, CaptureFiles* files)
{
    bool ok = true;
    if (files->y4m == stdout)
        ok = std::fflush(stdout) == 0 || fail("cannot write", "the standard output");
    else
        ok = close_file(files->y4m, options.y4m_file);
    ok = close_file(files->log, options.log_file) && ok;
    if (files->mp4_started)
        ok = ok && finish_mp4(&files->mp4, options.mp4_file, files->wav_path.c_str());
    if (files->wav_temporary)
        std::remove(files->wav_path.c_str());
    if (options.contact_sheet)
        ok = ok && write_contact_sheet(&contact_sheet, options.contact_sheet);
    return ok;
}

// Leaves no half-made temporary file behind after a failure.
void abandon_outputs(CaptureFiles* files)
{
    if (files->mp4_started)
        abandon_mp4(&files->mp4);
    if (files->wav)
        std::fclose(files->wav);
    if (files->wav_temporary)
        std::remove(files->wav_path.c_str());
}

// The frames, until the first one at the final position; returns how many were made,
// or -1 on a failure.
std::int64_t capture_frames(const CaptureOptions& options, CaptureFiles* files, MusicStream* music)
{
    ProgressLine progress;
    start_progress(&progress);
    for (std::int64_t frame = 0;; ++frame) {
        const std::int64_t moment_ms = frame * 1000 / options.fps;
        if (moment_ms > longest_capture_ms) {
            std::fprintf(stderr, "\ntinkettles-capture: the music did not reach position %d in %lld "
                                 "minutes; stopping\n",
                         final_position, static_cast<long long>(longest_capture_ms / 60000));
            return -1;
        }
        if (!catch_up_music(files, music, frame, options.fps))
            return -1;
        demo_time = static_cast<std::int32_t>(moment_ms);
        const std::int32_t position = music_position();
        draw_frame(position);
        present_frame();
        if (!emit_frame(options, files, frame, position))
            return -1;
        show_progress(&progress, frame + 1, demo_time, position, quit_flag != 0);
        if (quit_flag)
            return frame + 1;
    }
}

}  // namespace

int run_capture(const CaptureOptions& options)
{
    if (options.mp4_file && !program_on_path("ffmpeg")) {
        std::fprintf(stderr, "tinkettles-capture: --mp4 needs ffmpeg, which is not on PATH; "
                             "install it, or use --y4m and --wav and encode them yourself\n");
        return 1;
    }
    // A closed pipe (ffmpeg stopping, or a reader of the standard output going away)
    // shows as a failed write rather than ending the program unannounced.
    std::signal(SIGPIPE, SIG_IGN);
    program_name = "tinkettles-capture";
    char module_path[data_path_capacity];
    if (!find_demo_data_folder(options.data_folder) || !load_demo_data() ||
        !data_file_path("data/da_wobble.mod", module_path, sizeof module_path))
        return 1;
    reset_timeline();
    if (!open_capture_screen() || !start_offline_music(module_path))
        return 1;
    if (options.contact_sheet)
        start_contact_sheet(&contact_sheet);
    CaptureFiles files;
    work_buffer.fill(127);
    MusicStream music;
    std::int64_t frames = -1;
    if (open_outputs(options, &files))
        frames = capture_frames(options, &files, &music);
    if (frames < 0 || !finish_music(&files, &music, frames, options.fps)) {
        abandon_outputs(&files);
        return 1;
    }
    return finish_outputs(options, &files) ? 0 : 1;
}
