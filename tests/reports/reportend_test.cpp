// Runs that cannot place a record on a page end with a message after a page or two
// instead of writing empty pages forever; outputs that fail (a full disk, a refused run)
// leave an old file of their name as it was.
#include "base/paths.h"
#include "fulldisk.h"
#include "report_engine/pdftools.h"
#include "reports/reportfile.h"
#include "runfixture.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

using namespace kv;
using kvtest::RunFixture;

namespace {

const QString kLarge = QStringLiteral("Large Report");

QString noFit(const QString &name) { return QString::fromLatin1(kRecordDoesNotFit).arg(name); }

struct TallCase {
    const char *what;
    std::function<void(TReportDefRec &)> make;
};

// Definitions whose record, with its group header or the totals, is taller than a page.
const std::vector<TallCase> &tallCases()
{
    static const std::vector<TallCase> cases = {
        {"Large Report, 40-point body", [](TReportDefRec &d) { d.bodyFont.size = 40; }},
        {"Large Report, 512-point body", [](TReportDefRec &d) { d.bodyFont.size = 512; }},
        {"a bottom margin that leaves no band", [](TReportDefRec &d) { d.bottomMargin = 9.5; }},
        {"totals that never fit", [](TReportDefRec &d) {
             d.lineCount = 1;
             d.groupLevel1 = false;
             d.bodyFont.size = 150;
         }},
    };
    return cases;
}

TEST(ReportEnd, ARecordTallerThanAPageEndsTheRunWithAMessageInEveryOutput)
{
    RunFixture f;
    for (const TallCase &c : tallCases()) {
        SCOPED_TRACE(c.what);
        TReportDefRec def = RunFixture::builtIn(5);
        c.make(def);
        bool ok = true;
        const PageStream stream = f.view(f.setup(def, OutputMode::View), &ok);
        EXPECT_FALSE(ok);
        EXPECT_LE(stream.pageCount(), 3) << "no run writes pages that hold no record";

        const QString text = kvtest::tempPath(QStringLiteral("REPORT.TXT"));
        kvtest::writeFile(text, "the old report");
        ReportRunSetup s = f.setup(def, OutputMode::TextFile);
        s.textPath = text;
        DiscardOutput discard;
        ReportEngine textEngine(discard);
        ReportRun textRun(f.table, s, textEngine);
        EXPECT_FALSE(textRun.run());
        EXPECT_EQ(textRun.errorString(), noFit(kLarge));
        EXPECT_LE(textEngine.pageNumber(), 3);
        EXPECT_EQ(kvtest::readFile(text), "the old report");

        const QString pdf = kvtest::tempPath(QStringLiteral("REPORT.PDF"));
        kvtest::writeFile(pdf, "the old PDF");
        PdfOutput out(pdf);
        ReportEngine pdfEngine(out);
        ReportRun pdfRun(f.table, f.setup(def, OutputMode::Print), pdfEngine);
        EXPECT_FALSE(pdfRun.run());
        EXPECT_EQ(pdfRun.errorString(), noFit(kLarge));
        EXPECT_EQ(kvtest::readFile(pdf), "the old PDF");
        EXPECT_EQ(QDir(kvtest::tempDir()).entryList({QStringLiteral("*.tmp")}, QDir::Files), QStringList());
    }
}

// Records that fit still run to the end: as many pages as they need and no more.
TEST(ReportEnd, RecordsThatFitTakeTheirPagesAndNoMore)
{
    std::vector<kvtest::Video> many;
    for (int i = 0; i < 40; ++i)
        many.push_back({QStringLiteral("M%1").arg(i), QStringLiteral("Film %1").arg(i), "Drama", "PG", "1990", "1", "2"});
    RunFixture f(many);
    TReportDefRec def = RunFixture::builtIn(5);
    def.bodyFont.size = 20; // 26 lines on Letter: two records of 12 lines and the group header
    const PageStream stream = f.view(f.setup(def, OutputMode::View));
    EXPECT_EQ(stream.pageCount(), 21) << "two records to a page, then the totals";
}

TEST(ReportEnd, AFullDiskKeepsTheOldTextAndPdfAndSaysWhy)
{
    RunFixture f;
    kvtest::FullDisk disk;
    const QString text = disk.path(QStringLiteral("REPORT.TXT")), pdf = disk.path(QStringLiteral("REPORT.PDF"));
    kvtest::writeFile(text, "the old report");
    kvtest::writeFile(pdf, "the old PDF");
    disk.fill();

    ReportRunSetup s = f.setup(RunFixture::builtIn(5), OutputMode::TextFile);
    s.textPath = text;
    DiscardOutput discard;
    ReportEngine textEngine(discard);
    ReportRun textRun(f.table, s, textEngine);
    EXPECT_FALSE(textRun.run());
    EXPECT_EQ(textRun.errorString(), cannotWriteMessage(text, disk.reason()));
    EXPECT_EQ(kvtest::readFile(text), "the old report");

    PdfOutput out(pdf);
    ReportEngine pdfEngine(out);
    ReportRun pdfRun(f.table, f.setup(RunFixture::builtIn(5), OutputMode::Print), pdfEngine);
    EXPECT_FALSE(pdfRun.run());
    EXPECT_EQ(pdfRun.errorString(), cannotWriteMessage(pdf, disk.reason()));
    EXPECT_EQ(kvtest::readFile(pdf), "the old PDF");

    QStringList left = QDir(disk.dir()).entryList(QDir::Files);
    left.removeAll(QStringLiteral("filler"));
    EXPECT_EQ(left, (QStringList{"REPORT.PDF", "REPORT.TXT"}));
}

// The command line: the runs above end with exit 1 and their message.
TEST(ReportEnd, TheCommandLineRefusesDamagedAndTallReportsAndKeepsOldFilesOnAFullDisk)
{
    RunFixture f;
    f.table.close();
    ASSERT_EQ(kvtest::runCli({"reports"}).exitCode, 0);
    const QString urp = ReportFile::pathIn(kv::programDir());
    QByteArray defs = kvtest::readFile(urp);
    // The Large Report's body font at 40 points, the Star Report's at 0.
    qToLittleEndian<qint16>(40, defs.data() + 4 * kReportDefSize + 155 + 51);
    qToLittleEndian<qint16>(0, defs.data() + 2 * kReportDefSize + 155 + 51);
    kvtest::writeFile(urp, defs);

    const QString out = kvtest::tempPath(QStringLiteral("OUT.TXT"));
    kvtest::ProcessResult r = kvtest::runCli({"report", f.path, kLarge, "--text", out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.trimmed(), noFit(kLarge).toUtf8());
    EXPECT_FALSE(QFile::exists(out));
    r = kvtest::runCli({"report", f.path, "Star Report", "--text", out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("The report definition \"Star Report\" in QVRVID.URP is damaged (body font size 0)"))
        << r.err.toStdString();
    r = kvtest::runCli({"reports"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.count('\n'), 6) << "the damaged one is still listed";

    kvtest::FullDisk disk;
    const QString text = disk.path(QStringLiteral("OUT.TXT")), pdf = disk.path(QStringLiteral("OUT.PDF")),
                  labels = disk.path(QStringLiteral("LABELS.PDF"));
    for (const QString &path : {text, pdf, labels})
        kvtest::writeFile(path, "old");
    disk.fill();
    const QList<QStringList> runs = {
        {"report", f.path, "Oscar Report", "--text", text},
        {"report", f.path, "Oscar Report", "--pdf", pdf},
        {"labels", f.path, "face", "--media", "A-001", "--pdf", labels},
    };
    for (const QStringList &args : runs) {
        r = kvtest::runCli(args);
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(cannotWriteMessage(args.last(), disk.reason()).toUtf8())) << r.err.toStdString();
        EXPECT_EQ(kvtest::readFile(args.last()), "old");
    }
}

} // namespace
