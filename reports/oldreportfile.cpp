#include "oldreportfile.h"

#include "recordbytes.h"
#include "store/fieldtable.h"

#include <QFile>

namespace kv {

namespace {
// The old built-in reports.
constexpr const char *kSkippedNames[] = {"Title and Media Number Report", "Ratings Report", "Star Report",
                                         "Oscar Report", "Complete Report", "Statistic/Summary Report"};

// Where the old record keeps what carries over.
constexpr int kOldWidthOffset = 31;
constexpr int kOldFlagsOffset = 83; // column headers, page numbers, use totals
constexpr int kOldLineCountOffset = 86;
constexpr int kOldTitleOffsets[] = {1588, 1669, 1750};

// Part m (1-based) of the totals line and of body line n (1-based).
constexpr int oldTotalsPartOffset(int m) { return 75 * m + 13; }
constexpr int oldBodyPartOffset(int n, int m) { return 1500 * n + 75 * m + 256; }

bool isSkipped(const QString &name)
{
    for (const char *skipped : kSkippedNames) {
        if (name == QLatin1String(skipped))
            return true;
    }
    return false;
}

// The old part's own field number is not carried over: the number comes from the name.
TPartRec oldPart(const QByteArray &old, int offset, int (*numberOf)(const QString &))
{
    TPartRec part = partFromBytes(old.constData() + offset);
    part.fieldNumber = part.isFiller() || part.isLabel() ? 0 : quint8(numberOf(part.kind));
    return part;
}
} // namespace

std::optional<TReportDefRec> convertOldReportDef(const QByteArray &old)
{
    Q_ASSERT(old.size() >= kOldReportDefSize);
    recordbytes::Reader r(old.constData());
    const QString name = r.string(kReportNameLength);
    if (isSkipped(name))
        return std::nullopt;

    TReportDefRec def = newReportDef();
    def.name = name;
    r.seek(kOldWidthOffset);
    def.lineWidth = r.int16();
    r.seek(kOldFlagsOffset);
    def.columnHeaders = r.flag();
    def.pageNumbers = r.flag();
    def.useTotals = r.flag();
    r.seek(kOldLineCountOffset);
    def.lineCount = r.int16();
    for (int i = 0; i < 3; ++i) {
        r.seek(kOldTitleOffsets[i]);
        def.titles[i] = r.string(kTitleLength);
    }
    for (int m = 1; m <= kPartsPerLine; ++m) {
        def.totalsLine[m - 1] = oldPart(old, oldTotalsPartOffset(m), &totalsEntryNumber);
        for (int n = 1; n <= kMaxBodyLines; ++n)
            def.bodyLines[n - 1][m - 1] = oldPart(old, oldBodyPartOffset(n, m), &fieldNumber);
    }

    // Fixed for every converted definition; the rest are the values of a new one.
    def.landscape = false;
    def.dateOnPages = true;
    def.verticalLines = def.horizontalLines = false;
    const qint16 fontSize = def.lineWidth == 90 ? 10 : 8;
    for (TFontRec *font : {&def.titleFont, &def.columnHeaderFont, &def.bodyFont, &def.fifthFont, &def.footnoteFont})
        font->size = fontSize;
    return def;
}

bool convertOldReportFile(const QString &oldPath, ReportFile &target, QString *error)
{
    QFile old(oldPath);
    if (!old.open(QIODevice::ReadOnly))
        return true;
    QList<TReportDefRec> converted;
    for (;;) {
        const QByteArray record = old.read(kOldReportDefSize);
        if (record.size() != kOldReportDefSize)
            break;
        if (std::optional<TReportDefRec> def = convertOldReportDef(record))
            converted.append(*def);
    }
    old.close();
    if (!converted.isEmpty() && !target.append(converted)) {
        if (error)
            *error = target.errorString();
        return false;
    }
    old.remove();
    return true;
}

} // namespace kv
