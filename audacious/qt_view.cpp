// The Qt widget, its full-screen view and its keys.
#include "audacious/qt_view.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <string>

namespace audacious {

// The same picture over the whole screen; its keys and clicks go to the controller.
class QtFullScreenView : public QWidget {
  public:
    explicit QtFullScreenView(QtShowView& owner) : QWidget(nullptr), owner_(owner) {
        setAttribute(Qt::WA_DeleteOnClose);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::StrongFocus);
        setWindowTitle("Quenari Tolvek, full screen");
    }
    ~QtFullScreenView() override {
        if (!closing_)
            owner_.controller().FullScreenClosed();
    }
    void CloseByOwner() {
        closing_ = true;
        close();
    }
    hostkit::ScaledFrame& scaled() { return scaled_; }

  protected:
    void paintEvent(QPaintEvent* event) override {
        owner_.PaintShow(*this, scaled_, event->rect(), false);
    }
    void keyPressEvent(QKeyEvent* event) override { owner_.HandleKey(event, true); }
    void keyReleaseEvent(QKeyEvent* event) override { owner_.HandleKey(event, false); }
    void mouseDoubleClickEvent(QMouseEvent*) override { owner_.controller().ToggleFullScreen(); }

  private:
    QtShowView& owner_;
    hostkit::ScaledFrame scaled_;
    bool closing_ = false;
};

namespace {

// The virtual-key code of a Qt key, 0 for keys the show is not told of.
WPARAM VirtualKey(int key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<WPARAM>(key);  // the same codes
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return static_cast<WPARAM>(VK_F1 + (key - Qt::Key_F1));
    switch (key) {
        case Qt::Key_Escape:
            return VK_ESCAPE;
        case Qt::Key_Space:
            return VK_SPACE;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return VK_RETURN;
        case Qt::Key_Backspace:
            return VK_BACK;
        case Qt::Key_Tab:
            return VK_TAB;
        case Qt::Key_Left:
            return VK_LEFT;
        case Qt::Key_Right:
            return VK_RIGHT;
        case Qt::Key_Up:
            return VK_UP;
        case Qt::Key_Down:
            return VK_DOWN;
        case Qt::Key_PageUp:
            return VK_PRIOR;
        case Qt::Key_PageDown:
            return VK_NEXT;
        case Qt::Key_Home:
            return VK_HOME;
        case Qt::Key_End:
            return VK_END;
        default:
            return 0;
    }
}

}  // namespace

QtShowView::QtShowView(HostPlayer& host, QWidget* parent)
    : QWidget(parent), controller_(host, *this) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(160, 120);
    restart_ = new QPushButton("Start the show again", this);
    restart_->hide();
    QObject::connect(restart_, &QPushButton::clicked, this, [this] {
        controller_.StartAgain();
        setFocus();
    });
}

QtShowView::~QtShowView() {
    controller_.Stop();
    if (fullScreen_)
        fullScreen_->CloseByOwner();
}

void QtShowView::Repaint() {
    // Nothing of the docked widget shows while the full-screen view covers the screen.
    if (fullScreen_)
        fullScreen_->update();
    else
        update();
}

void QtShowView::FrameChanged() {
    QWidget& target = fullScreen_ ? static_cast<QWidget&>(*fullScreen_) : *this;
    hostkit::ScaledFrame& scaled = fullScreen_ ? fullScreen_->scaled() : docked_;
    const hostkit::RenderedFrame* frame = controller_.frame();
    if (frame == nullptr)
        return;
    const hostkit::Box box =
        hostkit::Letterbox(target.width(), target.height(), frame->width, frame->height);
    if (scaled.Scale(*frame, controller_.frameSerial(), box.width, box.height).empty())
        return;
    if (&target == this && controller_.HasNotice()) {
        update();  // the notices lie over the picture
        return;
    }
    // Only what changed is painted and handed to the window system.
    QRegion changed;
    for (const hostkit::Box& part : scaled.changed())
        changed += QRect(box.x + part.x, box.y + part.y, part.width, part.height);
    target.update(changed);
}

void QtShowView::OfferRestart(bool offered) {
    restart_->setVisible(offered);
    if (offered)
        PlaceButton();
}

void QtShowView::OpenFullScreen() {
    if (fullScreen_)
        return;
    fullScreen_ = new QtFullScreenView(*this);
    // The screen's size as well as the full-screen state: without a window manager nobody
    // else would give the window that size.
    if (QScreen* where = screen())
        fullScreen_->setGeometry(where->geometry());
    fullScreen_->showFullScreen();
    fullScreen_->activateWindow();
    fullScreen_->setFocus();
}

void QtShowView::CloseFullScreen() {
    if (fullScreen_)
        fullScreen_->CloseByOwner();
    setFocus();
    update();
}

