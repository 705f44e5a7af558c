#include "speedicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>
#include <cmath>
#include <numbers>

namespace kv {

namespace {

// Every picture is drawn on a 16-unit square. Outlines sit on half units, so they
// fall on whole pixels at 16 px (1 px wide) and at 32 px (2 px wide).
constexpr qreal kGrid = 16.0;

const QColor kInk(40, 40, 40);
const QColor kPaper(255, 255, 255);
const QColor kTextLine(150, 150, 150);
const QColor kGreen(30, 160, 50);
const QColor kRed(215, 35, 35);
const QColor kBlue(40, 95, 200);
const QColor kDarkBlue(20, 50, 130);
const QColor kYellow(255, 220, 90);
const QColor kDarkYellow(215, 165, 40);
const QColor kGlass(190, 228, 255);
const QColor kHeader(120, 150, 200);
const QColor kGrey(192, 192, 192);
const QColor kDarkGrey(90, 90, 90);

QPen outline(qreal width = 1.0, const QColor &color = kInk)
{
    return QPen(color, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}

void fillShape(QPainter &p, const QPolygonF &shape, const QColor &fill)
{
    p.setPen(outline());
    p.setBrush(fill);
    p.drawPolygon(shape);
}

// A sheet of paper with its top right corner folded; lines of text unless blank.
void page(QPainter &p, const QRectF &r, bool withText = true)
{
    constexpr qreal fold = 3.0;
    fillShape(p, QPolygonF{r.topLeft(), QPointF(r.right() - fold, r.top()), QPointF(r.right(), r.top() + fold),
                           r.bottomRight(), r.bottomLeft()},
              kPaper);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF{QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold),
                             QPointF(r.right(), r.top() + fold)});
    if (!withText)
        return;
    p.setPen(outline(1.0, kTextLine));
    for (qreal y = r.top() + 4; y < r.bottom() - 1; y += 2)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

// A plus sign of two crossing bars, centred on c; turned 45 degrees it is a cross.
QPolygonF plusShape(QPointF c, qreal arm, qreal half)
{
    QPolygonF shape;
    const std::array<QPointF, 12> points = {
        QPointF(-half, -arm), QPointF(half, -arm),  QPointF(half, -half), QPointF(arm, -half),
        QPointF(arm, half),   QPointF(half, half),  QPointF(half, arm),   QPointF(-half, arm),
        QPointF(-half, half), QPointF(-arm, half),  QPointF(-arm, -half), QPointF(-half, -half),
    };
    for (const QPointF &pt : points)
        shape << c + pt;
    return shape;
}

void plusBadge(QPainter &p, QPointF c) { fillShape(p, plusShape(c, 3.5, 1.5), kGreen); }

void crossBadge(QPainter &p, QPointF c)
{
    p.save();
    p.translate(c);
    p.rotate(45);
    fillShape(p, plusShape(QPointF(0, 0), 4.0, 1.25), kRed);
    p.restore();
}

// An arrow with a broad head, from one point to the other along a straight line.
void arrow(QPainter &p, QPointF from, QPointF to, const QColor &fill)
{
    const QLineF line(from, to);
    constexpr qreal shaft = 1.5, head = 4.0, headLength = 4.0;
    p.save();
    p.translate(from);
    p.rotate(-line.angle());
    const qreal len = line.length();
    fillShape(p,
              QPolygonF{QPointF(0, -shaft), QPointF(len - headLength, -shaft), QPointF(len - headLength, -head),
                        QPointF(len, 0), QPointF(len - headLength, head), QPointF(len - headLength, shaft),
                        QPointF(0, shaft)},
              fill);
    p.restore();
}

// A small table: a header row, body rows and columns; one column may stand out.
void table(QPainter &p, const QRectF &r, int rows, int columns, int highlighted = -1)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kPaper);
    p.drawRect(r);
    const qreal rowHeight = r.height() / (rows + 1);
    const qreal columnWidth = r.width() / columns;
    if (highlighted >= 0) {
        p.setBrush(kYellow);
        p.drawRect(QRectF(r.left() + highlighted * columnWidth, r.top(), columnWidth, r.height()));
    }
    p.setBrush(kHeader);
    p.drawRect(QRectF(r.left(), r.top(), r.width(), rowHeight));
    p.setPen(outline(1.0, kTextLine));
    for (int k = 2; k <= rows; ++k)
        p.drawLine(QPointF(r.left(), r.top() + k * rowHeight), QPointF(r.right(), r.top() + k * rowHeight));
    for (int k = 1; k < columns; ++k)
        p.drawLine(QPointF(r.left() + k * columnWidth, r.top() + rowHeight),
                   QPointF(r.left() + k * columnWidth, r.bottom()));
    p.setPen(outline());
    p.drawLine(QPointF(r.left(), r.top() + rowHeight), QPointF(r.right(), r.top() + rowHeight));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
}

