#include "pagestream.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <map>

namespace kv {

QFont PageFont::font() const
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    f.setStrikeOut(strikeout);
    return f;
}

int PageStream::fontIndex(const PageFont &font)
{
    const auto it = std::find(fonts_.begin(), fonts_.end(), font);
    if (it != fonts_.end())
        return int(it - fonts_.begin());
    fonts_.push_back(font);
    return int(fonts_.size()) - 1;
}

Page &PageStream::addPage()
{
    pages_.emplace_back();
    return pages_.back();
}

void PageStream::releasePage(int index)
{
    Page &p = pages_.at(size_t(index));
    p = Page();
}

void PageStream::clear()
{
    pages_.clear();
    fonts_.clear();
}

void PageStream::paintPage(QPainter &painter, int index, double dotsPerInch, bool monochrome) const
{
    const Page &p = page(index);
    painter.save();
    // Work in points: one unit is 1/72 inch whatever the device.
    painter.scale(dotsPerInch / 72.0, dotsPerInch / 72.0);
    QPen pen(Qt::black);
    pen.setWidthF(0.75);
    painter.setPen(pen);
    for (const QLineF &line : p.lines)
        painter.drawLine(QLineF(line.p1() * 72.0, line.p2() * 72.0));
    // A font's size is resolved at the device's resolution before the transform applies.
    const double deviceDpi = painter.device() ? painter.device()->logicalDpiY() : 72.0;
    int current = -1;
    for (const PageText &t : p.texts) {
        if (t.font != current) {
            current = t.font;
            const PageFont &pf = fonts_.at(size_t(t.font));
            QFont f = pf.font();
            f.setPointSizeF(pf.points * 72.0 / deviceDpi);
            painter.setFont(f);
            painter.setPen(monochrome ? QColor(Qt::black) : QColor::fromRgb(pf.color));
        }
        if (t.scale == 1) {
            painter.drawText(t.baseline * 72.0, t.text);
            continue;
        }
        const QTransform plain = painter.transform();
        painter.translate(t.baseline * 72.0);
        painter.scale(t.scale, 1);
        painter.drawText(QPointF(0, 0), t.text);
        painter.setTransform(plain);
    }
    painter.restore();
}

QStringList PageStream::pageLines(int index) const
{
    // Baselines are compared in thousandths of an inch.
    std::map<qint64, std::vector<const PageText *>> rows;
    for (const PageText &t : page(index).texts)
        rows[qRound64(t.baseline.y() * 1000)].push_back(&t);
    QStringList lines;
    for (auto &[y, texts] : rows) {
        std::sort(texts.begin(), texts.end(),
                  [](const PageText *a, const PageText *b) { return a->baseline.x() < b->baseline.x(); });
        QStringList parts;
        for (const PageText *t : texts)
            parts << t->text;
        lines << parts.join(QLatin1Char(' '));
    }
    return lines;
}

} // namespace kv
