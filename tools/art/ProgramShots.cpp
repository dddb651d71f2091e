// Renders the program's windows, built from their designs by the Qt backend,
// with QWidget::grab(). The window system's frame (border, title bar with
// caption and close box) is not part of a widget, so it is drawn here around
// the grabbed client area.
#include "tools/art/ProgramShots.h"

#include "tools/art/ArtFonts.h"
#include "tools/art/Drawing.h"
#include "tools/art/Palette.h"
#include "tools/art/Pictures.h"
#include "ui/forms/frmRun.h"
#include "ui/forms/frmSplash.h"
#include "ui/qt/PictureBoxWidget.h"
#include "ui/qt/QtHost.h"
#include "ui/qt/QtWindow.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLayout>
#include <QLinearGradient>
#include <QMessageBox>
#include <QPainter>

namespace halvane::art
{

namespace
{

// A window shown for its picture only: its events go nowhere.
class NoEvents final : public ui::WindowEvents
{
public:
    void controlEvent(std::size_t, ui::ControlEvent) override {}
    void closeRequested() override {}
    void enterPressed() override {}
    void activated() override {}
};

constexpr int kBorder = 1;
constexpr int kTitleBar = 20;

// The client area of `window` as the user sees it.
QImage grabClient(QWidget& window)
{
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    QCoreApplication::processEvents();
    QImage client = window.grab().toImage();
    window.hide();
    return client;
}

// A window frame around `client`; without a caption the window has no title
// bar, only its border.
QImage framed(const QImage& client, const QString& caption, bool titleBar)
{
    const int bar = titleBar ? kTitleBar : 0;
    QImage image(client.width() + 2 * kBorder, client.height() + bar + 2 * kBorder,
                 QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.fillRect(image.rect(), QColor(0x70, 0x78, 0x82));
    if (titleBar) {
        const QRect area(kBorder, kBorder, client.width(), bar);
        QLinearGradient face(area.topLeft(), area.bottomLeft());
        face.setColorAt(0, QColor(0xe9, 0xed, 0xf2));
        face.setColorAt(1, QColor(0xd6, 0xdc, 0xe4));
        p.fillRect(area, face);
        drawLatin(p, QRectF(area).adjusted(6, 0, -22, 0), caption, ArtFonts::sans(11),
                  palette::kInk);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0x45, 0x4d, 0x57), 1.3));
        const QPointF x(area.right() - 9.5, area.center().y() + 0.5);
        p.drawLine(x + QPointF(-3.5, -3.5), x + QPointF(3.5, 3.5));
        p.drawLine(x + QPointF(-3.5, 3.5), x + QPointF(3.5, -3.5));
    }
    p.drawImage(kBorder, kBorder + bar, client);
    p.end();
    return image;
}

} // namespace

QImage shotSplash(const QImage& artwork)
{
    NoEvents events;
    ui::qt::QtWindow splash(ui::frmSplash::Design(), events);
    if (auto* image1 = splash.widget().findChild<QLabel*>(QStringLiteral("Image1")))
        image1->setPixmap(QPixmap::fromImage(artwork));
    return framed(grabClient(splash.widget()), QString(), false);
}

QImage shotMainWindow(MainWindowState state)
{
    NoEvents events;
    ui::qt::QtWindow window(ui::frmRun::Design(), events);
    if (auto* picRun =
            window.widget().findChild<ui::qt::PictureBoxWidget*>(QStringLiteral("picRun")))
        picRun->setPicture(state == MainWindowState::Design    ? instructionPicture()
                           : state == MainWindowState::Waiting ? waitPicture()
                                                               : successPicture());
    return framed(grabClient(window.widget()), window.widget().windowTitle(), true);
}

QImage shotMessage(const QString& text, const QString& title, int maxWidth)
{
    const auto box = ui::qt::makeMessageBox(text.toStdString(), title.toStdString());
    box->setAttribute(Qt::WA_DontShowOnScreen);
    box->show();
    QCoreApplication::processEvents();
    box->hide();
    // Qt wraps a long message at a width taken from the screen (and sizes
    // the box again whenever it is shown); the page is narrower than a
    // screen, so a box too wide for it is wrapped at the page's width, hidden.
    const int width = maxWidth - 2 * kBorder;
    auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (box->width() > width && label) {
        label->setWordWrap(true);
        box->setMinimumSize(0, 0);
        box->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        box->layout()->invalidate();
        box->setFixedSize(width, box->layout()->totalHeightForWidth(width));
        box->layout()->activate();
    }
    return framed(box->grab().toImage(), box->windowTitle(), true);
}

} // namespace halvane::art
