#include "sound/module_file.h"

#include "sound/module.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

ModuleRead read_module_file(const char* path, std::uint8_t* buffer)
{
    ModuleRead read;
    std::FILE* file = std::fopen(path, "rb");
    if (!file) {
        read.status = ModuleReadStatus::cannot_open;
        read.error_number = errno;
        return read;
    }
    read.size = std::fread(buffer, 1, module_buffer_bytes, file);
    if (std::ferror(file) != 0)
        read.status = ModuleReadStatus::cannot_read;
    else if (std::fgetc(file) != EOF)
        read.status = ModuleReadStatus::cut_short;
    std::fclose(file);
    return read;
}

void describe_module_read(const ModuleRead& read, const char* path, char* out, std::size_t capacity)
{
    switch (read.status) {
    case ModuleReadStatus::cannot_open:
        std::snprintf(out, capacity, "cannot open %s: %s", path, std::strerror(read.error_number));
        break;
    case ModuleReadStatus::cannot_read: std::snprintf(out, capacity, "cannot read %s", path); break;
    default:
        std::snprintf(out, capacity, "%s is longer than %zu bytes; only those are used", path,
                      module_buffer_bytes);
    }
}

ModuleFile read_module(const char* path, char* message, std::size_t capacity)
{
    if (capacity > 0)
        message[0] = '\0';
    auto* bytes = static_cast<std::uint8_t*>(std::malloc(module_buffer_bytes));
    if (!bytes) {
        std::snprintf(message, capacity, "out of memory for the module");
        return {path, nullptr, 0};
    }
    const ModuleRead read = read_module_file(path, bytes);
    if (read.status != ModuleReadStatus::whole)
        describe_module_read(read, path, message, capacity);
    if (module_read_failed(read)) {
        std::free(bytes);
        return {path, nullptr, 0};
    }
    return {path, bytes, read.size};
}

void free_module(ModuleFile* module)
{
    std::free(module->bytes);
    module->bytes = nullptr;
    module->size = 0;
}

const char* module_refusal_for_users(const char* reason)
{
    if (std::strcmp(reason, unknown_module_type_error) == 0)
        return "not a module this player knows: no signature such as M.K. at byte 1,080";
    return reason;
}
