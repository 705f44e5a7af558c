// The definition record: what goes where, what reading tolerates, and the values of a
// new definition.
#include "rawrecord.h"
#include "reports/reportdef.h"

#include <gtest/gtest.h>

using namespace rawrec;

namespace {

// A definition in which every field differs from its neighbours and from the defaults.
kv::TReportDefRec distinctDef()
{
    kv::TReportDefRec def = kv::newReportDef();
    def.name = QString::fromUtf8("Café €");
    def.lineWidth = 150;
    kv::TFontRec *fonts[] = {&def.titleFont, &def.columnHeaderFont, &def.bodyFont, &def.fifthFont,
                             &def.footnoteFont};
    for (int k = 0; k < 5; ++k) {
        fonts[k]->name = QStringLiteral("Face %1").arg(k);
        fonts[k]->size = qint16(11 + k);
        fonts[k]->bold = k == 0;
        fonts[k]->italic = k == 1;
        fonts[k]->underline = k == 2;
        fonts[k]->strikeout = k == 3;
        fonts[k]->color = 0x00102030u + quint32(k);
    }
    def.columnHeaders = false;
    def.pageNumbers = true;
    def.landscape = true;
    def.dateOnPages = false;
    def.useTotals = true;
    def.lineCount = 7;
    def.totalsLine[4] = {QStringLiteral("Purchase Price"), 3, 17, QString()};
    def.topMargin = 0.25;
    def.bottomMargin = 1.75;
    def.leftMargin = -2.5;
    def.rightMargin = 1e-3;
    def.verticalLines = true;
    def.horizontalLines = false;
    def.titles = {QStringLiteral("First"), QString(), QStringLiteral("Third")};
    def.bodyLines[0][0] = {QStringLiteral("MediaNum"), 19, 12, QString()};
    def.bodyLines[6][12] = {QStringLiteral("<LABEL>"), 0, -3, QString::fromUtf8("Prix: €")};
    def.bodyLines[11][19] = {QStringLiteral("UserDef2"), 40, 32767, QString()};
    def.groupLevel1 = false;
    def.groupLevel2 = true;
    return def;
}

} // namespace

TEST(ReportDef, RecordIsExactlyItsSize)
{
    EXPECT_EQ(kv::reportDefToBytes(kv::newReportDef()).size(), kRecordSize);
    EXPECT_EQ(kv::reportDefToBytes(distinctDef()).size(), kRecordSize);
}

TEST(ReportDef, EveryFieldIsWrittenAtItsOffset)
{
    const QByteArray rec = kv::reportDefToBytes(distinctDef());
    EXPECT_EQ(str(rec, kName, 30), QByteArray("Caf\xE9 \x80"));
    EXPECT_EQ(i16(rec, kLineWidth), 150);
    for (int k = 0; k < 5; ++k) {
        const QByteArray name = "Face " + QByteArray::number(k);
        expectFont(rec, k, {name.constData(), 11 + k, k == 0, k == 1, k == 2, k == 3, 0x00102030u + quint32(k)},
                   "distinct");
    }
    EXPECT_EQ(rec.mid(kColumnHeaders, 5), QByteArray::fromHex("0001010001"));
    EXPECT_EQ(i16(rec, kLineCount), 7);
    expectPart(rec, 0, 5, {"Purchase Price", 3, 17, ""}, "totals");
    EXPECT_EQ(f64(rec, kTopMargin), 0.25);
    EXPECT_EQ(f64(rec, kBottomMargin), 1.75);
    EXPECT_EQ(f64(rec, kLeftMargin), -2.5);
    EXPECT_EQ(f64(rec, kRightMargin), 1e-3);
    EXPECT_EQ(rec.mid(kTopMargin, 8), QByteArray::fromHex("000000000000d03f"));
    EXPECT_EQ(u8(rec, kVerticalLines), 1);
    EXPECT_EQ(u8(rec, kHorizontalLines), 0);
    EXPECT_EQ(str(rec, kTitles, 80), QByteArray("First"));
    EXPECT_EQ(u8(rec, kTitles + kTitleSize), 0);
    EXPECT_EQ(str(rec, kTitles + 2 * kTitleSize, 80), QByteArray("Third"));
    expectPart(rec, 1, 1, {"MediaNum", 19, 12, ""}, "body");
    expectPart(rec, 7, 13, {"<LABEL>", 0, -3, "Prix: \x80"}, "body");
    expectPart(rec, 12, 20, {"UserDef2", 40, 32767, ""}, "body");
    EXPECT_EQ(u8(rec, kGroupLevel1), 0);
    EXPECT_EQ(u8(rec, kGroupLevel2), 1);
    EXPECT_EQ(rec.mid(kReserved), QByteArray(kRecordSize - kReserved, '\0'));
}

TEST(ReportDef, ReadsBackWhatItWrites)
{
    const kv::TReportDefRec def = distinctDef();
    EXPECT_EQ(kv::reportDefFromBytes(kv::reportDefToBytes(def)), def);
}