// A magnifying glass: the lens in the upper left, the handle down to the right.
void magnifier(QPainter &p)
{
    p.setPen(QPen(kDarkGrey, 3.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.5, 10.5), QPointF(14.0, 14.0));
    p.setPen(outline(1.5));
    p.setBrush(kGlass);
    p.drawEllipse(QPointF(6.5, 6.5), 4.75, 4.75);
    p.setPen(QPen(kPaper, 1.25, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(3.5, 3.5, 6, 6), 100 * 16, 70 * 16);
}

void binoculars(QPainter &p)
{
    p.setPen(outline());
    p.setBrush(kDarkGrey);
    p.drawRect(QRectF(2.5, 2.5, 3, 3));
    p.drawRect(QRectF(10.5, 2.5, 3, 3));
    p.drawRect(QRectF(5.5, 6.5, 5, 3));
    p.drawRoundedRect(QRectF(1.5, 5.5, 5, 7), 1, 1);
    p.drawRoundedRect(QRectF(9.5, 5.5, 5, 7), 1, 1);
    p.setBrush(kGlass);
    p.drawEllipse(QPointF(4, 12.5), 3, 3);
    p.drawEllipse(QPointF(12, 12.5), 3, 3);
}

void newDatabase(QPainter &p)
{
    page(p, QRectF(1.5, 2.5, 10, 13), false);
    QPolygonF star;
    const QPointF centre(11.5, 4.5);
    for (int k = 0; k < 10; ++k) {
        const qreal radius = k % 2 == 0 ? 4.25 : 1.75;
        const qreal angle = std::numbers::pi / 5 * k - std::numbers::pi / 2;
        star << centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
    }
    fillShape(p, star, kYellow);
}

void openDatabase(QPainter &p)
{
    fillShape(p,
              QPolygonF{QPointF(0.5, 3.5), QPointF(5.5, 3.5), QPointF(6.5, 5.5), QPointF(13.5, 5.5),
                        QPointF(13.5, 13.5), QPointF(0.5, 13.5)},
              kDarkYellow);
    page(p, QRectF(3.5, 1.5, 8, 9), true);
    fillShape(p, QPolygonF{QPointF(3.5, 7.5), QPointF(15.5, 7.5), QPointF(13.5, 13.5), QPointF(0.5, 13.5)},
              kYellow);
}

void editRecord(QPainter &p)
{
    page(p, QRectF(1.5, 0.5, 10, 15));
    p.save();
    p.translate(10, 7);
    p.rotate(135); // the tip points down to the left, as when writing
    p.setPen(outline());
    p.setBrush(QColor(240, 140, 160));
    p.drawRect(QRectF(-7, -1.5, 2, 3));
    p.setBrush(kYellow);
    p.drawRect(QRectF(-5, -1.5, 8, 3));
    fillShape(p, QPolygonF{QPointF(3, -1.5), QPointF(7, 0), QPointF(3, 1.5)}, QColor(240, 210, 160));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPolygon(QPolygonF{QPointF(5.8, -0.45), QPointF(7, 0), QPointF(5.8, 0.45)});
    p.restore();
}

void viewerConfiguration(QPainter &p) { table(p, QRectF(0.5, 1.5, 15, 12), 3, 3, 1); }

void sortOrder(QPainter &p)
{
    p.setPen(QPen(kInk, 1.5, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF{QPointF(1, 7.5), QPointF(4, 0.75), QPointF(7, 7.5)});
    p.drawLine(QPointF(2.3, 5.25), QPointF(5.7, 5.25));
    p.drawPolyline(QPolygonF{QPointF(1.5, 9.25), QPointF(6.5, 9.25), QPointF(1.5, 14.75), QPointF(6.75, 14.75)});
    arrow(p, QPointF(12, 0.5), QPointF(12, 15.5), kBlue);
}

void colorSetup(QPainter &p)
{
    QPainterPath board;
    board.addEllipse(QRectF(0.5, 2.5, 15, 11));
    QPainterPath thumb;
    thumb.addEllipse(QPointF(10.5, 10), 1.5, 1.5);
    QPainterPath notch;
    notch.addEllipse(QPointF(15, 10.5), 2.25, 1.75);
    p.setPen(outline());
    p.setBrush(QColor(230, 195, 135));
    p.drawPath(board.subtracted(thumb).subtracted(notch));
    const std::array<std::pair<QPointF, QColor>, 5> dots = {{
        {QPointF(4, 6.5), kRed},
        {QPointF(7.5, 5), kYellow},
        {QPointF(11.5, 5.5), kGreen},
        {QPointF(4, 10), kBlue},
        {QPointF(7, 11.25), kPaper},
    }};
    p.setPen(outline(0.75));
    for (const auto &[centre, color] : dots) {
        p.setBrush(color);
        p.drawEllipse(centre, 1.5, 1.5);
    }
}

void help(QPainter &p)
{
    p.setPen(outline(1.0, kDarkBlue));
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(8, 8), 7.25, 7.25);
    QPainterPath mark;
    mark.moveTo(5.5, 6);
    mark.cubicTo(5.5, 2.75, 10.5, 2.75, 10.5, 5.75);
    mark.cubicTo(10.5, 7.75, 8, 7.75, 8, 10);
    p.setPen(QPen(kPaper, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mark);
    p.setPen(Qt::NoPen);
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(8, 12.75), 1.25, 1.25);
}

void reports(QPainter &p)
{
    page(p, QRectF(3.5, 0.5, 9, 8), false);
    p.setPen(outline());
    p.setBrush(kGrey);
    p.drawRoundedRect(QRectF(0.5, 6.5, 15, 6), 1, 1);
    p.setBrush(kDarkGrey);
    p.drawRect(QRectF(2.5, 9.5, 11, 1));
    p.setBrush(kGreen);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(13, 8.25), 0.9, 0.9);
    page(p, QRectF(3.5, 10.5, 9, 5), false);
    p.setPen(outline(1.0, kTextLine));
    p.drawLine(QPointF(5.5, 13), QPointF(10.5, 13));
}

