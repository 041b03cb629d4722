#include "capture_run.h"

#include "capture_screen.h"
#include "contact_sheet.h"
#include "flash_report.h"
#include "frame/calm.h"
#include "frame/data_folder.h"
#include "frame/frame.h"
#include "frame/main_loop.h"
#include "frame/demo_data.h"
#include "frame/timeline.h"
#include "mp4_encoder.h"
#include "offline_music.h"
#include "png_image.h"
#include "progress_line.h"
#include "sound/heard_clock.h"
#include "sound/sound.h"
#include "sound/wav_file.h"
#include "warning_card.h"
#include "y4m_stream.h"

#include "command_line.h"
#include "failed_output.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

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
    std::FILE* contact_sheet = nullptr;
    bool mp4_created = false;   // made empty at the start to try the path
    Mp4Encoder mp4{};
    bool mp4_started = false;
    std::FILE* flash_report = nullptr;
    std::FILE* flash_plot = nullptr;
    bool analysing = false;   // the flash analysis runs
};

// The music is rendered from the start, whatever part is kept; only the samples from
// the part's first frame on reach the WAV file.
struct CaptureMusic {
    MusicStream stream;
    std::int64_t first_kept = -1;       // sample where the part begins; -1 before it
    std::int64_t samples_written = 0;   // from first_kept on
};

// Which frames are kept: from the first at or past the part's start to the next one at
// or past its end.
struct PartState {
    std::int64_t first_frame = -1;
    bool ended = false;
};

std::uint8_t music_buffer[capture_buffer_bytes];
// One frame's planes at the capture's size (up to 9.3 MB at 2880x2160), sized once.
std::vector<std::uint8_t> yuv_planes;
ContactSheet contact_sheet;
FlashAnalysis flash_analysis;
constexpr int picture_first_row = 40;   // where present_frame puts the frame's first row

bool fail(const char* what, const std::string& name)
{
    std::fprintf(stderr, "%s: %s %s\n", capture_program, what, name.c_str());
    return false;
}

// A failure the system explains: "cannot create x.log: Permission denied".
bool fail_system(const char* what, const std::string& name)
{
    return system_error(capture_program, what, name.c_str());
}

std::string y4m_name(const CaptureOptions& options)
{
    return std::string(options.y4m_file) == "-" ? "to the standard output" : options.y4m_file;
}

std::FILE* open_output(const char* path)
{
    std::FILE* file = std::fopen(path, "wb");
    if (!file)
        fail_system("cannot create", path);
    return file;
}

// The PNG folder is made if missing, but not its parents: a mistyped path fails here,
// before anything is rendered, rather than growing a tree of folders.
bool prepare_png_folder(const char* folder)
{
    if (mkdir(folder, 0777) != 0 && errno != EEXIST)
        return fail_system("cannot create the folder", folder);
    struct stat info;
    if (stat(folder, &info) != 0)
        return fail_system("cannot use the folder", folder);
    if (!S_ISDIR(info.st_mode))
        return fail("cannot use the folder", std::string(folder) + ": it is not a folder");
    if (access(folder, W_OK | X_OK) != 0)
        return fail_system("cannot write into the folder", folder);
    return true;
}