TEST(ReportDef, ReadingIgnoresBytesPastStringLengthsAndTakesAnyNonZeroFlagAsTrue)
{
    const kv::TReportDefRec def = distinctDef();
    QByteArray rec = kv::reportDefToBytes(def);
    // Junk after the stored length of every string of the name, a font, a part and a title.
    auto junkAfter = [&](int offset, int maxLength) {
        for (int i = 1 + u8(rec, offset); i <= maxLength; ++i)
            rec[offset + i] = char(0xA5);
    };
    junkAfter(kName, 30);
    junkAfter(fontOffset(3), 50);
    junkAfter(partOffset(7, 13), 30);
    junkAfter(partOffset(7, 13) + 34, 40);
    junkAfter(kTitles + kTitleSize, 80);
    // Junk in the reserved tail.
    rec[kReserved] = 'z';
    rec[kRecordSize - 1] = 'z';
    // Flags that are true but not 1.
    rec[kPageNumbers] = char(2);
    rec[kLandscape] = char(0xFF);
    rec[fontOffset(1) + 54] = char(0x80);
    rec[kGroupLevel2] = char(7);
    EXPECT_EQ(kv::reportDefFromBytes(rec), def);
}

TEST(ReportDef, LengthBeyondTheFieldReadsAsTheWholeField)
{
    QByteArray rec = kv::reportDefToBytes(kv::newReportDef());
    rec[kName] = char(200);
    for (int i = 1; i <= 30; ++i)
        rec[kName + i] = 'N';
    EXPECT_EQ(kv::reportDefFromBytes(rec).name, QString(30, QLatin1Char('N')));
}

TEST(ReportDef, TextIsCutToItsFieldAndWrittenInCodePage1252)
{
    kv::TReportDefRec def = kv::newReportDef();
    def.name = QString(35, QLatin1Char('a'));
    def.titles[0] = QString(81, QLatin1Char('t'));
    def.titleFont.name = QString(60, QLatin1Char('f'));
    def.bodyLines[0][0] = {QStringLiteral("<LABEL>"), 0, 10, QString::fromUtf8("Été ☃") + QString(50, 'x')};
    const QByteArray rec = kv::reportDefToBytes(def);
    EXPECT_EQ(str(rec, kName, 30), QByteArray(30, 'a'));
    EXPECT_EQ(i16(rec, kLineWidth), 90); // nothing spilled past the name
    EXPECT_EQ(str(rec, kTitles, 80), QByteArray(80, 't'));
    EXPECT_EQ(u8(rec, kTitles + kTitleSize), 0);
    EXPECT_EQ(str(rec, fontOffset(0), 50), QByteArray(50, 'f'));
    EXPECT_EQ(i16(rec, fontOffset(0) + 51), 10);
    EXPECT_EQ(str(rec, partOffset(1, 1) + 34, 40), QByteArray("\xC9t\xE9 ?") + QByteArray(35, 'x'));
    EXPECT_EQ(i16(rec, partOffset(1, 2) + 32), 0);
}

TEST(ReportDef, NewDefinitionValues)
{
    const QByteArray rec = kv::reportDefToBytes(kv::newReportDef());
    EXPECT_EQ(u8(rec, kName), 0);
    EXPECT_EQ(i16(rec, kLineWidth), 90);
    // Title, column header and footnote bold; body and the fifth block plain.
    const bool bold[5] = {true, true, false, false, true};
    for (int k = 0; k < 5; ++k)
        expectFont(rec, k, {"Courier New", 10, bold[k], false, false, false, 0}, "new");
    // Column headers, page numbers, landscape, date on pages, use totals.
    EXPECT_EQ(rec.mid(kColumnHeaders, 5), QByteArray::fromHex("0101000101"));
    EXPECT_EQ(i16(rec, kLineCount), 1);
    for (int at : {kTopMargin, kBottomMargin, kLeftMargin, kRightMargin})
        EXPECT_EQ(f64(rec, at), 0.5);
    EXPECT_EQ(u8(rec, kVerticalLines), 1);
    EXPECT_EQ(u8(rec, kHorizontalLines), 1);
    for (int t = 0; t < 3; ++t)
        EXPECT_EQ(u8(rec, kTitles + t * kTitleSize), 0);
    for (int n = 0; n <= 12; ++n)
        expectLine(rec, n, {}, "new");
    EXPECT_EQ(u8(rec, kGroupLevel1), 1);
    EXPECT_EQ(u8(rec, kGroupLevel2), 0);
}

TEST(ReportDef, ColourValueHasRedLowAndBlueHigh)
{
    EXPECT_EQ(kv::colorFromRgbValue(0x00FF8040u), QColor(0x40, 0x80, 0xFF));
    EXPECT_EQ(kv::rgbValueFromColor(QColor(0x40, 0x80, 0xFF)), 0x00FF8040u);
    EXPECT_EQ(kv::rgbValueFromColor(Qt::black), 0u);
}

TEST(ReportDef, TotalsEntries)
{
    EXPECT_EQ(kv::totalsEntryName(1), QStringLiteral("Quantity"));
    EXPECT_EQ(kv::totalsEntryName(3), QStringLiteral("Purchase Price"));
    EXPECT_EQ(kv::totalsEntryNumber(QStringLiteral("list price")), 2);
    EXPECT_EQ(kv::totalsEntryNumber(QStringLiteral("ListPrice")), 0);
}
