// The widget, its timer and the full-screen view.
#include "audacious/show_widget.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/host_services.h"

namespace audacious {

// The same picture over the whole screen; its keys and clicks belong to the docked widget.
class FullScreenView : public QWidget {
  public:
    explicit FullScreenView(ShowWidget& owner) : QWidget(nullptr), owner_(owner) {
        setAttribute(Qt::WA_DeleteOnClose);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::StrongFocus);
        setWindowTitle("Quenari Tolvek, full screen");
    }

  protected:
    void paintEvent(QPaintEvent*) override { owner_.PaintShow(*this); }
    void keyPressEvent(QKeyEvent* event) override { owner_.HandleKey(event, true); }
    void keyReleaseEvent(QKeyEvent* event) override { owner_.HandleKey(event, false); }
    void mouseDoubleClickEvent(QMouseEvent*) override { owner_.ToggleFullScreen(); }

  private:
    ShowWidget& owner_;
};

namespace {

// The virtual-key code of a Qt key, 0 for keys the show is not told of.
WPARAM VirtualKey(int key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<WPARAM>(key);  // the same codes
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return static_cast<WPARAM>(VK_F1 + (key - Qt::Key_F1));
    switch (key) {
        case Qt::Key_Escape: return VK_ESCAPE;
        case Qt::Key_Space: return VK_SPACE;
        case Qt::Key_Return:
        case Qt::Key_Enter: return VK_RETURN;
        case Qt::Key_Backspace: return VK_BACK;
        case Qt::Key_Tab: return VK_TAB;
        case Qt::Key_Left: return VK_LEFT;
        case Qt::Key_Right: return VK_RIGHT;
        case Qt::Key_Up: return VK_UP;
        case Qt::Key_Down: return VK_DOWN;
        case Qt::Key_PageUp: return VK_PRIOR;
        case Qt::Key_PageDown: return VK_NEXT;
        case Qt::Key_Home: return VK_HOME;
        case Qt::Key_End: return VK_END;
        default: return 0;
    }
}

// The largest rectangle of the frame's aspect inside `area`, centred.
QRect Letterbox(const QRect& area, int width, int height) {
    if (width <= 0 || height <= 0 || area.isEmpty())
        return {};
    int w = area.width();
    int h = static_cast<int>(static_cast<long long>(w) * height / width);
    if (h > area.height()) {
        h = area.height();
        w = static_cast<int>(static_cast<long long>(h) * width / height);
    }
    return {area.x() + (area.width() - w) / 2, area.y() + (area.height() - h) / 2, w, h};
}

}  // namespace

ShowWidget::ShowWidget(HostPlayer& host, QWidget* parent) : QWidget(parent), host_(host) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(160, 120);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { TakeTurn(); });
    restart_ = new QPushButton("Start the show again", this);
    restart_->hide();
    QObject::connect(restart_, &QPushButton::clicked, this, [this] {
        endedByShow_ = false;
        StartShow();
        setFocus();
    });
}

ShowWidget::~ShowWidget() {
    StopShow();
    delete fullScreen_.data();
}

void ShowWidget::ShowProblem(const std::string& text) {
    std::fprintf(stderr, "quenari-tolvek: %s\n", text.c_str());
    AddNotice(text);
}

void ShowWidget::AddNotice(const std::string& line) {
    // A few lines say what is wrong; a whole missing folder would fill the widget.
    constexpr int kMaxLines = 6;
    const int lines = notice_.isEmpty() ? 0 : notice_.count('\n') + 1;
    if (lines < kMaxLines)
        notice_ += (notice_.isEmpty() ? "" : "\n") + QString::fromStdString(line);
    else if (lines == kMaxLines)
        notice_ += "\n...";
    update();
}

void ShowWidget::StartShow() {
    if (showRunning())
        return;
    notice_.clear();
    restart_->hide();
    if (!session_) {
        session_ = std::make_unique<hostkit::EmbeddedShow>(
            static_cast<hostkit::HostControls*>(this), [this](const std::string& caption, const std::string& text) {
                AddNotice(caption.empty() ? text : caption + ": " + text);
            });
    }
    std::string error;
    if (!session_->Load(host_.PluginPath(), &error) || !session_->Start(static_cast<hostkit::HostClient&>(*this), &error)) {
        ShowProblem(error);
        return;
    }
    shownPresent_ = session_->presentCount();
    timer_.start(session_->delayMs());
    host_.Note("started, a frame every " + std::to_string(session_->delayMs()) + " ms");
    if (host_.FullScreenOnStart() && !fullScreen_)
        ToggleFullScreen();
}

void ShowWidget::StopShow() {
    timer_.stop();
    if (!showRunning())
        return;
    session_->Stop();
    NoteStopped();
}

void ShowWidget::NoteStopped() {
    // What the show leaves behind once it stopped: only the host's own window.
    host_.Note("stopped after " + std::to_string(session_->framesRendered()) +
               " frames; windows " + std::to_string(platform::CountWindows()) +
               ", display objects " + std::to_string(platform::CountDisplayObjects()));
}

void ShowWidget::ShowEnded() {
    timer_.stop();
    endedByShow_ = true;
    notice_ = "The show has ended.";
    std::fprintf(stderr, "quenari-tolvek: the show ended after %d frames\n",
                 session_ ? session_->framesRendered() : 0);
    NoteStopped();
    if (fullScreen_)
        fullScreen_->close();
    restart_->show();
    PlaceButton();
    update();
}