void QtShowView::PaintShow(QWidget& target, hostkit::ScaledFrame& scaled, const QRect& exposed,
                           bool withNotice) {
    QPainter painter(&target);
    const hostkit::RenderedFrame* frame = controller_.frame();
    const hostkit::Box box = frame != nullptr ? hostkit::Letterbox(target.width(), target.height(),
                                                                   frame->width, frame->height)
                                              : hostkit::Box{};
    const QRect picture(box.x, box.y, box.width, box.height);
    if (!box.empty()) {
        // Scaled already when the frame came, unless the size changed since.
        if (!scaled.Scale(*frame, controller_.frameSerial(), box.width, box.height).empty() &&
            !exposed.contains(picture)) {
            target.update(picture);
        }
        // The pixels are painted where they are, without a copy.
        const QImage image(reinterpret_cast<const uchar*>(scaled.pixels()), scaled.width(),
                           scaled.height(), scaled.strideBytes(), QImage::Format_RGB32);
        painter.drawImage(box.x, box.y, image);
    }
    // Only the bars around the picture are black, and only when they are to be painted.
    if (!picture.contains(exposed)) {
        const QRegion bars = QRegion(exposed) - picture;
        for (const QRect& bar : bars)
            painter.fillRect(bar, Qt::black);
    }
    if (withNotice && controller_.HasNotice()) {
        const QString notice = QString::fromStdString(controller_.NoticeText());
        painter.setPen(Qt::white);
        const QRect area = target.rect().adjusted(8, 8, -8, -8);
        const int flags = Qt::AlignTop | Qt::AlignHCenter | Qt::TextWordWrap;
        const QRect text = painter.boundingRect(area, flags, notice);
        painter.fillRect(text.adjusted(-6, -4, 6, 4), QColor(0, 0, 0, 200));
        painter.drawText(area, flags, notice);
    }
}

void QtShowView::paintEvent(QPaintEvent* event) {
    PaintShow(*this, docked_, event->rect(), true);
}

void QtShowView::resizeEvent(QResizeEvent*) {
    PlaceButton();
    NotePlace();
}

void QtShowView::NotePlace() {
    const QPoint corner = mapToGlobal(QPoint(0, 0));
    controller_.ViewPlaced(corner.x(), corner.y(), width(), height());
}

void QtShowView::PlaceButton() {
    const QSize size = restart_->sizeHint();
    restart_->setGeometry((width() - size.width()) / 2, (height() - size.height()) / 2,
                          size.width(), size.height());
}

namespace {

// An ordinary top-level window of Audacious's (a main window) other than `except`.
bool IsMainWindow(const QWidget* widget, const QWidget* except) {
    return widget != except && widget->isWindow() && widget->windowType() == Qt::Window &&
           widget->windowTitle() != "Quenari Tolvek, full screen";
}

// A raise alone is not enough: the window manager (openbox) keeps a window it has just mapped
// above one that only asks to be raised.
void BringForward(QWidget* view) {
    view->raise();
    view->activateWindow();
}

// Brings `view` forward once, after the first main window that is shown has been activated: Qt
// asks for a window's activation only once the window manager has mapped it, and the window
// manager raises the window it activates.
class MainWindowWatch : public QObject {
  public:
    explicit MainWindowWatch(QWidget* view) : QObject(view), view_(view) {}

  protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(object);
        if (widget == nullptr || !IsMainWindow(widget, view_))
            return false;
        if (event->type() == QEvent::Show && !shown_) {
            shown_ = true;
            // In case the window manager never activates it.
            QTimer::singleShot(kLongestWaitMs, this, [this] { Finish(); });
        } else if (event->type() == QEvent::WindowActivate && shown_) {
            Finish();
        }
        return false;
    }

  private:
    static constexpr int kLongestWaitMs = 1000;

    void Finish() {
        if (done_)
            return;
        done_ = true;
        QTimer::singleShot(0, view_, [view = view_] { BringForward(view); });
        deleteLater();
    }

    QWidget* view_;
    bool shown_ = false;
    bool done_ = false;
};

}  // namespace

void QtShowView::BringViewForward() {
    // Only a view of its own (a floating dock, the skinned interface's window) is raised, never
    // the main window the widget may be docked in.
    QWidget* view = window();
    if (broughtForward_ || view == this || IsMainWindow(view, nullptr))
        return;
    broughtForward_ = true;
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (IsMainWindow(other, view) && other->isVisible()) {
            BringForward(view);
            return;
        }
    }
    // Audacious shows its main window after the views that were enabled when it started: the
    // window manager would stack it above this one.
    qApp->installEventFilter(new MainWindowWatch(view));
}

bool QtShowView::eventFilter(QObject* watched, QEvent* event) {
    // The window the widget is in moves without the widget being resized.
    if (watched == toplevel_ && event->type() == QEvent::Move)
        NotePlace();
    return false;
}

void QtShowView::showEvent(QShowEvent*) {
    // Docking and floating put the widget in another window.
    if (window() != toplevel_) {
        if (toplevel_)
            toplevel_->removeEventFilter(this);
        toplevel_ = window();
        toplevel_->installEventFilter(this);
    }
    NotePlace();
    BringViewForward();
    controller_.ViewShown();
}

void QtShowView::hideEvent(QHideEvent* event) {
    // Minimising the window keeps the show; closing the dock ends it.
    if (!event->spontaneous())
        controller_.Stop();
}

void QtShowView::HandleKey(QKeyEvent* event, bool down) {
    if (controller_.Key(VirtualKey(event->key()), down, event->isAutoRepeat()))
        event->accept();
    else
        event->ignore();
}

void QtShowView::keyPressEvent(QKeyEvent* event) {
    HandleKey(event, true);
}

void QtShowView::keyReleaseEvent(QKeyEvent* event) {
    HandleKey(event, false);
}

void QtShowView::mouseDoubleClickEvent(QMouseEvent*) {
    controller_.ToggleFullScreen();
}

void QtShowView::mousePressEvent(QMouseEvent*) {
    setFocus();
}

}  // namespace audacious
