// kestrova-cli report: a report definition run on a catalogue to a text, PDF or printer.
#include "report_engine/pdftools.h"
#include "runfixture.h"

namespace {
const QString kTitleReport = QStringLiteral("Title and Media Number Report");
}

TEST(CliReport, WritesTheTextFileAndThePdfOfAReport)
{
    kvtest::RunFixture f;
    f.table.close();
    const QString text = kvtest::tempPath("OUT.TXT"), pdf = kvtest::tempPath("out.pdf");
    kvtest::ProcessResult r = kvtest::runCli({"report", f.path, kTitleReport, "--text", text});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QByteArray file = kvtest::readFile(text);
    EXPECT_TRUE(file.startsWith("Media #     Title")) << file.left(80).toStdString();
    EXPECT_TRUE(file.contains("\r\nA-002       Gone with the Wind  ")) << file.toStdString();
    EXPECT_EQ(file.count('\f'), 1);
    EXPECT_TRUE(file.endsWith("\f\r\n"));

    r = kvtest::runCli({"report", f.path, kTitleReport, "--pdf", pdf});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(kvtest::pdfInfo(pdf).pages, 1);
    EXPECT_TRUE(kvtest::pdfText(pdf).contains("Gone with the Wind"));
}

// A PDF file is on the paper of the locale: Letter where it measures in US units, else A4;
// it is named after the report.
TEST(CliReport, PdfIsOnThePaperOfTheLocaleAndNamedAfterTheReport)
{
    kvtest::RunFixture f;
    f.table.close();
    const QString pdf = kvtest::tempPath("out.pdf");
    const struct {
        const char *locale;
        QSizeF points;
    } cases[] = {{"en_US.UTF-8", {612, 792}}, {"de_DE.UTF-8", {595.28, 841.89}}, {"en_GB.UTF-8", {595.28, 841.89}}};
    for (const auto &c : cases) {
        const kvtest::ProcessResult r = kvtest::runCli({"report", f.path, "Large Report", "--pdf", pdf}, c.locale);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const kvtest::PdfInfo info = kvtest::pdfInfo(pdf);
        EXPECT_EQ(info.title, "Large Report") << c.locale;
        EXPECT_NEAR(info.pointSize.width(), c.points.width(), 0.5) << c.locale;
        EXPECT_NEAR(info.pointSize.height(), c.points.height(), 0.5) << c.locale;
    }
}

TEST(CliReport, CriteriaPrintOnlyTheRecordsTheyPass)
{
    kvtest::RunFixture f;
    f.table.close();
    const QString text = kvtest::tempPath("OUT.TXT");
    const kvtest::ProcessResult r =
        kvtest::runCli({"report", f.path, kTitleReport, "--text", text, "Category=Drama", "--or", "Category=Thriller"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QByteArray file = kvtest::readFile(text);
    for (const char *title : {"Casablanca", "Gone with the Wind", "The Third Man", "Vertigo"})
        EXPECT_TRUE(file.contains(title)) << title;
    for (const char *title : {"Some Like It Hot", "The Apartment"})
        EXPECT_FALSE(file.contains(title)) << title;
    EXPECT_TRUE(file.contains("     Quantity: 4  ")) << file.toStdString();
}

TEST(CliReport, RefusalsAndUsageErrors)
{
    kvtest::RunFixture f;
    f.table.close();
    const QString out = kvtest::tempPath("OUT.TXT");
    kvtest::expectCliCases(QStringLiteral("report"), {
        {{f.path, "Title and Media", "--text", out}, 1, "No Report has been selected.  Please choose one."},
        {{f.path, kTitleReport, "--print"}, 1, "No printers are defined, aborting print job."},
        {{f.path, kTitleReport, "--text"}, 2, "--text needs a file name."},
        {{f.path, kTitleReport, "--text", out, "Title=Nothing Like It"}, 1, "No valid matches found.  Search Criteria will be cleared."},
        {{f.path, kTitleReport, "--fax", out}, 2, "Unknown option \"--fax\"."},
        {{f.path, kTitleReport, "--print", "NOPE"}, 2, "There is no printer \"NOPE\"."},
        {{f.path, kTitleReport, "--text", "--help"}, 2, "--text needs OUT.TXT, not the option \"--help\"."},
        {{f.path, kTitleReport}, 2, "Usage: kestrova-cli report FILE.DBF NAME (--text OUT.TXT | --pdf OUT.PDF | "
                                    "--print [PRINTER]) [CRITERION ... [--or CRITERION ...]]"},
        {{kvtest::tempPath("NONE.DBF"), kTitleReport, "--text", out}, 1, ""},
    });
    EXPECT_FALSE(QFile::exists(out));
}