// Every output is opened (or its folder checked) before the first frame is drawn, so
// that a wrong path fails at once, not after minutes of rendering.
bool open_outputs(const CaptureOptions& options, CaptureFiles* files)
{
    const FrameScale scale = frame_scale(options.pixel_block);
    if (options.y4m_file || options.mp4_file)
        yuv_planes.assign(yuv_frame_size(scale), 0);
    if (options.png_dir && !prepare_png_folder(options.png_dir))
        return false;
    if (options.contact_sheet && !(files->contact_sheet = open_output(options.contact_sheet)))
        return false;
    if (options.log_file && !(files->log = open_output(options.log_file)))
        return false;
    if (options.flash_report && !(files->flash_report = open_output(options.flash_report)))
        return false;
    if (options.flash_plot && !(files->flash_plot = open_output(options.flash_plot)))
        return false;
    if (options.flash_report || options.flash_plot) {
        files->analysing = start_flash_analysis(&flash_analysis);
        if (!files->analysing)
            return fail("no memory for the flash analysis of",
                        options.flash_report ? options.flash_report : options.flash_plot);
    }
    if (options.y4m_file) {
        const bool to_stdout = std::string(options.y4m_file) == "-";
        files->y4m = to_stdout ? stdout : open_output(options.y4m_file);
        if (!files->y4m)
            return false;
        if (!write_y4m_header(files->y4m, options.fps, scale))
            return fail_system("cannot write", y4m_name(options));
    }
    if (options.mp4_file) {
        // ffmpeg makes it at the end; trying now finds a wrong folder before rendering.
        std::FILE* probe = open_output(options.mp4_file);
        if (!probe)
            return false;
        std::fclose(probe);
        files->mp4_created = true;
    }
    if (options.wav_file || options.mp4_file) {
        files->wav_temporary = options.wav_file == nullptr;
        files->wav_path = options.wav_file ? options.wav_file : std::string(options.mp4_file) + ".audio.wav";
        files->wav = open_output(files->wav_path.c_str());
        if (!files->wav)
            return false;
        if (!write_wav_header(files->wav, wav_format, 0))
            return fail_system("cannot write", files->wav_path);
    }
    if (options.mp4_file) {
        files->mp4_started = start_mp4(&files->mp4, options.mp4_file);
        if (!files->mp4_started)
            return false;
        if (!write_y4m_header(files->mp4.frames, options.fps, scale))
            return fail("ffmpeg does not take frames for", options.mp4_file);
        if (options.warning_card) {
            if (!write_warning_card(files->mp4.frames, options.fps, scale, yuv_planes.data()))
                return fail("ffmpeg does not take the warning card for", options.mp4_file);
            files->mp4.audio_delay_ms = warning_card_seconds * 1000;
        }
    }
    return true;
}

bool write_music(CaptureFiles* files, CaptureMusic* music, std::uint8_t* samples, std::int64_t count)
{
    if (files->wav && !write_wav_samples(files->wav, wav_format, samples, count))
        return fail_system("cannot write", files->wav_path);
    music->samples_written += count;
    return true;
}

std::int64_t buffers_rendered(const CaptureMusic& music)
{
    return music.stream.samples / capture_buffer_samples;
}

bool render_buffer(CaptureFiles* files, CaptureMusic* music)
{
    next_music_buffer(&music->stream, music_buffer, capture_buffer_samples);
    if (music->first_kept < 0)
        return true;
    return write_music(files, music, music_buffer, capture_buffer_samples);
}

// Every buffer that SDL would have asked for by this frame's moment, as the real
// loop finds them done when it reads the position.
bool catch_up_music(CaptureFiles* files, CaptureMusic* music, std::int64_t frame, std::int32_t fps)
{
    while (buffer_begins_by(buffers_rendered(*music), frame, fps))
        if (!render_buffer(files, music))
            return false;
    return true;
}

// The part begins at this frame. Its first sample lies in the buffer rendered last
// (that buffer began by this frame's moment, the next one after it), so the buffer
// still in hand holds it.
bool start_music_part(CaptureFiles* files, CaptureMusic* music, std::int64_t frame, std::int32_t fps)
{
    music->first_kept = samples_for_frames(frame, fps);
    const std::int64_t buffer_start = music->stream.samples - capture_buffer_samples;
    const std::int64_t skip = music->first_kept - buffer_start;
    if (skip < 0 || skip > capture_buffer_samples)
        return fail("lost step with the music at frame", std::to_string(frame));
    return write_music(files, music, music_buffer + 2 * skip, capture_buffer_samples - skip);
}

// Makes the WAV exactly as long as the kept frames: more buffers, or the last cut short.
bool finish_music(CaptureFiles* files, CaptureMusic* music, std::int64_t first_frame, std::int64_t end_frame,
                  std::int32_t fps)
{
    if (!files->wav)
        return true;
    const std::int64_t wanted = samples_for_frames(end_frame, fps) - samples_for_frames(first_frame, fps);
    while (music->samples_written < wanted)
        if (!render_buffer(files, music))
            return false;
    const std::int64_t data_bytes = 2 * wanted;
    const bool ok = std::fflush(files->wav) == 0 &&
                    ftruncate(fileno(files->wav), wav_header_bytes + data_bytes) == 0 &&
                    finish_wav(files->wav, wav_format, static_cast<std::uint32_t>(data_bytes));
    const bool closed = std::fclose(files->wav) == 0;
    files->wav = nullptr;
    return (ok && closed) || fail_system("cannot finish", files->wav_path);
}