void paint(QPainter &p, SpeedIcon which)
{
    switch (which) {
    case SpeedIcon::NewDatabase: newDatabase(p); break;
    case SpeedIcon::OpenDatabase: openDatabase(p); break;
    case SpeedIcon::AddRecord:
        page(p, QRectF(1.5, 0.5, 10, 14));
        plusBadge(p, QPointF(12, 12));
        break;
    case SpeedIcon::EditRecord: editRecord(p); break;
    case SpeedIcon::CopyRecord:
        page(p, QRectF(0.5, 0.5, 9, 11));
        page(p, QRectF(5.5, 4.5, 9, 11));
        break;
    case SpeedIcon::DeleteRecord:
        page(p, QRectF(1.5, 0.5, 10, 14));
        crossBadge(p, QPointF(11.5, 11.5));
        break;
    case SpeedIcon::ImportRecords:
        table(p, QRectF(7.5, 2.5, 8, 12), 3, 2);
        arrow(p, QPointF(0.5, 8), QPointF(10.5, 8), kGreen);
        break;
    case SpeedIcon::ExportRecords:
        table(p, QRectF(0.5, 2.5, 8, 12), 3, 2);
        arrow(p, QPointF(5.5, 8), QPointF(15.5, 8), kBlue);
        break;
    case SpeedIcon::SearchRecords: magnifier(p); break;
    case SpeedIcon::EndSearch:
        magnifier(p);
        crossBadge(p, QPointF(12, 4));
        break;
    case SpeedIcon::LocateRecord: binoculars(p); break;
    case SpeedIcon::LocateNextRecord:
        p.save();
        p.scale(0.8, 0.8);
        binoculars(p);
        p.restore();
        arrow(p, QPointF(9, 12), QPointF(15.5, 12), kGreen);
        break;
    case SpeedIcon::Reports: reports(p); break;
    case SpeedIcon::ViewerConfiguration: viewerConfiguration(p); break;
    case SpeedIcon::SortOrder: sortOrder(p); break;
    case SpeedIcon::ColorSetup: colorSetup(p); break;
    case SpeedIcon::Help: help(p); break;
    }
}

QPixmap render(SpeedIcon which, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kGrid, size / kGrid);
    paint(p, which);
    return pixmap;
}

} // namespace

QIcon speedIcon(SpeedIcon which)
{
    static std::array<QIcon, kSpeedIconCount> cache;
    QIcon &icon = cache[size_t(which)];
    if (icon.isNull()) {
        for (const int size : {16, 32})
            icon.addPixmap(render(which, size));
    }
    return icon;
}

} // namespace kv
