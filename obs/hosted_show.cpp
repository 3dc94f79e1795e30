// The hosted show through the host kit's plug-in loading, message pump, waveform and presented
// frame.
#include "obs/hosted_show.h"

#include "hostkit/host_loop.h"
#include "platform/host_services.h"
#include "platform/win32.h"

namespace tolvek_obs {
namespace {

constexpr const char* kParentClass = "TolvekObsHost";

std::string WithoutLineEnd(const char* text) {
    std::string line = text != nullptr ? text : "";
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    return line;
}

}  // namespace

HostedShow::HostedShow(NoticeHandler onNotice) : onNotice_(std::move(onNotice)) {
    // The show draws only into frames handed to OBS: no window of its own opens.
    platform::SetDisplayPreference(platform::DisplayPreference::Headless);
    capture_ = std::make_unique<hostkit::PresentedFrameCapture>();
    platform::SetMessageBoxObserver([this](const char* caption, const char* text) {
        const std::string c = WithoutLineEnd(caption);
        const std::string t = WithoutLineEnd(text);
        if (onNotice_)
            onNotice_(c.empty() ? t : c + ": " + t);
    });
    platform::SetDiagnosticObserver([this](const char* text) {
        const std::string line = WithoutLineEnd(text);
        if (onNotice_ && !line.empty())
            onNotice_(line);
    });
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &DefWindowProcA;
    windowClass.lpszClassName = kParentClass;
    RegisterClassA(&windowClass);
    parent_ = CreateWindowExA(0, kParentClass, "OBS Studio", 0, 0, 0, 320, 200, nullptr, nullptr,
                              nullptr, nullptr);
}

HostedShow::~HostedShow() {
    Stop();
    DestroyWindow(parent_);
    UnregisterClassA(kParentClass, nullptr);
    platform::SetMessageBoxObserver(nullptr);
    platform::SetDiagnosticObserver(nullptr);
    capture_.reset();
}

bool HostedShow::Load(const std::string& pluginPath, std::string* error) {
    if (plugin_.module() != nullptr && pluginPath == pluginPath_)
        return true;
    Stop();
    pluginPath_.clear();
    if (!plugin_.Load(pluginPath, error))
        return false;
    pluginPath_ = pluginPath;
    return true;
}

void HostedShow::FixClock(bool fixed, long long seconds) {
    platform::FixCalendarTime(fixed ? std::optional<std::int64_t>(seconds) : std::nullopt);
}

int HostedShow::delayMs() const {
    const winampVisModule* module = plugin_.module();
    // A module asking for no wait still gets one frame of OBS's between turns.
    return module != nullptr && module->delayMs > 0 ? module->delayMs : 0;
}

int HostedShow::latencyMs() const {
    const winampVisModule* module = plugin_.module();
    return module != nullptr ? module->latencyMs : 0;
}

bool HostedShow::Start(const SoundFormat& format, std::string* error) {
    if (running_)
        return true;
    winampVisModule* module = plugin_.module();
    if (module == nullptr) {
        *error = "no plug-in loaded";
        return false;
    }
    module->hwndParent = parent_;
    module->hDllInstance = plugin_.instance();
    module->sRate = format.sampleRate;
    module->nCh = format.channels;
    // A quit request left from an earlier show is not this one's.
    hostkit::PumpMessages();
    if (module->Init(module) != 0) {
        *error = pluginPath_ + ": the plug-in did not start (Init failed)";
        hostkit::PumpMessages();
        return false;
    }
    running_ = true;
    framesRendered_ = 0;
    return true;
}

TurnResult HostedShow::Turn(const SoundFormat& format, const hostkit::SoundWindow& sound) {
    if (!running_)
        return TurnResult::Ended;
    if (hostkit::PumpMessages()) {
        Stop();
        return TurnResult::Ended;
    }
    winampVisModule& module = *plugin_.module();
    module.sRate = format.sampleRate;
    module.nCh = format.channels;
    hostkit::FillWaveform(sound, module);
    if (module.spectrumNch > 0)
        hostkit::FillSpectrum(sound, module);
    ++framesRendered_;
    if (module.Render(&module) != 0) {
        Stop();
        return TurnResult::Ended;
    }
    return TurnResult::Rendered;
}

void HostedShow::Stop() {
    if (!running_)
        return;
    running_ = false;
    winampVisModule& module = *plugin_.module();
    module.Quit(&module);
    // Quit closes the module's window, whose destruction asks to quit once more: that request
    // belongs to this show.
    hostkit::PumpMessages();
}

int HostedShow::WindowsAlive() {
    return platform::CountWindows();
}

int HostedShow::DisplayObjectsAlive() {
    return platform::CountDisplayObjects();
}

}  // namespace tolvek_obs