hostkit::HeardSound ShowWidget::Sound(const winampVisModule&) {
    return {host_.Ring().Spread(kAudaciousBlockFrames), std::nullopt};
}

void ShowWidget::Act(hostkit::PlayerCommand command) {
    if (command == hostkit::PlayerCommand::ToggleFullScreen)
        ToggleFullScreen();
    else if (command != hostkit::PlayerCommand::Quit)  // Audacious is not ours to end
        host_.Act(command);
}

void ShowWidget::TakeTurn() {
    if (!session_)
        return;
    switch (session_->Turn(static_cast<hostkit::HostClient&>(*this))) {
        case hostkit::TurnResult::Rendered:
            host_.Rendered(session_->framesRendered(), session_->module());
            CopyFrame();
            break;
        case hostkit::TurnResult::Idle:
            break;
        case hostkit::TurnResult::Ended:
            ShowEnded();
            break;
    }
}

void ShowWidget::CopyFrame() {
    if (session_->presentCount() == shownPresent_)
        return;
    shownPresent_ = session_->presentCount();
    const hostkit::RenderedFrame& frame = session_->frame();
    if (image_.width() != frame.width || image_.height() != frame.height)
        image_ = QImage(frame.width, frame.height, QImage::Format_Indexed8);
    QVector<QRgb> colours(256);
    for (int i = 0; i < 256; ++i) {
        const PALETTEENTRY& e = frame.palette[static_cast<std::size_t>(i)];
        colours[i] = qRgb(e.peRed, e.peGreen, e.peBlue);
    }
    if (image_.colorTable() != colours)
        image_.setColorTable(colours);
    for (int y = 0; y < frame.height; ++y) {
        std::memcpy(image_.scanLine(y), frame.pixels.data() + static_cast<std::size_t>(y) * frame.width,
                    static_cast<std::size_t>(frame.width));
    }
    // The docked widget is not repainted while the full-screen view covers the screen.
    if (fullScreen_)
        fullScreen_->update();
    else
        update();
}

void ShowWidget::PaintShow(QWidget& target) {
    QPainter painter(&target);
    painter.fillRect(target.rect(), Qt::black);
    if (!image_.isNull()) {
        const QRect box = Letterbox(target.rect(), image_.width(), image_.height());
        ScaledFrame& scaled = &target == this ? docked_ : fullScreenFrame_;
        painter.drawImage(box.topLeft(), scaled.For(image_, shownPresent_, box.size()));
    }
    if (!notice_.isEmpty() && &target == this) {
        painter.setPen(Qt::white);
        const QRect area = rect().adjusted(8, 8, -8, -8);
        const int flags = Qt::AlignTop | Qt::AlignHCenter | Qt::TextWordWrap;
        const QRect text = painter.boundingRect(area, flags, notice_);
        painter.fillRect(text.adjusted(-6, -4, 6, 4), QColor(0, 0, 0, 200));
        painter.drawText(area, flags, notice_);
    }
}

void ShowWidget::paintEvent(QPaintEvent*) {
    PaintShow(*this);
}

void ShowWidget::resizeEvent(QResizeEvent*) {
    PlaceButton();
    NotePlace();
}

void ShowWidget::NotePlace() {
    const QPoint corner = mapToGlobal(QPoint(0, 0));
    host_.Note("at " + std::to_string(corner.x()) + " " + std::to_string(corner.y()) + " " +
               std::to_string(width()) + " " + std::to_string(height()));
}

void ShowWidget::PlaceButton() {
    const QSize size = restart_->sizeHint();
    restart_->setGeometry((width() - size.width()) / 2, (height() - size.height()) / 2,
                          size.width(), size.height());
}

void ShowWidget::showEvent(QShowEvent*) {
    NotePlace();
    if (!endedByShow_)
        StartShow();
}

void ShowWidget::hideEvent(QHideEvent* event) {
    // Minimising the window keeps the show; closing the dock ends it.
    if (!event->spontaneous())
        StopShow();
}

void ShowWidget::HandleKey(QKeyEvent* event, bool down) {
    const WPARAM key = VirtualKey(event->key());
    if (key == 0) {
        event->ignore();
        return;
    }
    if (showRunning()) {
        session_->SendKey(key, down, event->isAutoRepeat());
    } else if (down && !event->isAutoRepeat() && key == 'F') {
        ToggleFullScreen();
    } else if (down && key == VK_ESCAPE && fullScreen_) {
        fullScreen_->close();
    }
    event->accept();
}

void ShowWidget::keyPressEvent(QKeyEvent* event) {
    HandleKey(event, true);
}

void ShowWidget::keyReleaseEvent(QKeyEvent* event) {
    HandleKey(event, false);
}

void ShowWidget::mouseDoubleClickEvent(QMouseEvent*) {
    ToggleFullScreen();
}

void ShowWidget::ToggleFullScreen() {
    if (fullScreen_) {
        fullScreen_->close();
        setFocus();
        return;
    }
    fullScreen_ = new FullScreenView(*this);
    // The screen's size as well as the full-screen state: without a window manager nobody
    // else would give the window that size.
    if (QScreen* where = screen())
        fullScreen_->setGeometry(where->geometry());
    fullScreen_->showFullScreen();
    fullScreen_->activateWindow();
    fullScreen_->setFocus();
}

}  // namespace audacious
