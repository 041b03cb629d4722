// A device table that records every call the loader and player make, so tests can
// watch them from outside.
#pragma once

#include "sound/sound.h"

#include <cstdint>
#include <string>
#include <vector>

struct DeviceCall {
    std::string operation;
    std::vector<std::int64_t> arguments;
    bool operator==(const DeviceCall&) const = default;
};

extern std::vector<DeviceCall> device_calls;

// Installs the recording operations in sound_device and clears the record.
void install_recording_device();

// The calls recorded for one voice since the last clear: the select_channel calls
// are left out, and the others attributed to the voice selected before them.
std::vector<DeviceCall> calls_for_voice(std::int32_t voice);

// The arguments of the last call of an operation on a voice, or -1 when none.
std::int64_t last_argument(std::int32_t voice, const std::string& operation);
