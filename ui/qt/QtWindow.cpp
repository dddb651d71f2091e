#include "ui/qt/QtWindow.h"

#include "ui/forms/DesignOrder.h"
#include "ui/qt/ButtonRoles.h"
#include "ui/qt/ClickArea.h"
#include "ui/qt/DesignLine.h"
#include "ui/qt/DesignStyle.h"
#include "ui/qt/PictureBoxWidget.h"
#include "ui/qt/X11Hints.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSvgWidget>
#include <QThread>
#include <QWindow>

namespace halvane::ui::qt
{
namespace
{

// How long a window waits for the window manager to tell the size of its
// frame before it is centred without it.
constexpr int kFrameTimeoutMs = 500;

QString textOf(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// Where a container's children are measured from: inside a picture box's
// border; the top-left corner of any other container.
QPoint interiorOrigin(const QWidget& container)
{
    if (auto* box = qobject_cast<const PictureBoxWidget*>(&container))
        return box->contentsRect().topLeft();
    return {};
}

// Draws `widget` on the screen before returning. A window just shown is
// drawn only once the window system has put it on the screen; it is waited
// for, without taking any user input meanwhile.
void repaintNow(QWidget& widget)
{
    if (!widget.isVisible())
        return;
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

// Where a control of `row` goes: in `container`, measured from `origin`,
// the top-left of the container's interior.
struct Placing {
    const ControlDesign& row;
    QWidget& container;
    QPoint origin;

    // A new widget in the container, named after its row and placed there.
    template <class Widget> Widget* make() const
    {
        auto* widget = new Widget(&container);
        widget->setObjectName(textOf(row.name));
        widget->setGeometry(pixelRect(row.place).translated(origin));
        return widget;
    }
};

QWidget* newPushButton(const Placing& at, WindowWidget* window, std::size_t index)
{
    auto* button = at.make<QPushButton>();
    button->setText(textOf(at.row.text)); // "&" marks the access key, as on Windows
    if (at.row.font)
        setDesignFont(*button, *at.row.font);
    button->setDefault(false);
    // Outside a dialog Qt ignores Enter on a focused button unless it is
    // an auto-default button; Windows buttons take Enter when focused.
    button->setAutoDefault(true);
    QObject::connect(button, &QPushButton::clicked, window,
                     [window, index] { window->clicked(index); });
    return button;
}

QWidget* newLabel(const Placing& at)
{
    auto* label = at.make<QLabel>();
    label->setTextFormat(Qt::PlainText);
    label->setText(textOf(at.row.text));
    // Top-left aligned and wrapped at word ends, like a Windows label.
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setAutoFillBackground(true); // opaque, in the container's colour
    if (at.row.font)
        setDesignFont(*label, *at.row.font);
    if (!at.row.foreground.inherited()) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, colourOf(at.row.foreground));
        label->setPalette(palette);
    }
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    return label;
}

QWidget* newPictureBox(const Placing& at)
{
    auto* box = at.make<PictureBoxWidget>();
    if (at.row.font)
        setDesignFont(*box, *at.row.font);
    if (!at.row.picture.empty())
        box->setPicture(QImage(picturePath(at.row.picture)));
    return box;
}

QWidget* newStretchedPicture(const Placing& at)
{
    const QString path = picturePath(at.row.picture);
    if (isVectorPicture(path)) {
        auto* image = at.make<QSvgWidget>();
        image->load(path); // stretched to the control
        image->setFocusPolicy(Qt::NoFocus);
        return image;
    }
    auto* image = at.make<QLabel>();
    image->setPixmap(QPixmap(path));
    image->setScaledContents(true);
    return image;
}

QWidget* newClickArea(const Placing& at, WindowWidget* window, std::size_t index)
{
    auto* area = at.make<ClickArea>();
    QObject::connect(area, &ClickArea::clicked, window,
                     [window, index] { window->clicked(index); });
    return area;
}

QWidget* newFrame(const Placing& at)
{
    auto* frame = at.make<QGroupBox>();
    frame->setTitle(textOf(at.row.text));
    frame->setFocusPolicy(Qt::NoFocus);
    return frame;
}

QWidget* newLine(const Placing& at)
{
    const ControlDesign& row = at.row;
    auto* line =
        new DesignLine(at.container, pixelPoint({row.place.left, row.place.top}) + at.origin,
                       pixelPoint(row.lineTo) + at.origin, row.lineWidth, colourOf(row.foreground));
    line->setObjectName(textOf(row.name));
    return line;
}

} // namespace

QtWindow::QtWindow(const WindowDesign& design, WindowEvents& events)
    : m_design(design), m_widget(new WindowWidget(events)),
      m_controls(design.controls.size(), nullptr)
{
    WindowWidget& window = *m_widget;
    window.setObjectName(textOf(design.name));
    // Qt keeps its tool windows off the task bar.
    const Qt::WindowFlags type = design.taskBarEntry ? Qt::Window : Qt::Tool;
    switch (design.kind) {
    case WindowKind::ToolWindow:
        window.setWindowFlags(type | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint);
        window.setWindowTitle(textOf(design.caption));
        break;
    case WindowKind::NoTitleBar:
        window.setWindowFlags(type | Qt::FramelessWindowHint);
        window.setWindowTitle(QString());
        break;
    }
    window.setFixedSize(pixels(design.client.width), pixels(design.client.height));
    if (!design.icon.empty())
        window.setWindowIcon(designIcon(design.icon));
    setDesignFont(window, design.font);
    if (!design.background.inherited())
        setBackground(window, colourOf(design.background));
    if (design.placement == Placement::FixedClientPosition)
        window.setGeometry(QRect(pixelPoint(design.position), window.size()));

    addControls(window, {});
    chainTabOrder();
    setButtonRoles();
    focusFirst();
}

void QtWindow::chainTabOrder()
{
    const std::vector<std::size_t> order = tabOrder(m_design);
    // Qt leaves a control that takes no focus (a label, a frame) out of
    // setTabOrder; it keeps its place in the chain all the same, as a Windows
    // label's place hands its access key on to the control after it.
    std::vector<QWidget*> noFocus;
    for (std::size_t i : order)
        if (m_controls[i]->focusPolicy() == Qt::NoFocus) {
            noFocus.push_back(m_controls[i]);
            m_controls[i]->setFocusPolicy(Qt::TabFocus);
        }
    for (std::size_t k = 1; k < order.size(); ++k)
        QWidget::setTabOrder(m_controls[order[k - 1]], m_controls[order[k]]);
    for (QWidget* w : noFocus)
        w->setFocusPolicy(Qt::NoFocus);
}

void QtWindow::setButtonRoles()
{
    QPushButton* defaultButton = nullptr;
    QPushButton* cancelButton = nullptr;
    for (std::size_t i = 0; i < m_design.controls.size(); ++i) {
        if (m_design.controls[i].isDefault)
            defaultButton = qobject_cast<QPushButton*>(m_controls[i]);
        if (m_design.controls[i].isCancel)
            cancelButton = qobject_cast<QPushButton*>(m_controls[i]);
    }
    new ButtonRoles(*m_widget, defaultButton, cancelButton);
}

void QtWindow::focusFirst()
{
    for (std::size_t i : focusCandidates(m_design)) {
        QWidget* w = m_controls[i];
        if (w->isVisibleTo(m_widget) && w->isEnabled()) {
            w->setFocus();
            return;
        }
    }
}

QtWindow::~QtWindow()
{
    if (!m_widget)
        return;
    m_widget->detach();
    m_widget->hide();
    // Deleted once the event being handled has returned: it may have come
    // from one of the window's own controls.
    m_widget->deleteLater();
}

void QtWindow::addControls(QWidget& container, std::string_view containerName)
{
    // From the bottom-most up: each widget created lies over its siblings
    // created before it.
    const std::vector<std::size_t> children = childrenOf(m_design, containerName);
    for (auto at = children.rbegin(); at != children.rend(); ++at)
        if (QWidget* control = addControl(*at, container)) {
            m_controls[*at] = control;
            addControls(*control, m_design.controls[*at].name);
        }
}

QWidget* QtWindow::addControl(std::size_t index, QWidget& container)
{
    const ControlDesign& row = m_design.controls[index];
    const Placing at{row, container, interiorOrigin(container)};
    QWidget* widget = nullptr;
    switch (row.kind) {
    case ControlKind::PushButton:
        widget = newPushButton(at, m_widget, index);
        break;
    case ControlKind::Label:
        widget = newLabel(at);
        break;
    case ControlKind::PictureBox:
        widget = newPictureBox(at);
        break;
    case ControlKind::StretchedPicture:
        widget = newStretchedPicture(at);
        break;
    case ControlKind::ClickArea:
        widget = newClickArea(at, m_widget, index);
        break;
    case ControlKind::Frame:
        widget = newFrame(at);
        break;
    case ControlKind::Line:
        widget = newLine(at);
        break;
    case ControlKind::DataControl:
        return nullptr; // a component without a window: the Form holds it
    }

    if (row.index != kNoIndex)
        widget->setProperty("index", row.index);
    if (!row.background.inherited())
        setBackground(*widget, colourOf(row.background));
    if (!row.visible)
        widget->hide();
    if (!row.enabled)
        widget->setEnabled(false);
    return widget;
}

void QtWindow::centreOnScreen(const QMargins& frame)
{
    QWidget& window = *m_widget;
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize outer = window.size().grownBy(frame);
    const QPoint frameCorner(area.x() + (area.width() - outer.width()) / 2,
                             area.y() + (area.height() - outer.height()) / 2);
    // Placed by its client area, which the window manager keeps where it is
    // asked to be and frames around; placing the frame's corner instead
    // depends on whether Qt has learnt the frame yet.
    window.setGeometry(QRect(frameCorner + QPoint(frame.left(), frame.top()), window.size()));
}

void QtWindow::show()
{
    WindowWidget& window = *m_widget;
    window.winId(); // the native window, so its hints are in place before it is mapped
    if (!m_design.taskBarEntry)
        keepOffTaskBar(window);
    const bool centred = m_design.placement == Placement::CentredOnScreen;
    // The frame the window manager will give, asked before the window is
    // mapped. Some answer for a window without a title bar as if it had one,
    // so it is not asked for one: it gets none, or a border at most.
    QMargins expected;
    if (centred) {
        if (m_design.kind != WindowKind::NoTitleBar)
            expected = frameExtents(window, kFrameTimeoutMs).value_or(QMargins());
        centreOnScreen(expected);
    }
    window.show();
    if (centred) {
        // The frame it was given, now that it is on the screen.
        std::optional<QMargins> given = frameExtents(window, kFrameTimeoutMs);
        if (!given)
            if (QWindow* handle = window.windowHandle(); handle && !handle->frameMargins().isNull())
                given = handle->frameMargins();
        if (given && *given != expected)
            centreOnScreen(*given);
    }
    window.raise();
    window.activateWindow();
}

void QtWindow::bringToFront()
{
    WindowWidget& window = *m_widget;
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

void QtWindow::activate()
{
    m_widget->raise();
    m_widget->activateWindow();
}

void QtWindow::repaint()
{
    repaintNow(*m_widget);
}

void QtWindow::setEnabled(std::size_t control, bool enabled)
{
    if (QWidget* w = m_controls.at(control))
        w->setEnabled(enabled);
}

void QtWindow::setVisible(std::size_t control, bool visible)
{
    if (QWidget* w = m_controls.at(control))
        w->setVisible(visible);
}

void QtWindow::setFocus(std::size_t control)
{
    if (QWidget* w = m_controls.at(control))
        w->setFocus();
}

std::optional<std::size_t> QtWindow::focusedControl() const
{
    const QWidget* focus = m_widget->focusWidget();
    for (std::size_t i = 0; focus && i < m_controls.size(); ++i)
        if (m_controls[i] == focus)
            return i;
    return std::nullopt;
}

bool QtWindow::setPicture(std::size_t control, std::string_view bytes, std::string& why)
{
    auto* box = qobject_cast<PictureBoxWidget*>(m_controls.at(control));
    if (!box) {
        why = "not a picture box";
        return false;
    }
    QByteArray data(bytes.data(), qsizetype(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        why = reader.errorString().toStdString();
        return false;
    }
    box->setPicture(picture);
    repaintNow(*box);
    return true;
}

QWidget* widgetOf(const NativeWindow* window)
{
    auto* qtWindow = dynamic_cast<const QtWindow*>(window);
    return qtWindow ? &qtWindow->widget() : nullptr;
}

} // namespace halvane::ui::qt
