// The built-in reports, checked byte by byte at the record's offsets.
#include "rawrecord.h"
#include "reports/reportfile.h"
#include "support/testenv.h"

#include "base/paths.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace rawrec;

namespace {

struct Expected {
    const char *name;
    int width;
    bool headersAndRules;
    bool groupLevel1;
    std::vector<std::vector<Part>> lines;
};

// Field numbers are the places of the fields in the catalogue's field table.
const std::vector<Part> kMediaTitleYear16 = {label("Media Number:", 16), filler(1), field("MediaNum", 19, 10),
                                             label("Title:", 10), filler(1), field("Title", 1, 60),
                                             label("Year:", 8), filler(1), field("Year", 11, 4)};
const std::vector<Part> kMediaTitleYear13 = {label("Media Number:", 13), filler(1), field("MediaNum", 19, 10),
                                             label("Title:", 10), filler(1), field("Title", 1, 60),
                                             label("Year:", 8), filler(1), field("Year", 11, 4)};
const std::vector<Part> kStars = {label("Stars:", 6), filler(1), field("Star1", 2, 25), filler(4),
                                  field("Star2", 3, 25), filler(4), field("Star3", 4, 25), filler(4),
                                  field("Star4", 5, 25)};
const std::vector<Part> kOscarNom = {label("Oscar Nom:", 10), filler(1), field("OscarNom", 29, 109)};
const std::vector<Part> kOscarAward = {label("Oscar Award:", 12), filler(1), field("OscarAward", 30, 107)};
const std::vector<Part> kBlank = {filler(150)};

const std::vector<Expected> kBuiltIns = {
    // Built-in lines are not re-fitted: this one adds up to 80 of 90, Large Report's line 3 to 130 of 120.
    {"Title and Media Number Report", 90, true, false,
     {{field("MediaNum", 19, 12), field("Title", 1, 64), field("Year", 11, 4)}}},
    {"Ratings Report", 90, true, true,
     {{field("Title", 1, 60), field("Rating", 13, 15), field("PersonalRa", 18, 15)}}},
    {"Star Report", 120, false, true, {kMediaTitleYear16, kStars, kBlank}},
    {"Oscar Report", 120, false, true, {kMediaTitleYear13, kOscarNom, kOscarAward, kBlank}},
    {"Large Report",
     120,
     false,
     true,
     {kMediaTitleYear13,
      kStars,
      {label("Producer:", 9), filler(1), field("Producer", 8, 28), label("Director:", 11), filler(1),
       field("Director", 9, 28), label("Released By:", 14), filler(1), field("ReleasedBy", 10, 37)},
      {label("Category:", 9), filler(1), field("Category", 14, 20), label("Rating:", 9), filler(1),
       field("Rating", 13, 15), label("Personal Rating:", 18), filler(1), field("PersonalRa", 18, 15),
       label("Content:", 10), filler(1), field("Content", 24, 10)},
      {label("Play Time:", 10), filler(1), field("RunTime", 12, 3), label("Picture:", 10), filler(1),
       field("Picture", 15, 5), label("Sound:", 8), filler(1), field("Sound", 16, 6), label("Format:", 9),
       filler(1), field("Format", 17, 10), label("Record Speed:", 16), filler(1), field("RecSpeed", 20, 3),
       label("Laser Format:", 15), filler(1), field("LaserForma", 27, 12)},
      {label("Counter Start:", 14), filler(1), field("CounterSta", 21, 10), label("Counter Stop:", 15), filler(1),
       field("CounterSto", 22, 10), label("List Price:", 13), filler(1), field("ListPrice", 28, 20)},
      {label("Key Words:", 10), filler(1), field("KeyWords", 26, 80)},
      {label("Miscellaneous:", 14), filler(1), field("Miscellane", 25, 80)},
      {label("Summary:", 8), filler(1), field("Descriptio", 23, 110)},
      kOscarNom,
      kOscarAward,
      kBlank}},
    {"Statistic/Summary Report", 90, false, true, {}},
};

// The tenth to twelfth places unused, the thirteenth a filler the layout editor draws; totals name their entry by number.
const std::vector<Part> kTotals = {label("Quantity:", 14),       filler(1), field("Quantity", 1, 12),
                                   label("List Price:", 14),     filler(1), field("List Price", 2, 12),
                                   label("Purchase Price:", 18), filler(1), field("Purchase Price", 3, 12),
                                   filler(0),                    filler(0), filler(0),
                                   filler(60)};

const QByteArray kHalf = QByteArray::fromHex("000000000000e03f"); // 0.5 as a little-endian IEEE double

QString urpPath() { return kv::programDir() + QStringLiteral("/QVRVID.URP"); }

void expectBuiltIn(const QByteArray &rec, const Expected &e)
{
    const std::string where = e.name;
    SCOPED_TRACE(where);
    EXPECT_EQ(str(rec, kName, 30), QByteArray(e.name));
    EXPECT_EQ(i16(rec, kLineWidth), e.width);
    for (int k = 0; k < 5; ++k)
        expectFont(rec, k, {"Arial", 8, false, false, false, false, 0}, where);
    EXPECT_EQ(u8(rec, kColumnHeaders), e.headersAndRules ? 1 : 0);
    EXPECT_EQ(u8(rec, kPageNumbers), 1);
    EXPECT_EQ(u8(rec, kLandscape), 0);
    EXPECT_EQ(u8(rec, kDateOnPages), 1);
    EXPECT_EQ(u8(rec, kUseTotals), 1);
    EXPECT_EQ(i16(rec, kLineCount), int(e.lines.size()));
    expectLine(rec, 0, kTotals, where + " totals");
    for (int at : {kTopMargin, kBottomMargin, kLeftMargin, kRightMargin})
        EXPECT_EQ(rec.mid(at, 8), kHalf) << "margin at " << at;
    EXPECT_EQ(u8(rec, kVerticalLines), e.headersAndRules ? 1 : 0);
    EXPECT_EQ(u8(rec, kHorizontalLines), e.headersAndRules ? 1 : 0);
    for (int t = 0; t < 3; ++t)
        EXPECT_EQ(u8(rec, kTitles + t * kTitleSize), 0) << "title " << t + 1;
    for (int n = 1; n <= 12; ++n) {
        static const std::vector<Part> none;
        expectLine(rec, n, n <= int(e.lines.size()) ? e.lines[size_t(n - 1)] : none, where);
    }
    EXPECT_EQ(u8(rec, kGroupLevel1), e.groupLevel1 ? 1 : 0);
    EXPECT_EQ(u8(rec, kGroupLevel2), 0);
    EXPECT_EQ(rec.mid(kReserved), QByteArray(kRecordSize - kReserved, '\0'));
}

} // namespace

TEST(BuiltInReports, FreshProgramFolderGetsTheSixReportsByteForByte)
{
    ASSERT_FALSE(QFile::exists(urpPath()));
    QString error;
    ASSERT_TRUE(kv::prepareReportFile(kv::programDir(), &error)) << error.toStdString();
    const QByteArray file = kvtest::readFile(urpPath());
    ASSERT_EQ(file.size(), 6 * kRecordSize);
    for (size_t i = 0; i < kBuiltIns.size(); ++i)
        expectBuiltIn(record(file, int(i)), kBuiltIns[i]);
}

TEST(BuiltInReports, AnExistingFileIsNotRewritten)
{
    // Deleting every report leaves an empty file, which must stay empty at the next start.
    for (const QByteArray &contents : {QByteArray(), QByteArray(kRecordSize, 'x')}) {
        kvtest::writeFile(urpPath(), contents);
        ASSERT_TRUE(kv::prepareReportFile(kv::programDir()));
        EXPECT_EQ(kvtest::readFile(urpPath()), contents);
    }
}
