// The embedded show.
#include "hostkit/desktop/embedded_show.h"

namespace hostkit {

EmbeddedShow::EmbeddedShow(HostControls* controls, NoticeHandler onNotice)
    : onNotice_(std::move(onNotice)), window_("TolvekEmbeddedHost", "Quenari Tolvek host") {
    // The show draws only into frames handed to the host's view: no window of its own opens.
    platform::SetDisplayPreference(platform::DisplayPreference::Headless);
    window_.SetControls(controls);
    boxes_ = platform::AddMessageBoxObserver([this](const char* caption, const char* text) {
        if (onNotice_)
            onNotice_(caption != nullptr ? caption : "", text != nullptr ? text : "");
    });
    lines_ = platform::AddDiagnosticObserver([this](const char* text) {
        std::string line = text != nullptr ? text : "";
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        if (onNotice_ && !line.empty())
            onNotice_("", line);
    });
}

EmbeddedShow::~EmbeddedShow() {
    Stop();
}

bool EmbeddedShow::Load(const std::string& pluginPath, std::string* error) {
    if (loaded() && pluginPath == pluginPath_)
        return true;
    Stop();
    loop_.reset();
    if (!plugin_.Load(pluginPath, error))
        return false;
    pluginPath_ = pluginPath;
    loop_ = std::make_unique<HostLoop>(*plugin_.module(), window_.handle(), plugin_.instance());
    return true;
}

bool EmbeddedShow::Start(HostClient& client, std::string* error) {
    if (!loop_) {
        *error = "no plug-in loaded";
        return false;
    }
    if (!loop_->Start(client)) {
        *error = pluginPath_ + ": the plug-in did not start (Init failed)";
        return false;
    }
    return true;
}

TurnResult EmbeddedShow::Turn(HostClient& client) {
    return loop_ ? loop_->Turn(client) : TurnResult::Ended;
}

void EmbeddedShow::Stop() {
    if (loop_)
        loop_->Stop();
}

void EmbeddedShow::SendKey(WPARAM virtualKey, bool down, bool repeat) {
    if (running())
        window_.SendKey(virtualKey, down, repeat);
}

}  // namespace hostkit
