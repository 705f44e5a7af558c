// Printing on a real CUPS queue that writes PDF files: a report run and a page range of a
// recorded stream arrive with the right number of pages.
#include "../runfixture.h"
#include "cupsqueue.h"
#include "report_engine/pdftools.h"

#include "report_engine/print/printeroutput.h"

#include <QFile>

using namespace kv;

TEST(CupsPrinting, AReportAndARangeOfItsPagesArriveAsPdfs)
{
    kvtest::CupsQueue queue;
    if (!queue.problem().isEmpty())
        GTEST_SKIP() << "no printer queue: " << queue.problem().toStdString();
    const QString name = QString::fromLatin1(kvtest::CupsQueue::kName);
    ASSERT_TRUE(printerNames().contains(name));

    std::vector<kvtest::Video> v;
    for (int i = 0; i < 200; ++i)
        v.push_back({QString::number(i), QStringLiteral("Film %1").arg(i), "Drama", "PG", "1990", "1", "1"});
    kvtest::RunFixture f(v);
    const ReportRunSetup setup = f.setup(kvtest::RunFixture::builtIn(1), OutputMode::Print);

    QDateTime since = QDateTime::currentDateTime();
    PrinterOutput out(name);
    ReportEngine engine(out);
    ReportRun run(f.table, setup, engine);
    ASSERT_TRUE(run.run()) << run.errorString().toStdString();
    const int pages = engine.pageNumber();
    ASSERT_GT(pages, 3);
    QString pdf = queue.waitForPdf(since);
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF arrived from the queue";
    EXPECT_EQ(kvtest::pdfInfo(pdf).pages, pages);
    QFile::remove(pdf);

    const PageStream stream = f.view(setup);
    ASSERT_EQ(stream.pageCount(), pages);
    since = QDateTime::currentDateTime();
    StreamPrinter printer;
    ASSERT_TRUE(printer.print(stream, 2, 3, name)) << printer.errorString().toStdString();
    EXPECT_FALSE(printer.busy());
    pdf = queue.waitForPdf(since);
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF arrived from the queue";
    EXPECT_EQ(kvtest::pdfInfo(pdf).pages, 2);
    QFile::remove(pdf);

    // The command prints the same report on the queue named.
    f.table.close();
    since = QDateTime::currentDateTime();
    const kvtest::ProcessResult r =
        kvtest::runCli({"report", f.path, "Title and Media Number Report", "--print", name});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    pdf = queue.waitForPdf(since);
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF arrived from the queue";
    EXPECT_EQ(kvtest::pdfInfo(pdf).pages, pages);
    QFile::remove(pdf);
}
