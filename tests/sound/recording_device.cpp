#include "sound/recording_device.h"

std::vector<DeviceCall> device_calls;

namespace {

void record(const char* operation, std::vector<std::int64_t> arguments)
{
    device_calls.push_back({operation, std::move(arguments)});
}

}   // namespace

void install_recording_device()
{
    device_calls.clear();
    sound_device.define_sample = [](std::int32_t number, const std::int8_t* data, std::int32_t length,
                                    std::int32_t loop_start, std::int32_t loop_end, std::int32_t loop_flag,
                                    std::int32_t loop_length) {
        record("define_sample", {number, reinterpret_cast<std::intptr_t>(data), length, loop_start, loop_end,
                                 loop_flag, loop_length});
    };
    sound_device.set_period = [](std::int32_t v) { record("set_period", {v}); };
    sound_device.set_channel_count = [](std::int32_t v) { record("set_channel_count", {v}); };
    sound_device.set_position = [](std::int32_t v) { record("set_position", {v}); };
    sound_device.select_channel = [](std::int32_t v) { record("select_channel", {v}); };
    sound_device.set_pan = [](std::int32_t v) { record("set_pan", {v}); };
    sound_device.dev_init = [] { record("dev_init", {}); };
    sound_device.set_channel_sample = [](std::int32_t v) { record("set_channel_sample", {v}); };
    sound_device.dev_start = [] { record("dev_start", {}); };
    sound_device.set_master_volume = [](std::int32_t v) { record("set_master_volume", {v}); };
    sound_device.set_volume = [](std::int32_t v) { record("set_volume", {v}); };
}

std::vector<DeviceCall> calls_for_voice(std::int32_t voice)
{
    std::vector<DeviceCall> calls;
    std::int64_t selected = -1;
    for (const DeviceCall& call : device_calls) {
        if (call.operation == "select_channel")
            selected = call.arguments[0];
        else if (selected == voice)
            calls.push_back(call);
    }
    return calls;
}

std::int64_t last_argument(std::int32_t voice, const std::string& operation)
{
    std::int64_t value = -1;
    for (const DeviceCall& call : calls_for_voice(voice))
        if (call.operation == operation)
            value = call.arguments.back();
    return value;
}
