// kestrova-cli labels: a sheet of face or spine labels to a PDF file or a printer.
#include "report_engine/pdftools.h"
#include "runfixture.h"

#include "reports/labelstock.h"

#include <QFileInfo>

namespace {

// The catalogue's own settings file, as the program writes it.
void writeCatalogueSettings(const kvtest::RunFixture &f, const kv::Settings &s)
{
    QString error;
    ASSERT_TRUE(kv::writeSettings(QString(f.path).replace(QLatin1String(".DBF"), QLatin1String(".INI")),
                                  kv::SettingsScope::Catalogue, s, &error))
        << error.toStdString();
}

TEST(CliLabels, PrintsTheMediaNumbersGivenOnTheStocksPaper)
{
    kvtest::RunFixture f;
    f.table.close();
    const QString pdf = kvtest::tempPath("labels.pdf");
    const struct {
        QStringList args;
        QSizeF paperPoints;
    } cases[] = {
        {{"face", "--media", "A-001,,B-002", "--pdf", pdf}, {612, 792}},
        {{"spine", "--stock", "2", "--media", "A-001,,B-002", "--pdf", pdf}, {595.28, 841.89}},
        {{"spine", "--pdf", pdf, "--media", "A-001,,B-002", "--stock", "4"}, {612, 792}},
    };
    for (const auto &c : cases) {
        QFile::remove(pdf);
        const kvtest::ProcessResult r = kvtest::runCli(QStringList{"labels", f.path} + c.args);
        ASSERT_EQ(r.exitCode, 0) << c.args.join(' ').toStdString() << "\n" << r.err.toStdString();
        const kvtest::PdfInfo info = kvtest::pdfInfo(pdf);
        EXPECT_EQ(info.pages, 1);
        EXPECT_NEAR(info.pointSize.width(), c.paperPoints.width(), 0.5) << c.args.join(' ').toStdString();
        EXPECT_NEAR(info.pointSize.height(), c.paperPoints.height(), 0.5);
        EXPECT_EQ(info.title, (c.args.first() == "face" ? "Face Labels - " : "Spine Labels - ") +
                                  QFileInfo(f.path).fileName());
        const QString text = kvtest::pdfText(pdf);
        for (const char *shown : {"A-001", "Casablanca", "B-002", "The Apartment"})
            EXPECT_TRUE(text.contains(shown)) << shown << "\n" << text.toStdString();
        for (const char *left : {"A-002", "Gone with the Wind", "Vertigo"})
            EXPECT_FALSE(text.contains(left)) << left;
    }
}

TEST(CliLabels, WithoutMediaNumbersTakesTheGridItemsAndStockOfTheSettings)
{
    kvtest::RunFixture f;
    f.table.close();
    kv::Settings s;
    s.labelItems[0][0] = QStringLiteral("C-001");
    s.labelItems[1][5] = QStringLiteral("A-003"); // position 12: only on the 6-row L7654 face sheet
    s.labelSize = 2;
    s.labelTitle = false;
    writeCatalogueSettings(f, s);
    const QString pdf = kvtest::tempPath("labels.pdf");
    const kvtest::ProcessResult r = kvtest::runCli({"labels", f.path, "face", "--pdf", pdf});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_NEAR(kvtest::pdfInfo(pdf).pointSize.height(), 841.89, 0.5);
    const QString text = kvtest::pdfText(pdf);
    for (const char *shown : {"C-001", "Thriller", "A-003", "1949"})
        EXPECT_TRUE(text.contains(shown)) << shown << "\n" << text.toStdString();
    for (const char *left : {"Vertigo", "The Third Man", "Casablanca"})
        EXPECT_FALSE(text.contains(left)) << left;
}

TEST(CliLabels, RefusalsAndUsageErrors)
{
    kvtest::RunFixture f;
    f.table.close();
    const QString pdf = kvtest::tempPath("labels.pdf");
    const QByteArray usage = "Usage: kestrova-cli labels FILE.DBF face|spine [--stock N] [--media M1,M2,...] "
                             "(--pdf OUT.PDF | --print [PRINTER])";
    kvtest::expectCliCases(QStringLiteral("labels"), {
        {{f.path, "face", "--media", ",, ,", "--pdf", pdf}, 1,
         "No media numbers have been entered.  Please enter/choose some media numbers."},
        // the 16th position of an Avery 5199 spine sheet is not used
        {{f.path, "spine", "--media", ",,,,,,,,,,,,,,,A-001", "--pdf", pdf}, 1,
         "No media numbers have been entered.  Please enter/choose some media numbers."},
        {{f.path, "face", "--media", "A-001", "--print"}, 1, "No printers are defined, aborting print job."},
        {{kvtest::tempPath("NONE.DBF"), "face", "--pdf", pdf}, 1, ""},
        {{f.path, "face", "--stock", "6", "--pdf", pdf}, 2, "--stock takes a number from 1 to 5."},
        {{f.path, "face", "--stock", "two", "--pdf", pdf}, 2, "--stock takes a number from 1 to 5."},
        {{f.path, "back", "--pdf", pdf}, 2, "Unknown label kind \"back\"."},
        {{f.path, "face", "--media", "A-001"}, 2, "Name an output: --pdf or --print."},
        {{f.path, "face", "--pdf"}, 2, "--pdf needs a file name."},
        {{f.path, "face", "--text", pdf}, 2, "Unknown option \"--text\"."},
        {{f.path, "face", "--media", "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17", "--pdf", pdf}, 2,
         "A sheet has at most 16 positions."},
        {{f.path, "face", "--pdf", pdf, "extra"}, 2, "Unexpected argument \"extra\"."},
        {{f.path}, 2, usage},
    });
    EXPECT_FALSE(QFile::exists(pdf));

    // With every item off the run is refused before it looks for media numbers.
    kv::Settings s;
    for (const kv::LabelItem &item : kv::labelItems())
        s.*item.flag = false;
    writeCatalogueSettings(f, s);
    const kvtest::ProcessResult r = kvtest::runCli({"labels", f.path, "face", "--media", "A-001", "--pdf", pdf});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.split('\n').first(),
              "No items are selected for print.  Please select printing criteria via the \"Options\" button.");
    EXPECT_FALSE(QFile::exists(pdf));
}

} // namespace
