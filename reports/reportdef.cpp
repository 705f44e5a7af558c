#include "reportdef.h"

#include "recordbytes.h"
#include "store/fieldtable.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace kv {

namespace {
constexpr const char *kTotalsEntries[kTotalsEntryCount] = {"Quantity", "List Price", "Purchase Price"};

// Where the reserved tail starts; nothing past it is read.
constexpr int kReservedOffset = 20124;

constexpr double kDefaultMargin = 0.5;
constexpr qint16 kNewLineFillerWidth = 150;

void writeFont(recordbytes::Writer &w, const TFontRec &font)
{
    w.string(font.name, kFontNameLength);
    w.int16(font.size);
    w.flag(font.bold);
    w.flag(font.italic);
    w.flag(font.underline);
    w.flag(font.strikeout);
    w.uint32(font.color);
}

TFontRec readFont(recordbytes::Reader &r)
{
    TFontRec font;
    font.name = r.string(kFontNameLength);
    font.size = r.int16();
    font.bold = r.flag();
    font.italic = r.flag();
    font.underline = r.flag();
    font.strikeout = r.flag();
    font.color = r.uint32();
    return font;
}

void writePart(recordbytes::Writer &w, const TPartRec &part)
{
    w.string(part.kind, kPartKindLength);
    w.byte(part.fieldNumber);
    w.int16(part.width);
    w.string(part.labelText, kLabelTextLength);
}

TPartRec readPart(recordbytes::Reader &r)
{
    TPartRec part;
    part.kind = r.string(kPartKindLength);
    part.fieldNumber = r.byte();
    part.width = r.int16();
    part.labelText = r.string(kLabelTextLength);
    return part;
}

void writeLine(recordbytes::Writer &w, const TLineRec &line)
{
    for (const TPartRec &part : line)
        writePart(w, part);
}

TLineRec readLine(recordbytes::Reader &r)
{
    TLineRec line;
    for (TPartRec &part : line)
        part = readPart(r);
    return line;
}

TFontRec courierNew(bool bold)
{
    TFontRec font;
    font.name = QStringLiteral("Courier New");
    font.size = 10;
    font.bold = bold;
    return font;
}
} // namespace

QString totalsEntryName(int number)
{
    Q_ASSERT(number >= 1 && number <= kTotalsEntryCount);
    return QString::fromLatin1(kTotalsEntries[number - 1]);
}

int totalsEntryNumber(const QString &name)
{
    for (int i = 0; i < kTotalsEntryCount; ++i) {
        if (name.compare(QLatin1String(kTotalsEntries[i]), Qt::CaseInsensitive) == 0)
            return i + 1;
    }
    return 0;
}

