// Asking the sound server for its sources through libpulse's own main loop.
#include "player/sound/pulse_devices.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/introspect.h>
#include <pulse/mainloop.h>

#include <memory>

namespace player {
namespace {

void CollectSource(pa_context*, const pa_source_info* info, int last, void* userdata) {
    if (last != 0 || info == nullptr)
        return;
    auto* devices = static_cast<std::vector<CaptureDevice>*>(userdata);
    devices->push_back({info->name != nullptr ? info->name : "",
                        info->description != nullptr ? info->description : "",
                        info->monitor_of_sink != PA_INVALID_INDEX});
}

}  // namespace

bool ListCaptureDevices(std::vector<CaptureDevice>* devices, std::string* error) {
    std::unique_ptr<pa_mainloop, void (*)(pa_mainloop*)> loop(pa_mainloop_new(), &pa_mainloop_free);
    if (loop == nullptr) {
        *error = "cannot start the sound server client";
        return false;
    }
    std::unique_ptr<pa_context, void (*)(pa_context*)> context(
        pa_context_new(pa_mainloop_get_api(loop.get()), "tolvek"), &pa_context_unref);
    if (context == nullptr ||
        pa_context_connect(context.get(), nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        *error =
            std::string("no sound server: ") +
            pa_strerror(context != nullptr ? pa_context_errno(context.get()) : PA_ERR_INTERNAL);
        return false;
    }
    for (;;) {
        pa_context_state_t state = pa_context_get_state(context.get());
        if (state == PA_CONTEXT_READY)
            break;
        if (!PA_CONTEXT_IS_GOOD(state)) {
            *error =
                std::string("no sound server: ") + pa_strerror(pa_context_errno(context.get()));
            return false;
        }
        if (pa_mainloop_iterate(loop.get(), 1, nullptr) < 0) {
            *error = "the sound server client stopped";
            return false;
        }
    }
    pa_operation* operation =
        pa_context_get_source_info_list(context.get(), &CollectSource, devices);
    while (operation != nullptr && pa_operation_get_state(operation) == PA_OPERATION_RUNNING) {
        if (pa_mainloop_iterate(loop.get(), 1, nullptr) < 0)
            break;
    }
    if (operation != nullptr)
        pa_operation_unref(operation);
    pa_context_disconnect(context.get());
    return true;
}

}  // namespace player
