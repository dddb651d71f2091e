#include "ui/WindowServices.h"

#include "core/Host.h"
#include "core/Platform.h"
#include "core/Service.h"
#include "ui/DataControlWidget.h"
#include "ui/Design.h"
#include "ui/PictureBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QFile>
#include <QImageReader>
#include <QMessageBox>
#include <QPointer>
#include <QThread>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#if HALVANE_X11
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#endif

namespace halvane::ui
{
namespace
{

// ------------------------------------------------------------ message boxes

class QtHost final : public Host
{
public:
    void messageBox(std::string_view text, std::string_view title) override
    {
        auto box = makeMessageBox(text, title);
        // Takes the keyboard at once, so Enter presses OK even where no
        // window manager hands the focus to a new window.
        box->show();
        box->raise();
        box->activateWindow();
        box->exec();
    }

    [[noreturn]] void endProcess() override
    {
        // Immediate: no handler, destructor or exit routine of the program
        // runs. Saved records are already in the table file; the window
        // system takes every window away with the process.
        std::fflush(nullptr);
        std::_Exit(0);
    }
};

QtHost g_qtHost;

// ------------------------------------------------------------ lifetime

// Watches every window that hides (closes, is unloaded or destroyed) and,
// once the handler that hid it has returned, ends the event loop when no
// window is left.
class Lifetime final : public QObject
{
public:
    using QObject::QObject;

    void scheduleCheck()
    {
        if (m_checkPending)
            return;
        m_checkPending = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_checkPending = false;
                if (!anyWindowOpen())
                    QCoreApplication::exit(0);
            },
            Qt::QueuedConnection);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow())
            scheduleCheck();
        return false;
    }

private:
    bool m_checkPending = false;
};

QPointer<Lifetime> g_lifetime;

// ------------------------------------------------------------ windows

std::unordered_map<std::type_index, QPointer<QWidget>>& openWindows()
{
    static std::unordered_map<std::type_index, QPointer<QWidget>> windows;
    return windows;
}

// No task-bar entry on X11: Qt marks tool windows as utility windows, which
// some task bars still list; the window-manager state says it outright. Set
// on the window before it is first mapped, where Qt keeps it.
void keepOffTaskBar([[maybe_unused]] QWidget& window)
{
#if HALVANE_X11
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;
    xcb_connection_t* c = x11->connection();
    auto atom = [c](const char* name) {
        auto cookie = xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(c, cookie, nullptr), &std::free);
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    };
    const xcb_atom_t state = atom("_NET_WM_STATE");
    const xcb_atom_t states[] = {atom("_NET_WM_STATE_SKIP_TASKBAR"),
                                 atom("_NET_WM_STATE_SKIP_PAGER")};
    xcb_change_property(c, XCB_PROP_MODE_APPEND, static_cast<xcb_window_t>(window.winId()), state,
                        XCB_ATOM_ATOM, 32, 2, states);
    xcb_flush(c);
#endif
}

bool countsAsWindow(const QWidget& widget)
{
    const Qt::WindowType type = widget.windowType();
    return widget.isVisible() && type != Qt::Popup && type != Qt::ToolTip && type != Qt::Desktop;
}

} // namespace

// ------------------------------------------------------------ start-up

void installWindowServices(QApplication& app)
{
    QApplication::setApplicationName(QString::fromUtf8(kAppTitle));
    QApplication::setQuitOnLastWindowClosed(false);
    if (!g_lifetime) {
        g_lifetime = new Lifetime(&app);
        app.installEventFilter(g_lifetime);
    }
    // For the life of the program.
    static ReplaceService<Host> qtHost(g_qtHost);
}

int runEventLoop()
{
    if (g_lifetime)
        g_lifetime->scheduleCheck(); // a start that showed no window ends at once
    return QApplication::exec();
}

bool anyWindowOpen()
{
    for (const QWidget* widget : QApplication::topLevelWidgets())
        if (countsAsWindow(*widget))
            return true;
    return false;
}

// ------------------------------------------------------------ windows

