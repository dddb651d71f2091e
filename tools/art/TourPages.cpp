// The fifteen tour pages: one step of the cycle of work each, from the
// backup to the check of the result.
#include "tools/art/ArtFonts.h"
#include "tools/art/Drawing.h"
#include "tools/art/Palette.h"
#include "tools/art/Pictures.h"
#include "tools/art/ProgramShots.h"
#include "tools/art/Sketches.h"
#include "tools/art/Texts.h"
#include "tools/art/TourPage.h"
#include "tools/art/TourTexts.h"

#include <QPainter>
#include <QPainterPath>

namespace halvane::art
{

namespace
{

const QColor kDateTint{0xdc, 0xf2, 0xef};
const QColor kTextTint{0xfb, 0xee, 0xcf};

// A picture placed at its own size, centred in `area`, with callouts at
// points given relative to the picture.
QRectF placeCentred(QPainter& p, const QRectF& area, const QImage& picture, qreal dy = 0)
{
    const QPointF topLeft(qRound(area.center().x() - picture.width() / 2.0),
                          qRound(area.center().y() - picture.height() / 2.0 + dy));
    p.drawImage(topLeft, picture);
    return QRectF(topLeft, picture.size());
}

// The picture inside station `station` (0 to 3) of the cycle.
void drawStationIcon(QPainter& p, const QRectF& icon, int station)
{
    switch (station) {
    case 0:
        drawDocument(p, icon.adjusted(4, 0, 4, 2), palette::kTurquoise);
        drawDocument(p, icon.adjusted(-4, -3, -4, -1), palette::kGold);
        break;
    case 1: {
        TableStyle style{6, palette::kTurquoise, Qt::white, palette::kInkSoft, {}, false};
        drawTable(p, icon.topLeft() + QPointF(0, 3), {icon.width() / 2, icon.width() / 2}, {},
                  {{}, {}, {}}, style);
        break;
    }
    case 2:
        drawCalendarMark(p, icon.adjusted(-2, -2, 2, 2));
        break;
    default:
        drawDocument(p, icon.adjusted(2, 0, 0, 0), palette::kTurquoise);
        drawArrow(p, QPointF(icon.left() - 6, icon.center().y()),
                  QPointF(icon.left() + 8, icon.center().y()), palette::kGold, 2);
        break;
    }
}

// 1. The four steps as stations from right to left, with the way back.
void drawCycle(QPainter& p, const QRectF& area)
{
    const QString labels[4] = {QStringLiteral("پشتیبان\u200Cگیری"),
                               QStringLiteral("فرستادن به جدول"), QStringLiteral("اجرای Run"),
                               QStringLiteral("برگرداندن به پروژه")};
    const QString latin[4] = {QStringLiteral("Backup"), QStringLiteral("Export"),
                              QStringLiteral("Run"), QStringLiteral("Import")};
    const qreal step = area.width() / 4;
    const qreal cy = area.top() + area.height() * 0.3;
    const qreal r = qMin<qreal>(30, area.height() * 0.2);
    QPointF centres[4];
    for (int i = 0; i < 4; ++i)
        centres[i] = QPointF(area.right() - step * (i + 0.5), cy);
    for (int i = 0; i < 3; ++i)
        drawArrow(p, centres[i] - QPointF(r + 4, 0), centres[i + 1] + QPointF(r + 6, 0),
                  palette::kGold, 2.5);
    // The way back: the cycle starts again with the next schedule update.
    QPainterPath back;
    const qreal low = cy + r + 44;
    back.moveTo(centres[3] + QPointF(0, r + 30));
    back.cubicTo(centres[3] + QPointF(0, r + 50), QPointF(centres[3].x(), low),
                 QPointF(area.center().x(), low));
    back.cubicTo(QPointF(centres[0].x(), low), centres[0] + QPointF(0, r + 50),
                 centres[0] + QPointF(0, r + 34));
    p.save();
    p.setPen(QPen(palette::kTurquoise, 1.6, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawPath(back);
    p.restore();
    drawArrow(p, centres[0] + QPointF(0, r + 40), centres[0] + QPointF(0, r + 31),
              palette::kTurquoise, 1.6);
    drawPersian(p, QRectF(area.left(), low + 3, area.width(), 20),
                QStringLiteral("با هر به\u200Cروزرسانی برنامهٔ زمان\u200Cبندی، دوباره"),
                ArtFonts::naskh(11), palette::kTurquoise.darker(130), Qt::AlignCenter);

    for (int i = 0; i < 4; ++i) {
        const QPointF c = centres[i];
        p.save();
        p.setPen(QPen(palette::kTurquoise, 2));
        p.setBrush(Qt::white);
        p.drawEllipse(c, r, r);
        p.restore();
        const QRectF icon(c.x() - r * 0.55, c.y() - r * 0.55, r * 1.1, r * 1.1);
        drawStationIcon(p, icon, i);
        drawStepBadge(p, c + QPointF(r * 0.72, -r * 0.72), 8, persianNumber(i + 1), palette::kGold,
                      palette::kNight);
        drawPersian(p, QRectF(c.x() - step / 2, c.y() + r + 2, step, 20), labels[i],
                    fitted(ArtFonts::naskh(12, true), labels[i], step - 4), palette::kDeepBlue,
                    Qt::AlignCenter);
        drawLatin(p, QRectF(c.x() - step / 2, c.y() + r + 20, step, 14), latin[i],
                  ArtFonts::sans(10), palette::kInkSoft, Qt::AlignCenter);
    }
}

// 2. The project file and its copy in another folder.
void drawBackup(QPainter& p, const QRectF& area)
{
    const qreal docW = 64;
    const qreal docH = 80;
    const qreal cy = area.top() + area.height() * 0.42;
    const QRectF original(area.right() - 110 - docW / 2, cy - docH / 2, docW, docH);
    const QRectF copy(area.left() + 110 - docW / 2, cy - docH / 2, docW, docH);
    // A folder behind the copy.
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(palette::kGoldLight);
    const QRectF folder = copy.adjusted(-26, 22, 26, 18);
    QPainterPath tab;
    tab.addRoundedRect(QRectF(folder.left(), folder.top() - 10, 40, 16), 4, 4);
    p.drawPath(tab);
    p.drawRoundedRect(folder, 6, 6);
    p.restore();
    drawDocument(p, original, palette::kTurquoise);
    drawDocument(p, copy.translated(0, -6), palette::kTurquoise);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(palette::kGold);
    p.drawRoundedRect(folder.adjusted(0, folder.height() * 0.45, 0, 0), 6, 6);
    p.restore();
    drawArrow(p, QPointF(original.left() - 14, cy), QPointF(copy.right() + 34, cy),
              palette::kDeepBlue, 2.5);
    drawPersian(p, QRectF(copy.right() + 30, cy - 30, original.left() - copy.right() - 44, 20),
                QStringLiteral("کپی"), ArtFonts::naskh(13, true), palette::kDeepBlue,
                Qt::AlignCenter);
    const QFont label = ArtFonts::naskh(13, true);
    drawPersian(p, QRectF(original.center().x() - 80, original.bottom() + 12, 160, 22),
                QStringLiteral("فایل پروژه"), label, palette::kInk, Qt::AlignCenter);
    drawPersian(p, QRectF(copy.center().x() - 80, folder.bottom() + 6, 160, 22),
                QStringLiteral("نسخهٔ پشتیبان، در پوشه\u200Cای دیگر"), label, palette::kInk,
                Qt::AlignCenter);
}

// 3. Date fields in, Shamsi text fields out, with sample values.
void drawFieldMap(QPainter& p, const QRectF& area)
{
    struct Pair {
        const char* date;
        const char* value;
        const char* shamsi;
        const char* result;
    };
    const Pair pairs[4] = {{"ES", "21/03/2023", "SHES", "02/01/01"},
                           {"EF", "15/07/2023", "SHEF", "02/04/24"},
                           {"ES_T1", "01/03/2023", "SHTS", "01/12/10"},
                           {"EF_T1", "", "SHTF", ""}};
    const qreal chipW = 138;
    const qreal chipH = 30;
    const qreal gap = qMin<qreal>(10, (area.height() - 26 - 4 * chipH) / 3);
    const qreal top = area.top() + 26;
    const qreal rightX = area.right() - chipW - 10;
    const qreal leftX = area.left() + 10;
    drawPersian(p, QRectF(rightX, area.top(), chipW, 22), QStringLiteral("تاریخ میلادی (Date)"),
                ArtFonts::naskh(12, true), palette::kTurquoise.darker(140), Qt::AlignCenter);
    drawPersian(p, QRectF(leftX, area.top(), chipW, 22), QStringLiteral("تاریخ شمسی (Character)"),
                ArtFonts::naskh(12, true), palette::kGold.darker(150), Qt::AlignCenter);
    for (int i = 0; i < 4; ++i) {
        const qreal y = top + i * (chipH + gap);
        const QRectF right(rightX, y, chipW, chipH);
        const QRectF left(leftX, y, chipW, chipH);
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(palette::kTurquoise, 1.2));
        p.setBrush(kDateTint);
        p.drawRoundedRect(right.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        p.setPen(QPen(palette::kGold, 1.2));
        p.setBrush(kTextTint);
        p.drawRoundedRect(left.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        p.restore();
        const QFont name = ArtFonts::sans(12, true);
        const QFont value = ArtFonts::sans(11);
        drawLatin(p, right.adjusted(8, 0, 0, 0), QString::fromLatin1(pairs[i].date), name,
                  palette::kDeepBlue);
        drawLatin(p, left.adjusted(8, 0, 0, 0), QString::fromLatin1(pairs[i].shamsi), name,
                  palette::kDeepBlue);
        const QRectF rightValue = right.adjusted(56, 0, -8, 0);
        const QRectF leftValue = left.adjusted(56, 0, -8, 0);
        if (*pairs[i].value) {
            drawLatin(p, rightValue, QString::fromLatin1(pairs[i].value), value, palette::kInk,
                      Qt::AlignRight | Qt::AlignVCenter);
            drawLatin(p, leftValue, QString::fromLatin1(pairs[i].result), value, palette::kInk,
                      Qt::AlignRight | Qt::AlignVCenter);
        } else {
            drawPersian(p, rightValue, QStringLiteral("خالی"), ArtFonts::naskh(11),
                        palette::kInkSoft);
            drawPersian(p, leftValue, QStringLiteral("یک فاصله"), ArtFonts::naskh(11),
                        palette::kInkSoft);
        }
        drawArrow(p, QPointF(right.left() - 4, right.center().y()),
                  QPointF(left.right() + 5, left.center().y()), palette::kDeepBlue, 2);
    }
}

// 4. The table's structure, in Persian: the field names and types are quoted
// as dBASE names them, the lengths are Persian numbers like those of the text.
void drawStructure(QPainter& p, const QRectF& area)
{
    const QString read = QStringLiteral("خوانده می\u200Cشود");
    const QString written = QStringLiteral("نوشته می\u200Cشود");
    QList<QStringList> rows;
    QList<QColor> tints;
    for (const char* name : {"ES", "EF", "ES_T1", "EF_T1"}) {
        rows.append({QString::fromLatin1(name), QStringLiteral("Date"), persianNumber(8), read});
        tints.append(kDateTint);
    }
    for (const char* name : {"SHES", "SHEF", "SHTS", "SHTF"}) {
        rows.append(
            {QString::fromLatin1(name), QStringLiteral("Character"), persianNumber(10), written});
        tints.append(kTextTint);
    }
    TableStyle style;
    style.rowHeight = qMin<qreal>(23, area.height() / 9);
    style.headerFill = palette::kDeepBlue;
    style.headerInk = Qt::white;
    style.rule = palette::kPaperShade.darker(115);
    style.rowTints = tints;
    style.rightToLeft = true;
    const QList<qreal> widths{82, 96, 50, 126};
    const qreal total = 354;
    drawTable(p, QPointF(area.center().x() + total / 2, area.top() + 2), widths,
              {QStringLiteral("نام ستون"), QStringLiteral("نوع"), QStringLiteral("طول"),
               QStringLiteral("کار برنامه")},
              rows, style);
}

// 5. A save dialog set to dBASE IV, C:\ and Shamsi.dbf.
void drawSaveDialog(QPainter& p, const QRectF& area)
{
    const QRectF outer(area.center().x() - 170, area.top() + 2, 340,
                       qMin<qreal>(196, area.height() - 4));
    const QRectF client = drawDialogFrame(p, outer, QStringLiteral("Save As"));
    const qreal x = client.left() + 10;
    const qreal w = client.width() - 20;
    drawDialogField(p, QRectF(x, client.top() + 9, w - 60, 20), QStringLiteral("Save in:"),
                    QStringLiteral("Local Disk (C:)"), true, true);
    // The folder's contents.
    const QRectF list(x, client.top() + 37, w, 62);
    p.fillRect(list, Qt::white);
    p.setPen(QPen(QColor(0x9a, 0xa3, 0xad), 1));
    p.drawRect(list.adjusted(0.5, 0.5, -0.5, -0.5));
    const char* entries[] = {"Program Files", "Projects", "Users", "Windows"};
    for (int i = 0; i < 4; ++i) {
        const QRectF row(list.left() + 6 + (i / 2) * 150, list.top() + 6 + (i % 2) * 22, 140, 20);
        p.fillRect(QRectF(row.left(), row.top() + 5, 14, 10), palette::kGoldLight);
        p.fillRect(QRectF(row.left(), row.top() + 3, 6, 3), palette::kGoldLight);
        drawLatin(p, row.adjusted(20, 0, 0, 0), QString::fromLatin1(entries[i]), ArtFonts::sans(10),
                  palette::kInk);
    }
    drawDialogField(p, QRectF(x, list.bottom() + 10, w - 80, 20), QStringLiteral("File name:"),
                    QStringLiteral("Shamsi.dbf"), false, true);
    drawDialogField(p, QRectF(x, list.bottom() + 38, w - 80, 20), QStringLiteral("Save as type:"),
                    QStringLiteral("dBASE IV (*.dbf)"), true, true);
    drawDialogButton(p, QRectF(client.right() - 70, list.bottom() + 10, 60, 20),
                     QStringLiteral("Save"), true);
    drawDialogButton(p, QRectF(client.right() - 70, list.bottom() + 38, 60, 20),
                     QStringLiteral("Cancel"), false);
}

// A mapping dialog of the project-management program: field to field.
void drawMapping(QPainter& p, const QRectF& area, const QString& title, const QString& note,
                 const QStringList& header, const QList<QStringList>& rows,
                 const QList<QColor>& tints)
{
    const qreal rowHeight = 17;
    const qreal tableHeight = rowHeight * static_cast<qreal>(rows.size() + 1);
    const qreal noteHeight = note.isEmpty() ? 0 : 26;
    const qreal height = qMin(area.height() - 4, tableHeight + noteHeight + 64);
    const QRectF outer(area.center().x() - 150, area.top() + 2, 300, height);
    const QRectF client = drawDialogFrame(p, outer, title);
    qreal y = client.top() + 8;
    if (!note.isEmpty()) {
        const QRectF box(client.left() + 12, y + 4, 11, 11);
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0x7a, 0x83, 0x8e), 1));
        p.setBrush(Qt::white);
        p.drawRect(box);
        p.setPen(QPen(palette::kDeepBlue, 2));
        p.drawLine(box.topLeft() + QPointF(2, 5.5), box.topLeft() + QPointF(4.5, 8.5));
        p.drawLine(box.topLeft() + QPointF(4.5, 8.5), box.topLeft() + QPointF(9, 2.5));
        p.restore();
        drawLatin(p, QRectF(box.right() + 6, y, client.width() - 40, 19), note, ArtFonts::sans(10),
                  palette::kInk);
        y += noteHeight;
    }
    TableStyle style;
    style.rowHeight = rowHeight;
    style.headerFill = QColor(0xdd, 0xe3, 0xea);
    style.headerInk = palette::kInk;
    style.rule = QColor(0xd0, 0xd5, 0xdb);
    style.rowTints = tints;
    drawTable(p, QPointF(client.left() + 12, y), {138, 138}, header, rows, style);
    drawDialogButton(p, QRectF(client.right() - 148, client.bottom() - 28, 64, 20),
                     QStringLiteral("OK"), true);
    drawDialogButton(p, QRectF(client.right() - 76, client.bottom() - 28, 64, 20),
                     QStringLiteral("Cancel"), false);
}

// 6. The export map.
void drawExportMap(QPainter& p, const QRectF& area)
{
    const QList<QStringList> rows{{QStringLiteral("Unique ID"), QStringLiteral("ID")},
                                  {QStringLiteral("Early Start"), QStringLiteral("ES")},
                                  {QStringLiteral("Early Finish"), QStringLiteral("EF")},
                                  {QStringLiteral("Start1"), QStringLiteral("ES_T1")},
                                  {QStringLiteral("Finish1"), QStringLiteral("EF_T1")},
                                  {QStringLiteral("Text1"), QStringLiteral("SHES")},
                                  {QStringLiteral("Text2"), QStringLiteral("SHEF")},
                                  {QStringLiteral("Text3"), QStringLiteral("SHTS")},
                                  {QStringLiteral("Text4"), QStringLiteral("SHTF")}};
    drawMapping(p, area, QStringLiteral("Export Mapping"), QString(),
                {QStringLiteral("From: Task field"), QStringLiteral("To: dBASE field")}, rows,
                {QColor(), kDateTint, kDateTint, kDateTint, kDateTint, kTextTint, kTextTint,
                 kTextTint, kTextTint});
}

// 14. The import map, merging on the unique ID.
void drawImportMap(QPainter& p, const QRectF& area)
{
    const QList<QStringList> rows{{QStringLiteral("ID"), QStringLiteral("Unique ID (key)")},
                                  {QStringLiteral("SHES"), QStringLiteral("Text1")},
                                  {QStringLiteral("SHEF"), QStringLiteral("Text2")},
                                  {QStringLiteral("SHTS"), QStringLiteral("Text3")},
                                  {QStringLiteral("SHTF"), QStringLiteral("Text4")}};
    drawMapping(p, area, QStringLiteral("Import Mapping"),
                QStringLiteral("Merge the data into the active project"),
                {QStringLiteral("From: dBASE field"), QStringLiteral("To: Task field")}, rows,
                {kDateTint, kTextTint, kTextTint, kTextTint, kTextTint});
}

// 15. The schedule with its Shamsi column, and what one value means.
void drawResult(QPainter& p, const QRectF& area)
{
    TableStyle style;
    style.rowHeight = 21;
    style.headerFill = QColor(0xdd, 0xe3, 0xea);
    style.headerInk = palette::kInk;
    style.rule = QColor(0xd0, 0xd5, 0xdb);
    style.rowTints = {kTextTint};
    const QList<QStringList> rows{
        {QStringLiteral("Design"), QStringLiteral("21/03/2023"), QStringLiteral("02/01/01")},
        {QStringLiteral("Build"), QStringLiteral("15/07/2023"), QStringLiteral("02/04/24")},
        {QStringLiteral("Review"), QStringLiteral("01/03/2023"), QStringLiteral("01/12/10")},
        {QStringLiteral("Handover"), QString(), QString()}};
    const QRectF table = drawTable(
        p, QPointF(area.center().x() - 150, area.top() + 4), {110, 95, 95},
        {QStringLiteral("Task Name"), QStringLiteral("Early Start"), QStringLiteral("Text1")}, rows,
        style);
    // What the first result means: 02/01/01 is 1 Farvardin 1402.
    const qreal cy = table.bottom() + (area.bottom() - table.bottom()) / 2;
    const QRectF chip(area.center().x() + 40, cy - 15, 96, 30);
    drawChip(p, chip, QStringLiteral("02/01/01"), ArtFonts::sans(14, true), kTextTint,
             palette::kDeepBlue);
    const QRectF leaf(area.center().x() - 136, cy - 38, 96, 76);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath sheet;
    sheet.addRoundedRect(leaf, 8, 8);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.setClipPath(sheet);
    p.fillRect(QRectF(leaf.left(), leaf.top(), leaf.width(), 24), palette::kTurquoise);
    p.setClipping(false);
    p.setPen(QPen(palette::kTurquoise, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(sheet);
    p.restore();
    drawPersian(p, QRectF(leaf.left(), leaf.top(), leaf.width(), 24),
                QStringLiteral("فروردین ۱۴۰۲"), ArtFonts::naskh(13, true), Qt::white,
                Qt::AlignCenter);
    drawPersian(p, QRectF(leaf.left(), leaf.top() + 24, leaf.width(), leaf.height() - 24),
                QStringLiteral("۱"), ArtFonts::naskh(34, true), palette::kDeepBlue,
                Qt::AlignCenter);
    drawArrow(p, QPointF(chip.left() - 8, cy), QPointF(leaf.right() + 8, cy), palette::kGold, 2.5);
}

// Numbered notes beside a picture: badge on the right, text to its left.
void drawLegend(QPainter& p, const QRectF& box, const QStringList& items)
{
    const qreal rowHeight = 30;
    qreal y = box.center().y() - rowHeight * static_cast<qreal>(items.size()) / 2;
    for (qsizetype i = 0; i < items.size(); ++i, y += rowHeight) {
        drawCallout(p, QPointF(box.right() - 10, y + rowHeight / 2), static_cast<int>(i + 1));
        drawPersian(p, QRectF(box.left(), y, box.width() - 26, rowHeight), items[i],
                    fitted(ArtFonts::naskh(13, true), items[i], box.width() - 26),
                    palette::kDeepBlue);
    }
}

// Pages that show the program: its window centred, callouts on its parts.
void drawSplash(QPainter& p, const QRectF& area)
{
    const QRectF at = placeCentred(p, area, shotSplash(splashPicture()));
    drawCallout(p, at.topLeft() + QPointF(228, 170), 1);
}

void drawMainWindow(QPainter& p, const QRectF& area, MainWindowState state)
{
    const QImage shot = shotMainWindow(state);
    if (state != MainWindowState::Design) {
        placeCentred(p, area, shot);
        return;
    }
    // The window on the left, notes on its parts on the right.
    const QRectF left(area.left(), area.top(), shot.width() + 20, area.height());
    const QRectF at = placeCentred(p, left, shot);
    const QRectF client(at.left(), at.bottom() - 125, 185, 125);
    drawCallout(p, QPointF(client.left() + 48, client.bottom() + 8), 1);
    drawCallout(p, QPointF(client.left() + 136, client.bottom() + 8), 2);
    drawCallout(p, client.topLeft() + QPointF(34, 45), 3);
    drawLegend(p,
               QRectF(left.right() + 6, area.top(), area.right() - left.right() - 6, area.height()),
               {QStringLiteral("Run: آغاز تبدیل"), QStringLiteral("Exit: بستن برنامه"),
                texts::kOpenGuide + QStringLiteral(": همین راهنما")});
}

void drawMessage(QPainter& p, const QRectF& area, const QString& text, const QString& title)
{
    placeCentred(p, area, shotMessage(text, title, qRound(area.width())));
}

// The illustration of tour page `number` (1 to 15).
Illustration illustrationOf(int number)
{
    switch (number) {
    case 1:
        return drawCycle;
    case 2:
        return drawBackup;
    case 3:
        return drawFieldMap;
    case 4:
        return drawStructure;
    case 5:
        return drawSaveDialog;
    case 6:
        return drawExportMap;
    case 7:
        return drawSplash;
    case 8:
        return [](QPainter& p, const QRectF& a) { drawMainWindow(p, a, MainWindowState::Design); };
    case 9:
        return [](QPainter& p, const QRectF& a) { drawMainWindow(p, a, MainWindowState::Waiting); };
    case 10:
        return [](QPainter& p, const QRectF& a) { drawMainWindow(p, a, MainWindowState::Done); };
    case 11:
        return [](QPainter& p, const QRectF& a) {
            drawMessage(p, a, QStringLiteral("Shamsi.dbf file not found"), QStringLiteral("qrx2"));
        };
    case 12:
        return [](QPainter& p, const QRectF& a) {
            drawMessage(p, a, QStringLiteral("Unable to Calculate Shamsi Dates"),
                        QStringLiteral("Date Not Found"));
        };
    case 13:
        return [](QPainter& p, const QRectF& a) {
            drawMessage(p, a,
                        QStringLiteral("Unexpected Error: Item not found in this collection: the "
                                       "table C:\\Shamsi.dbf has no field 'EF_T1'"),
                        QStringLiteral("qrx2"));
        };
    case 14:
        return drawImportMap;
    default:
        return drawResult;
    }
}

} // namespace

QImage tourPagePicture(int number)
{
    const tour::PageText& text = tour::kPages[number - 1];
    return tourPage(number, text.title, text.body, illustrationOf(number));
}

} // namespace halvane::art
