// Conversion of the previous version's VIDEO2.CFR. The fixture is written by
// tests/fixtures/reports/make_video2_cfr.py, which documents its records.
#include "rawrecord.h"
#include "reports/oldreportfile.h"
#include "reports/reportfile.h"
#include "support/testenv.h"

#include "base/paths.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace rawrec;

namespace {

const QStringList kBuiltInNames = {"Title and Media Number Report", "Ratings Report", "Star Report",
                                   "Oscar Report", "Large Report", "Statistic/Summary Report"};

QString inProgramDir(const char *name) { return kv::programDir() + QLatin1Char('/') + QLatin1String(name); }
QString urpPath() { return inProgramDir("QVRVID.URP"); }

void installOldFile(const char *as = "VIDEO2.CFR")
{
    ASSERT_TRUE(QFile::copy(kvtest::fixture(QStringLiteral("reports/VIDEO2.CFR")), inProgramDir(as)));
}

// Converted lines hold the old parts as they were; fillers and labels get field number 0.
Part part(const char *kind, int number, int width, const QByteArray &label = QByteArray())
{
    return {kind, number, width, label};
}

void expectOldLine(const QByteArray &rec, int n, const std::vector<Part> &listed, const std::string &where)
{
    for (int m = 1; m <= 20; ++m)
        expectPart(rec, n, m, m <= int(listed.size()) ? listed[size_t(m - 1)] : part("<FILLER>", 0, 0), where);
}

// What every converted definition holds whatever the old record said.
void expectFixedValues(const QByteArray &rec, int fontSize, const std::string &where)
{
    const bool bold[5] = {true, true, false, false, true};
    for (int k = 0; k < 5; ++k)
        expectFont(rec, k, {"Courier New", fontSize, bold[k], false, false, false, 0}, where);
    EXPECT_EQ(u8(rec, kLandscape), 0);
    EXPECT_EQ(u8(rec, kDateOnPages), 1);
    for (int at : {kTopMargin, kBottomMargin, kLeftMargin, kRightMargin})
        EXPECT_EQ(f64(rec, at), 0.5);
    EXPECT_EQ(u8(rec, kVerticalLines), 0);
    EXPECT_EQ(u8(rec, kHorizontalLines), 0);
    EXPECT_EQ(u8(rec, kGroupLevel1), 1);
    EXPECT_EQ(u8(rec, kGroupLevel2), 0);
    EXPECT_EQ(rec.mid(kReserved), QByteArray(kRecordSize - kReserved, '\0'));
}

QByteArray oldRecordNamed(const QString &name)
{
    QByteArray old(kv::kOldReportDefSize, '\0');
    const QByteArray raw = name.toLatin1();
    old[0] = char(raw.size());
    old.replace(1, raw.size(), raw);
    return old;
}

} // namespace

TEST(OldReportFile, ConvertsAfterTheBuiltInsSkippingOldBuiltInsAndDeletesTheOldFile)
{
    installOldFile();
    QString error;
    ASSERT_TRUE(kv::prepareReportFile(kv::programDir(), &error)) << error.toStdString();
    EXPECT_FALSE(QFile::exists(inProgramDir("VIDEO2.CFR")));

    const QByteArray file = kvtest::readFile(urpPath());
    ASSERT_EQ(file.size(), 8 * kRecordSize);
    EXPECT_EQ(kv::ReportFile(urpPath()).names(), kBuiltInNames + QStringList({"Cast List", "Wide Listing"}));

    const QByteArray cast = record(file, 6);
    EXPECT_EQ(str(cast, kName, 30), QByteArray("Cast List"));
    EXPECT_EQ(i16(cast, kLineWidth), 120);
    expectFixedValues(cast, 8, "Cast List");
    EXPECT_EQ(u8(cast, kColumnHeaders), 1);
    EXPECT_EQ(u8(cast, kPageNumbers), 0);
    EXPECT_EQ(u8(cast, kUseTotals), 1); // stored as 2 in the old file
    EXPECT_EQ(i16(cast, kLineCount), 2);
    EXPECT_EQ(str(cast, kTitles, 80), QByteArray("My Videos"));
    EXPECT_EQ(str(cast, kTitles + kTitleSize, 80), QByteArray());
    EXPECT_EQ(str(cast, kTitles + 2 * kTitleSize, 80), QByteArray("Caf\xE9 \x80"));
    // Totals parts take the number of their entry in the totals list, in any letter case.
    expectOldLine(cast, 0,
                  {part("<LABEL>", 0, 6, "Count:"), part("Quantity", 1, 10), part("list price", 2, 12),
                   part("Purchase Price", 3, 12), part("Average", 0, 12)},
                  "Cast List totals");
    // Body field parts take their name's place in the field table, not the old byte; a
    // name the table does not know gets 0.
    expectOldLine(cast, 1,
                  {part("<LABEL>", 0, 6, "Title:"), part("Title", 1, 60), part("<FILLER>", 0, 1),
                   part("Star1", 2, 25)},
                  "Cast List");
    expectOldLine(cast, 2, {part("mediaNUM", 19, 10), part("Narrator", 0, 20), part("Writers", 38, 60)},
                  "Cast List");
    for (int n = 3; n <= 11; ++n)
        expectOldLine(cast, n, {}, "Cast List");
    std::vector<Part> last(19, part("<FILLER>", 0, 0));
    last.push_back(part("UserDef2", 40, 7));
    expectOldLine(cast, 12, last, "Cast List");

    const QByteArray wide = record(file, 7);
    EXPECT_EQ(str(wide, kName, 30), QByteArray("Wide Listing"));
    EXPECT_EQ(i16(wide, kLineWidth), 90);
    expectFixedValues(wide, 10, "Wide Listing");
    EXPECT_EQ(u8(wide, kColumnHeaders), 0);
    EXPECT_EQ(u8(wide, kPageNumbers), 1);
    EXPECT_EQ(u8(wide, kUseTotals), 0);
    EXPECT_EQ(i16(wide, kLineCount), 1);
    EXPECT_EQ(str(wide, kTitles, 80), QByteArray());
    EXPECT_EQ(str(wide, kTitles + kTitleSize, 80), QByteArray("Second title"));
    expectOldLine(wide, 0, {part("<FILLER>", 0, 150)}, "Wide Listing totals");
    expectOldLine(wide, 1, {part("Year", 11, 4), part("<LABEL>", 0, 40, "\xC9t\xE9 " + QByteArray(35, 'x'))},
                  "Wide Listing");
}

