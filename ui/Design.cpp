#include "ui/Design.h"

#include <QFont>
#include <QGuiApplication>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <array>
#include <cmath>

#ifdef _WIN32
#include <windows.h>
#endif

namespace halvane::ui
{

int twips(int designTwips)
{
    return static_cast<int>(std::lround(static_cast<double>(designTwips) / kTwipsPerPixel));
}

QRect twipsRect(int left, int top, int width, int height)
{
    return {twips(left), twips(top), twips(width), twips(height)};
}

void setDesignFont(QWidget& widget, const QString& family, double points, bool bold)
{
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(false);
    widget.setFont(font);
    widget.setProperty(kCharsetProperty, kArabicCharset);
}

QPushButton* addButton(QWidget& parent, const char* name, const QString& text,
                       const QRect& geometry)
{
    auto* button = addControl<QPushButton>(parent, name, geometry);
    button->setText(text);
    setDesignFont(*button, QString::fromLatin1(kTahoma), kButtonFontSize);
    button->setDefault(false);
    // Outside a dialog Qt ignores Enter on a focused button unless it is an
    // auto-default button; Windows buttons take Enter when focused.
    button->setAutoDefault(true);
    return button;
}

QColor systemColour(int index)
{
#ifdef _WIN32
    const COLORREF c = GetSysColor(index);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
#else
    // The standard Windows colour scheme, COLOR_SCROLLBAR (0) to COLOR_MENUBAR (30).
    static constexpr std::array<QRgb, 31> kStandard{
        0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
        0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x0078D7, 0xFFFFFF, 0xF0F0F0,
        0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
        0xFFFFE1, 0x000000, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x3399FF, 0xF0F0F0,
    };
    if (index < 0 || index >= static_cast<int>(kStandard.size()))
        return QColor(Qt::black);
    return QColor(kStandard[static_cast<std::size_t>(index)]);
#endif
}

void setBackground(QWidget& widget, const QColor& colour)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, colour);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

void makeToolWindow(QWidget& window, const QString& caption, int clientWidth, int clientHeight)
{
    window.setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint);
    window.setWindowTitle(caption);
    window.setFixedSize(twips(clientWidth), twips(clientHeight));
}

void makeTitlelessWindow(QWidget& window, int clientWidth, int clientHeight)
{
    window.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    window.setWindowTitle(QString());
    window.setFixedSize(twips(clientWidth), twips(clientHeight));
}

void centreOnScreen(QWidget& window)
{
    window.setProperty(kCentredProperty, true);
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->geometry().center());
    window.move(frame.topLeft());
}

QIcon programIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/art/icon16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/art/icon32.png"), QSize(32, 32));
    return icon;
}

} // namespace halvane::ui