bool close_file(std::FILE* file, const char* name)
{
    return !file || std::fclose(file) == 0 || fail_system("cannot write", name);
}

bool emit_frame(const CaptureOptions& options, CaptureFiles* files, std::int64_t frame, std::int32_t position)
{
    const FrameScale scale = frame_scale(options.pixel_block);
    if (files->y4m || files->mp4_started) {
        convert_scaled_to_yuv420(screen, scale, yuv_planes.data());
        if (files->y4m && !write_y4m_frame(files->y4m, yuv_planes.data(), yuv_planes.size()))
            return fail_system("cannot write", y4m_name(options));
        if (files->mp4_started && !write_y4m_frame(files->mp4.frames, yuv_planes.data(), yuv_planes.size()))
            return fail("ffmpeg stopped taking frames for", options.mp4_file);
    }
    if (options.png_dir) {
        char name[32];
        std::snprintf(name, sizeof name, "/frame-%06lld.png", static_cast<long long>(frame));
        if (!write_screen_png((std::string(options.png_dir) + name).c_str(), screen, scale))
            return false;
    }
    if (files->log && std::fprintf(files->log, "%lld %d %d %d\n", static_cast<long long>(frame), demo_time,
                                   position, scene_number(position)) < 0)
        return fail_system("cannot write", options.log_file);
    if (options.contact_sheet)
        offer_contact_frame(&contact_sheet, position, screen);
    if (files->analysing) {
        const auto* pixels = static_cast<const std::uint8_t*>(screen->pixels);
        analyse_flash_frame(
            &flash_analysis,
            reinterpret_cast<const std::uint32_t*>(pixels + picture_first_row * screen->pitch),
            static_cast<std::size_t>(screen->pitch) / 4, demo_time);
    }
    return true;
}

bool finish_flash_outputs(const CaptureOptions& options, CaptureFiles* files)
{
    bool ok = true;
    if (files->flash_report) {
        ok =
            (write_flash_csv(files->flash_report, flash_analysis) && std::fclose(files->flash_report) == 0) ||
            fail_system("cannot write", options.flash_report);
        files->flash_report = nullptr;
    }
    if (files->flash_plot) {
        const int width = flash_plot_width(flash_analysis);
        std::string rgb(static_cast<std::size_t>(3) * width * flash_plot_height, '\0');
        draw_flash_plot(flash_analysis, reinterpret_cast<std::uint8_t*>(rgb.data()));
        ok = write_rgb_png_to(files->flash_plot, options.flash_plot,
                              reinterpret_cast<const std::uint8_t*>(rgb.data()), width, flash_plot_height) &&
             ok;
        ok = close_file(files->flash_plot, options.flash_plot) && ok;
        files->flash_plot = nullptr;
    }
    if (files->analysing) {
        std::fprintf(stderr, "%s: %s\n", capture_program, flash_summary(flash_analysis).c_str());
        end_flash_analysis(&flash_analysis);
    }
    return ok;
}

bool finish_outputs(const CaptureOptions& options, CaptureFiles* files)
{
    bool ok = true;
    if (files->y4m == stdout)
        ok = std::fflush(stdout) == 0 || fail_system("cannot write", "to the standard output");
    else
        ok = close_file(files->y4m, options.y4m_file);
    ok = close_file(files->log, options.log_file) && ok;
    ok = finish_flash_outputs(options, files) && ok;
    if (files->mp4_started)
        ok = ok && finish_mp4(&files->mp4, options.mp4_file, files->wav_path.c_str());
    if (files->wav_temporary)
        std::remove(files->wav_path.c_str());
    if (files->contact_sheet) {
        ok = write_contact_sheet(&contact_sheet, files->contact_sheet, options.contact_sheet) && ok;
        ok = close_file(files->contact_sheet, options.contact_sheet) && ok;
    }
    return ok;
}