TEST(OldReportFile, ConvertedReportsFollowTheUsersOwn)
{
    kv::TReportDefRec mine = kv::newReportDef();
    mine.name = QStringLiteral("Mine");
    kvtest::writeFile(urpPath(), kv::reportDefToBytes(mine));
    installOldFile("video2.cfr"); // written by another system in lower case
    ASSERT_TRUE(kv::prepareReportFile(kv::programDir()));
    EXPECT_EQ(kv::ReportFile(urpPath()).names(), QStringList({"Mine", "Cast List", "Wide Listing"}));
    EXPECT_FALSE(QFile::exists(inProgramDir("video2.cfr")));

    // Converted once: the next start finds nothing to do.
    const QByteArray after = kvtest::readFile(urpPath());
    ASSERT_TRUE(kv::prepareReportFile(kv::programDir()));
    EXPECT_EQ(kvtest::readFile(urpPath()), after);
}

TEST(OldReportFile, AnOldFileWithoutAWholeRecordAddsNothingAndIsDeleted)
{
    for (qsizetype size : {qsizetype(0), qsizetype(kv::kOldReportDefSize - 1)}) {
        SCOPED_TRACE(size);
        kvtest::writeFile(urpPath(), QByteArray());
        kvtest::writeFile(inProgramDir("VIDEO2.CFR"), oldRecordNamed(QStringLiteral("Partial")).left(size));
        ASSERT_TRUE(kv::prepareReportFile(kv::programDir()));
        EXPECT_EQ(kvtest::readFile(urpPath()), QByteArray());
        EXPECT_FALSE(QFile::exists(inProgramDir("VIDEO2.CFR")));
    }
}

TEST(OldReportFile, OnlyTheOldBuiltInNamesAreSkipped)
{
    struct Case {
        const char *name;
        bool skipped;
    };
    const Case cases[] = {
        {"Title and Media Number Report", true},
        {"Ratings Report", true},
        {"Star Report", true},
        {"Oscar Report", true},
        {"Complete Report", true},
        {"Statistic/Summary Report", true},
        {"Large Report", false}, // a new built-in, unknown to the old version
        {"Star report", false},
        {"Complete Report ", false},
        {"", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<kv::TReportDefRec> def = kv::convertOldReportDef(oldRecordNamed(QLatin1String(c.name)));
        EXPECT_EQ(!def.has_value(), c.skipped);
        if (def) {
            EXPECT_EQ(def->name, QLatin1String(c.name));
        }
    }
}

TEST(OldReportFile, WhenTheNewFileCannotBeWrittenTheOldFileStays)
{
    ASSERT_TRUE(QDir().mkdir(urpPath()));
    installOldFile();
    QString error;
    EXPECT_FALSE(kv::prepareReportFile(kv::programDir(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("QVRVID.URP"))) << error.toStdString();
    EXPECT_TRUE(QFile::exists(inProgramDir("VIDEO2.CFR")));
}