namespace detail
{

QWidget* findWindow(std::type_index type)
{
    auto& windows = openWindows();
    auto it = windows.find(type);
    if (it == windows.end())
        return nullptr;
    // A window closed by its close button is deleted a moment later; it is
    // no longer open.
    if (!it->second || !it->second->isVisible()) {
        windows.erase(it);
        return nullptr;
    }
    return it->second.data();
}

void registerWindow(std::type_index type, QWidget& window)
{
    window.setAttribute(Qt::WA_DeleteOnClose);
    window.setAttribute(Qt::WA_QuitOnClose, false);
    openWindows()[type] = &window;
}

void openDataControls(QWidget& window)
{
    for (DataControlWidget* control : window.findChildren<DataControlWidget*>())
        control->Refresh();
}

void present(QWidget& window, bool created)
{
    if (created) {
        window.winId(); // the native window, so its hints are in place before it is mapped
        keepOffTaskBar(window);
    }
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    if (created && window.property(kCentredProperty).toBool())
        centreOnScreen(window);
    window.raise();
    window.activateWindow();
}

} // namespace detail

void Unload(QWidget& window)
{
    auto& windows = openWindows();
    for (auto it = windows.begin(); it != windows.end();)
        it = it->second == &window ? windows.erase(it) : std::next(it);
    window.hide();
    // Deleted once the handler that unloads it has returned: it may be the
    // window's own handler, still running inside one of its controls.
    window.deleteLater();
}

void Repaint(QWidget& widget)
{
    if (!widget.isVisible())
        return;
    // A window just shown is drawn only once the window system has put it on
    // the screen; wait for that, without taking any user input meanwhile.
    if (QWindow* handle = widget.window()->windowHandle()) {
        QDeadlineTimer deadline(2000);
        while (!handle->isExposed() && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            if (!handle->isExposed())
                QThread::msleep(1);
        }
    }
    widget.repaint();
}

// ------------------------------------------------------------ failures

std::string unhandledMessage(const Failure& failure)
{
    return "Run-time error '" + std::to_string(failure.number()) + "':\n\n" + failure.description();
}

void reportUnhandled(const Failure& failure)
{
    reportAndEnd(unhandledMessage(failure));
}

// ------------------------------------------------------------ pictures

QImage loadPicture(std::string_view fileName)
{
    const std::filesystem::path path{std::string(fileName)};
    const std::string shown = std::filesystem::absolute(path).string();
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found)
        throw Failure(err::FileNotFound, "File not found: " + shown);
    if (!ec && status.type() == std::filesystem::file_type::directory)
        throw Failure(err::PathFileAccess, "Path/File access error: " + shown + " is a folder");

    QFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::ReadOnly)) {
        if (file.error() == QFileDevice::PermissionsError)
            throw Failure(err::PermissionDenied, "Permission denied: cannot read " + shown);
        throw Failure(err::PathFileAccess,
                      "Path/File access error: " + shown + ": " + file.errorString().toStdString());
    }
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    QImage picture = reader.read();
    if (picture.isNull())
        throw Failure(err::InvalidPicture, "Invalid picture: " + shown + " (" +
                                               reader.errorString().toStdString() + ")");
    return picture;
}

void setPictureFromFile(PictureBox& box, std::string_view fileName)
{
    box.setPicture(loadPicture(fileName));
    Repaint(box);
}

// ------------------------------------------------------------ message boxes

std::unique_ptr<QMessageBox> makeMessageBox(std::string_view text, std::string_view title)
{
    auto box = std::make_unique<QMessageBox>();
    box->setWindowModality(Qt::ApplicationModal);
    box->setWindowTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
    box->setTextFormat(Qt::PlainText); // a file name is never taken for markup
    box->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    box->setIcon(QMessageBox::NoIcon);
    box->setStandardButtons(QMessageBox::Ok);
    QAbstractButton* ok = box->button(QMessageBox::Ok);
    ok->setIcon(QIcon()); // some styles (Fusion) give standard buttons an icon
    box->setDefaultButton(QMessageBox::Ok);
    box->setEscapeButton(ok);
    return box;
}

} // namespace halvane::ui