QColor colorFromRgbValue(quint32 value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

quint32 rgbValueFromColor(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return quint32(rgb.red()) | quint32(rgb.green()) << 8 | quint32(rgb.blue()) << 16;
}

TLineRec newLine()
{
    TLineRec line;
    for (TPartRec &part : line)
        part.kind = QLatin1String(kFillerKind);
    line[0].width = kNewLineFillerWidth;
    return line;
}

TReportDefRec newReportDef()
{
    TReportDefRec def;
    def.lineWidth = 90;
    def.titleFont = courierNew(true);
    def.columnHeaderFont = courierNew(true);
    def.bodyFont = courierNew(false);
    def.fifthFont = courierNew(false);
    def.footnoteFont = courierNew(true);
    def.columnHeaders = true;
    def.pageNumbers = true;
    def.dateOnPages = true;
    def.useTotals = true;
    def.landscape = false;
    def.lineCount = 1;
    def.topMargin = def.bottomMargin = def.leftMargin = def.rightMargin = kDefaultMargin;
    def.verticalLines = true;
    def.horizontalLines = true;
    def.groupLevel1 = true;
    def.groupLevel2 = false;
    def.totalsLine = newLine();
    def.bodyLines.fill(newLine());
    return def;
}

QByteArray reportDefToBytes(const TReportDefRec &def)
{
    recordbytes::Writer w(kReportDefSize);
    w.string(def.name, kReportNameLength);
    w.int16(def.lineWidth);
    for (const TFontRec *font :
         {&def.titleFont, &def.columnHeaderFont, &def.bodyFont, &def.fifthFont, &def.footnoteFont})
        writeFont(w, *font);
    w.flag(def.columnHeaders);
    w.flag(def.pageNumbers);
    w.flag(def.landscape);
    w.flag(def.dateOnPages);
    w.flag(def.useTotals);
    w.int16(def.lineCount);
    writeLine(w, def.totalsLine);
    w.real(def.topMargin);
    w.real(def.bottomMargin);
    w.real(def.leftMargin);
    w.real(def.rightMargin);
    w.flag(def.verticalLines);
    w.flag(def.horizontalLines);
    for (const QString &title : def.titles)
        w.string(title, kTitleLength);
    for (const TLineRec &line : def.bodyLines)
        writeLine(w, line);
    w.flag(def.groupLevel1);
    w.flag(def.groupLevel2);
    Q_ASSERT(w.pos() == kReservedOffset);
    return w.bytes();
}

TReportDefRec reportDefFromBytes(const QByteArray &bytes)
{
    Q_ASSERT(bytes.size() >= kReportDefSize);
    recordbytes::Reader r(bytes.constData());
    TReportDefRec def;
    def.name = r.string(kReportNameLength);
    def.lineWidth = r.int16();
    for (TFontRec *font : {&def.titleFont, &def.columnHeaderFont, &def.bodyFont, &def.fifthFont, &def.footnoteFont})
        *font = readFont(r);
    def.columnHeaders = r.flag();
    def.pageNumbers = r.flag();
    def.landscape = r.flag();
    def.dateOnPages = r.flag();
    def.useTotals = r.flag();
    def.lineCount = r.int16();
    def.totalsLine = readLine(r);
    def.topMargin = r.real();
    def.bottomMargin = r.real();
    def.leftMargin = r.real();
    def.rightMargin = r.real();
    def.verticalLines = r.flag();
    def.horizontalLines = r.flag();
    for (QString &title : def.titles)
        title = r.string(kTitleLength);
    for (TLineRec &line : def.bodyLines)
        line = readLine(r);
    def.groupLevel1 = r.flag();
    def.groupLevel2 = r.flag();
    Q_ASSERT(r.pos() == kReservedOffset);
    return def;
}

namespace {
constexpr int kFontOffsets[] = {33, 94, 155, 277}; // title, column header, body, footnote
constexpr int kTitleOffset = 1879, kBodyOffset = 2122, kTotalsOffset = 345, kLineSize = kPartSize * kPartsPerLine;

bool overlong(const QByteArray &bytes, int offset, int maxLength) { return quint8(bytes[offset]) > maxLength; }

QString lineDamage(const QByteArray &bytes, int lineOffset, const TLineRec &line, int maxField)
{
    for (int i = 0; i < kPartsPerLine; ++i) {
        const TPartRec &part = line[size_t(i)];
        if (part.width <= 0)
            break;
        const int at = lineOffset + i * kPartSize;
        const QString where = QStringLiteral("part %1 ").arg(i + 1);
        if (part.width > kMaxLineWidth)
            return where + QStringLiteral("width %1").arg(part.width);
        if (overlong(bytes, at, kPartKindLength))
            return where + QStringLiteral("kind");
        if (part.isLabel() && overlong(bytes, at + 34, kLabelTextLength))
            return where + QStringLiteral("label text");
        if (!part.isFiller() && !part.isLabel() && part.fieldNumber > maxField)
            return where + QStringLiteral("field number %1").arg(part.fieldNumber);
    }
    return QString();
}
} // namespace

QString reportDefDamage(const QByteArray &bytes)
{
    if (bytes.size() < kReportDefSize)
        return QStringLiteral("record cut short");
    const TReportDefRec def = reportDefFromBytes(bytes);
    if (overlong(bytes, 0, kReportNameLength))
        return QStringLiteral("name");
    if (std::find(std::begin(kLineWidths), std::end(kLineWidths), def.lineWidth) == std::end(kLineWidths))
        return QStringLiteral("line width %1").arg(def.lineWidth);
    const std::pair<const TFontRec *, const char *> fonts[] = {
        {&def.titleFont, "title"}, {&def.columnHeaderFont, "column header"}, {&def.bodyFont, "body"},
        {&def.footnoteFont, "footnote"}};
    for (size_t i = 0; i < std::size(fonts); ++i) {
        const TFontRec &font = *fonts[i].first;
        const QString which = QLatin1String(fonts[i].second);
        if (overlong(bytes, kFontOffsets[i], kFontNameLength))
            return which + QStringLiteral(" font name");
        if (font.size < kMinFontSize || font.size > kMaxFontSize)
            return which + QStringLiteral(" font size %1").arg(font.size);
        if (font.color > 0xFFFFFF)
            return which + QStringLiteral(" font colour");
    }
    if (def.lineCount < 0 || def.lineCount > kMaxBodyLines)
        return QStringLiteral("line count %1").arg(def.lineCount);
    const std::pair<double, const char *> margins[] = {
        {def.topMargin, "top"}, {def.bottomMargin, "bottom"}, {def.leftMargin, "left"}, {def.rightMargin, "right"}};
    for (const auto &[inches, which] : margins) {
        if (!std::isfinite(inches) || inches < 0 || inches > kMaxMargin)
            return QLatin1String(which) + QStringLiteral(" margin %1").arg(inches);
    }
    for (int t = 0; t < 3; ++t) {
        if (overlong(bytes, kTitleOffset + t * (kTitleLength + 1), kTitleLength))
            return QStringLiteral("title %1").arg(t + 1);
    }
    // Every body line, as the editors can bring any of them into use.
    for (int n = 0; n < kMaxBodyLines; ++n) {
        const QString damage = lineDamage(bytes, kBodyOffset + n * kLineSize, def.bodyLines[size_t(n)], kFieldCount);
        if (!damage.isEmpty())
            return QStringLiteral("line %1, ").arg(n + 1) + damage;
    }
    const QString damage = lineDamage(bytes, kTotalsOffset, def.totalsLine, kTotalsEntryCount);
    if (!damage.isEmpty())
        return QStringLiteral("totals line, ") + damage;
    return QString();
}

QString damagedReportMessage(const QString &name, const QString &damage)
{
    return QStringLiteral("The report definition \"%1\" in %2 is damaged (%3) and cannot be used.")
        .arg(name, QLatin1String("QVRVID.URP"), damage);
}

TPartRec partFromBytes(const char *data)
{
    recordbytes::Reader r(data);
    return readPart(r);
}

} // namespace kv