// Leaves no half-made temporary file, and no empty file opened only to be written at
// the end, behind after a failure.
void abandon_outputs(const CaptureOptions& options, CaptureFiles* files)
{
    if (files->mp4_started)
        abandon_mp4(&files->mp4);
    if (files->mp4_created)
        remove_failed_output(options.mp4_file);
    if (files->wav)
        std::fclose(files->wav);
    if (files->wav_temporary)
        std::remove(files->wav_path.c_str());
    if (files->contact_sheet) {
        std::fclose(files->contact_sheet);
        remove_failed_output(options.contact_sheet);
    }
    if (files->flash_report) {
        std::fclose(files->flash_report);
        remove_failed_output(options.flash_report);
    }
    if (files->flash_plot) {
        std::fclose(files->flash_plot);
        remove_failed_output(options.flash_plot);
    }
    if (files->analysing)
        end_flash_analysis(&flash_analysis);
}

bool inside_part(const CaptureOptions& options, PartState* part, std::int32_t position)
{
    if (part->ended)
        return false;
    if (part->first_frame < 0)
        return position >= options.from_position && position < options.to_position;
    if (position >= options.to_position)
        part->ended = true;
    return !part->ended;
}

// The frames, until the first one at the final position or the end of the part;
// false on a failure. Every frame is drawn, whether kept or not, since scenes build
// on their earlier frames (the line drawings accumulate their strokes).
bool capture_frames(const CaptureOptions& options, CaptureFiles* files, CaptureMusic* music, PartState* part,
                    std::int64_t* end_frame)
{
    ProgressLine progress;
    start_progress(&progress);
    for (std::int64_t frame = 0;; ++frame) {
        const std::int64_t moment_ms = frame * 1000 / options.fps;
        if (moment_ms > longest_capture_ms) {
            std::fprintf(stderr, "\n%s: the music did not reach position %d in %lld minutes; stopping\n",
                         capture_program, final_position, static_cast<long long>(longest_capture_ms / 60000));
            return false;
        }
        if (!catch_up_music(files, music, frame, options.fps))
            return false;
        demo_time = static_cast<std::int32_t>(moment_ms);
        // The position heard at this frame's sample of the music, not the one the
        // mixer has reached: that runs up to a buffer ahead.
        const std::int32_t position = heard_position_at(samples_for_frames(frame, options.fps));
        draw_frame(position);
        const bool was_inside = part->first_frame >= 0;
        const bool keep = inside_part(options, part, position);
        if (keep && !was_inside) {
            part->first_frame = frame;
            if (!start_music_part(files, music, frame, options.fps))
                return false;
        }
        if (keep) {
            present_frame();
            if (!emit_frame(options, files, frame, position))
                return false;
        }
        const bool last = quit_flag != 0 || part->ended;
        show_progress(&progress, frame + 1, demo_time, position, last);
        if (last) {
            *end_frame = keep ? frame + 1 : frame;
            return true;
        }
    }
}

}   // namespace

int run_capture(const CaptureOptions& options)
{
    if (options.mp4_file && !program_on_path("ffmpeg")) {
        std::fprintf(stderr,
                     "%s: --mp4 needs ffmpeg, which is not on PATH; install it, or use "
                     "--y4m and --wav and encode them yourself\n",
                     capture_program);
        return 1;
    }
    // A closed pipe (ffmpeg stopping, or a reader of the standard output going away)
    // shows as a failed write rather than ending the program unannounced.
    std::signal(SIGPIPE, SIG_IGN);
    program_name = capture_program;
    const ModuleFile module = load_everything(options.data_folder);
    CaptureMusic music;
    if (!module.bytes || !open_capture_screen() || !start_offline_music(module, &music.stream)) {
        std::free(module.bytes);
        return 1;
    }
    if (options.contact_sheet)
        start_contact_sheet(&contact_sheet);
    if (options.calm && !enable_calm_presentation()) {
        std::fprintf(stderr, "%s: no memory for --calm\n", capture_program);
        std::free(module.bytes);
        return 1;
    }
    CaptureFiles files;
    work_buffer.fill(127);
    PartState part;
    std::int64_t end_frame = 0;
    bool ok = open_outputs(options, &files) && capture_frames(options, &files, &music, &part, &end_frame);
    if (ok && part.first_frame < 0) {
        std::fprintf(stderr, "%s: no frame at %d frames a second lies between music positions %d and %d\n",
                     capture_program, options.fps, options.from_position, options.to_position);
        ok = false;
    }
    if (!ok || !finish_music(&files, &music, part.first_frame, end_frame, options.fps)) {
        abandon_outputs(options, &files);
        return 1;
    }
    return finish_outputs(options, &files) ? 0 : 1;
}
