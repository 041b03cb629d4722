#include "frame/data_reload.h"

#include "effects/effects.h"
#include "frame/data_folder.h"
#include "frame/demo_data.h"
#include "frame/exact_start.h"
#include "pictures/loader_extras.h"
#include "pictures/pictures.h"
#include "sound/music_stream.h"
#include "sound/sound.h"

// The browser build has no inotify: there the watch never starts.
#ifdef __linux__
#include <sys/inotify.h>
#endif
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

enum class Kind { picture, text_picture, font, module };

struct DataFile {
    const char* name;   // as the demo names it, "data/NAME"
    Kind kind;
    Picture** picture;       // where a picture lives, for the pictures
    TextPicture** drawing;   // likewise for the line drawings
};

// The fourteen files, each with the slot its reload replaces.
DataFile data_files[] = {
    {"data/groovster.txt", Kind::text_picture, nullptr, &demo_data.groovster},
    {"data/afrogirl.txt", Kind::text_picture, nullptr, &demo_data.afrogirl},
    {"data/wobbli.cgm", Kind::picture, &demo_data.wobbli, nullptr},
    {"data/zippsy.cgm", Kind::picture, &demo_data.zippsy, nullptr},
    {"data/ankels.cgm", Kind::picture, &demo_data.ankels, nullptr},
    {"data/flonk1.cgm", Kind::picture, &demo_data.flonk1, nullptr},
    {"data/flonk2.cgm", Kind::picture, &demo_data.flonk2, nullptr},
    {"data/strutto.cgm", Kind::picture, &demo_data.strutto, nullptr},
    {"data/struttoblk.cgm", Kind::picture, &demo_data.struttoblk, nullptr},
    {"data/bottles.cgm", Kind::picture, &demo_data.bottles, nullptr},
    {"data/blinq.cgm", Kind::picture, &tunnel_picture, nullptr},
    {"data/blinq2.cgm", Kind::picture, &tunnel_picture2, nullptr},
    {"data/fontti.raw", Kind::font, nullptr, nullptr},
    {"data/da_wobble.mod", Kind::module, nullptr, nullptr},
};
constexpr int data_file_count = sizeof data_files / sizeof data_files[0];

// The font file is three frames of 320 x 128 indexed pixels, nothing shorter.
constexpr long font_bytes = 122880;

struct FileWatch {
    bool closed;    // closed after writing, or moved in, since the last reload
    bool writing;   // written to since it was last closed
    std::uint32_t last_event_ms;
};

int watch_descriptor = -1;
FileWatch watches[data_file_count];
std::uint8_t new_module[module_buffer_bytes];

[[maybe_unused]] int file_index(const char* name)
{
    for (int i = 0; i < data_file_count; ++i)
        if (std::strcmp(data_files[i].name + 5, name) == 0)
            return i;
    return -1;
}

#ifdef __linux__
void note_event(const inotify_event& event, std::uint32_t now_ms)
{
    if (event.len == 0)
        return;
    const int index = file_index(event.name);
    if (index < 0)
        return;
    FileWatch& watch = watches[index];
    watch.last_event_ms = now_ms;
    if (event.mask & (IN_CLOSE_WRITE | IN_MOVED_TO)) {
        watch.closed = true;
        watch.writing = false;
    } else if (event.mask & (IN_MODIFY | IN_CREATE)) {
        watch.writing = true;
    }
}
#endif

void take_news([[maybe_unused]] std::uint32_t now_ms)
{
    if (watch_descriptor < 0)
        return;
#ifdef __linux__
    alignas(inotify_event) char buffer[8192];
    for (;;) {
        const ssize_t length = read(watch_descriptor, buffer, sizeof buffer);
        if (length <= 0)
            return;
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            note_event(*event, now_ms);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
#endif
}

bool settled(const FileWatch& watch, std::uint32_t now_ms)
{
    return watch.closed && !watch.writing && now_ms - watch.last_event_ms >= settle_ms;
}

bool refuse(const char* path, const char* reason)
{
    std::fprintf(stderr, "%s: %s: %s; the one loaded before stays\n", program_name, path, reason);
    return false;
}

bool reload_font(const char* path)
{
    struct stat info;
    if (stat(path, &info) != 0)
        return refuse(path, std::strerror(errno));
    if (info.st_size != font_bytes) {
        char reason[96];
        std::snprintf(reason, sizeof reason, "%lld bytes, a font has %ld",
                      static_cast<long long>(info.st_size), font_bytes);
        return refuse(path, reason);
    }
    return load_font(path) == 0 || refuse(path, picture_error);
}

bool reload_module(const char* path)
{
    const ModuleRead read = read_module_file(path, new_module);
    if (read.status != ModuleReadStatus::whole) {
        char reason[module_message_capacity];
        describe_module_read(read, path, reason, sizeof reason);
        return refuse(path, reason);
    }
    return try_new_module(new_module, read.size) || refuse(path, last_error);
}

bool reload_file(const DataFile& file)
{
    char path[data_path_capacity];
    if (!data_file_path(file.name, path, sizeof path))
        return refuse(file.name, "the path is too long");
    switch (file.kind) {
    case Kind::picture: {
        Picture* picture = load_picture(path);
        if (!picture)
            return refuse(path, picture_error);
        free_picture(*file.picture);
        *file.picture = picture;
        return true;
    }
    case Kind::text_picture: {
        TextPicture* drawing = load_text_picture(path);
        if (!drawing)
            return refuse(path, picture_error);
        free_text_picture(*file.drawing);
        *file.drawing = drawing;
        return true;
    }
    case Kind::font: return reload_font(path);
    case Kind::module: return reload_module(path);
    }
    return false;
}

}   // namespace

bool start_data_watch()
{
#ifdef __linux__
    watch_descriptor = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch_descriptor >= 0 && inotify_add_watch(watch_descriptor, data_folder.path,
                                                   IN_CLOSE_WRITE | IN_MOVED_TO | IN_MODIFY | IN_CREATE) >= 0)
        return true;
#else
    errno = ENOSYS;
#endif
    std::fprintf(stderr, "%s: cannot watch %s for changes: %s; data files will not reload\n", program_name,
                 data_folder.path, std::strerror(errno));
    if (watch_descriptor >= 0)
        close(watch_descriptor);
    watch_descriptor = -1;
    return false;
}

bool reload_waiting(std::uint32_t now_ms)
{
    take_news(now_ms);
    for (const FileWatch& watch : watches)
        if (settled(watch, now_ms))
            return true;
    return false;
}

int reload_changed_data(std::uint32_t now_ms)
{
    take_news(now_ms);
    int replaced = 0;
    for (int i = 0; i < data_file_count; ++i) {
        if (!settled(watches[i], now_ms))
            continue;
        watches[i].closed = false;
        if (reload_file(data_files[i])) {
            std::fprintf(stderr, "%s: reloaded %s\n", program_name, data_files[i].name);
            ++replaced;
        }
    }
    return replaced;
}
