#include "reports/reportlayout.h"

#include "store/fieldtable.h"

#include <algorithm>

namespace kv {

namespace {

constexpr double kAreaLeft = 4;
constexpr double kAreaRight = 629;
constexpr double kFirstLineTop = 75;
constexpr double kLineHeight = 20;
constexpr double kTotalsTop = 355;
constexpr char kFillerText[] = "Filler";

QString partCaption(const TPartRec &part, const QStringList &captions, bool totalsLine)
{
    if (totalsLine) {
        const int number = part.fieldNumber >= 1 && part.fieldNumber <= kTotalsEntryCount
                               ? part.fieldNumber
                               : totalsEntryNumber(part.kind);
        return number > 0 ? totalsEntryName(number) : part.kind;
    }
    const int number = part.fieldNumber >= 1 && part.fieldNumber <= kFieldCount ? part.fieldNumber
                                                                                 : fieldNumber(part.kind);
    if (number > 0 && number <= captions.size())
        return captions.at(number - 1);
    return number > 0 ? defaultCaption(number) : part.kind;
}

} // namespace

int usedPartCount(const TLineRec &line)
{
    int used = 0;
    while (used < kPartsPerLine && line[size_t(used)].width > 0)
        ++used;
    return used;
}

void refitLine(TLineRec &line, int width)
{
    int sum = 0;
    int last = 0;
    for (; last < kPartsPerLine; ++last) {
        TPartRec &part = line[size_t(last)];
        if (part.width <= 0)
            part.width = qint16(width);
        sum += part.width;
        if (sum >= width)
            break;
    }
    last = std::min(last, kPartsPerLine - 1);
    line[size_t(last)].width = qint16(line[size_t(last)].width - (sum - width));
    for (int i = last + 1; i < kPartsPerLine; ++i)
        line[size_t(i)].width = 0;
}

QString cutToWidth(const QString &text, double room, const std::function<double(const QString &)> &measure)
{
    QString cut = text;
    while (!cut.isEmpty() && measure(cut) > room)
        cut.chop(1);
    return cut;
}

QList<PartBox> partBoxes(const TLineRec &line, int lineWidth, double left, double right, const QStringList &captions,
                         bool totalsLine)
{
    QList<PartBox> boxes;
    const int used = usedPartCount(line);
    const double scale = lineWidth > 0 ? (right - left) / lineWidth : 0;
    double edge = left;
    int sum = 0;
    for (int i = 0; i < used; ++i) {
        const TPartRec &part = line[size_t(i)];
        sum += part.width;
        PartBox box;
        box.part = i + 1;
        box.left = edge;
        box.right = i == used - 1 ? right : std::min(right, left + sum * scale);
        if (part.isFiller()) {
            box.look = PartLook::Filler;
            box.text = QString::fromLatin1(kFillerText);
        } else if (part.isLabel()) {
            box.look = PartLook::Label;
            box.text = part.labelText;
        } else {
            box.look = PartLook::Field;
            box.text = partCaption(part, captions, totalsLine);
        }
        edge = box.right;
        boxes << box;
    }
    return boxes;
}

LayoutArea layoutArea(int lineCount, bool useTotals, double factor)
{
    LayoutArea area;
    area.left = kAreaLeft * factor;
    area.right = kAreaRight * factor;
    for (int n = 1; n <= std::clamp(lineCount, 0, kMaxBodyLines); ++n)
        area.strips << LayoutStrip{n, (kFirstLineTop + kLineHeight * (n - 1)) * factor,
                                   (kFirstLineTop + kLineHeight * n) * factor};
    if (useTotals)
        area.strips << LayoutStrip{kTotalsLineNumber, kTotalsTop * factor, (kTotalsTop + kLineHeight) * factor};
    return area;
}

std::optional<PartRef> partAt(const TReportDefRec &def, const LayoutArea &area, double x, double y)
{
    for (const LayoutStrip &strip : area.strips) {
        if (y < strip.top || y >= strip.bottom)
            continue;
        const QList<PartBox> boxes = partBoxes(lineOf(def, strip.line), def.lineWidth, area.left, area.right, {},
                                               strip.line == kTotalsLineNumber);
        for (const PartBox &box : boxes) {
            if (x >= box.left && x < box.right)
                return PartRef{strip.line, box.part};
        }
        return std::nullopt;
    }
    return std::nullopt;
}

const TLineRec &lineOf(const TReportDefRec &def, int line)
{
    return line == kTotalsLineNumber ? def.totalsLine : def.bodyLines[size_t(line - 1)];
}

TLineRec &lineOf(TReportDefRec &def, int line)
{
    return line == kTotalsLineNumber ? def.totalsLine : def.bodyLines[size_t(line - 1)];
}

} // namespace kv
