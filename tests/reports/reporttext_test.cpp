// Report runs to a text file, compared byte for byte with expected files.
#include "runfixture.h"

#include "base/codepage.h"

using namespace kv;
using kvtest::RunFixture;

namespace {
QByteArray expected(const QString &name)
{
    return kvtest::readFile(kvtest::fixture(QStringLiteral("reports/") + name));
}
} // namespace

TEST(ReportText, BuiltInReportsAsExpectedFiles)
{
    struct Case {
        int report;
        const char *file;
    };
    for (const Case c : {Case{1, "title_media.txt"}, Case{3, "star.txt"}, Case{6, "summary.txt"}}) {
        RunFixture f;
        TReportDefRec def = RunFixture::builtIn(c.report);
        def.titles[0] = QStringLiteral("My Videos");
        def.groupLevel2 = c.report == 3;
        const QByteArray got = f.textFile(f.setup(def, OutputMode::TextFile));
        EXPECT_EQ(got, expected(QString::fromLatin1(c.file))) << c.file << "\n" << got.toStdString();
    }
}

TEST(ReportText, RecordLinesHoldEachFieldsTextCutAndPaddedToItsStop)
{
    // Values written from their stored bytes and values that go through their text.
    std::vector<kvtest::Video> videos = kvtest::sixVideos();
    videos[0].title = QStringLiteral("Am\u00e9lie and M\u00fcller's C\u0153ur");
    videos[1].title = QString(60, QLatin1Char('x'));
    videos[2].title = QStringLiteral("Say \"Hi\"\ttab");
    videos[3].title = QStringLiteral("  leading blanks");
    videos[4].media = QStringLiteral("\u00c9-1");
    videos[5].title = QString();
    kvtest::RunFixture f(videos);
    TReportDefRec def = RunFixture::builtIn(1);
    for (TPartRec &part : def.bodyLines[0])
        if (part.width > 12 && !part.isLabel() && !part.isFiller())
            part.width = 12; // stops narrower than the values: the values are cut
    const QByteArray got = f.textFile(f.setup(def, OutputMode::TextFile));
    int lines = 0;
    for (f.table.first(); !f.table.eof(); f.table.next(), ++lines) {
        QString line;
        for (const TPartRec &part : def.bodyLines[0]) {
            if (part.width <= 0)
                break;
            if (part.isLabel()) {
                line += part.labelText.left(part.width).rightJustified(part.width);
                continue;
            }
            const QString text =
                part.isFiller() ? QString() : f.table.fieldText(fieldName(part.fieldNumber)).left(part.width);
            line += text.leftJustified(part.width);
        }
        EXPECT_TRUE(got.contains("\r\n" + encode(line) + "\r\n")) << line.toStdString() << "\n" << got.toStdString();
    }
    EXPECT_EQ(lines, 6);
}

TEST(ReportText, FooterWithoutPageNumbersIsFiveBlanksAndTheDate)
{
    RunFixture f;
    TReportDefRec def = RunFixture::builtIn(1);
    def.pageNumbers = false;
    const QByteArray got = f.textFile(f.setup(def, OutputMode::TextFile));
    EXPECT_TRUE(got.endsWith("\r\n\r\n     12/10/26\f\r\n")) << got.right(40).toStdString();
}

TEST(ReportText, PagesBreakWhereTheEngineLinesSay)
{
    // 70 records of a one-line report: 63 on page 1 under the column headers.
    std::vector<kvtest::Video> v;
    for (int i = 0; i < 70; ++i)
        v.push_back({QString::number(i), QStringLiteral("Film"), "Drama", "PG", "1990", "1", "1"});
    RunFixture f(v);
    TReportDefRec def = RunFixture::builtIn(1);
    const QList<QByteArray> pages = f.textFile(f.setup(def, OutputMode::TextFile)).split('\f');
    ASSERT_EQ(pages.size(), 3); // two pages and what follows the last form feed
    EXPECT_EQ(pages[0].count("Film"), 63);
    EXPECT_EQ(pages[1].count("Film"), 7);
    EXPECT_EQ(pages[2], "\r\n");
    const PageStream s = f.view(f.setup(def, OutputMode::View));
    EXPECT_EQ(s.pageCount(), 2);
}
