// The preview window on a recorded page stream: paging, zoom, colour, label runs.
#include "../runfixture.h"
#include "../../report_engine/pdftools.h"
#include "screenshot.h"
#include "scriptedprompt.h"

#include "reports/ui/mypreview.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace kv;

namespace {

// A run of the built-in report 1 over n records, as the preview receives it.
PageStream reportPages(int records)
{
    std::vector<kvtest::Video> v;
    for (int i = 0; i < records; ++i)
        v.push_back({QString::number(i), QStringLiteral("Film %1").arg(i), "Drama", "PG", "1990", "1", "1"});
    kvtest::RunFixture f(v);
    return f.view(f.setup(kvtest::RunFixture::builtIn(1), OutputMode::View));
}

} // namespace

TEST(TMyPreview, PagesThroughTheStreamAndShowsWhereItIs)
{
    const PageStream stream = reportPages(200); // four pages
    ASSERT_EQ(stream.pageCount(), 4);
    kvtest::ScriptedPrompt prompt;
    Settings settings;
    TMyPreview preview(stream, QStringLiteral("My Report"), false, settings, prompt);
    EXPECT_EQ(preview.PageLabel->text(), "Page 1 of 1");
    preview.show();
    EXPECT_EQ(preview.windowTitle(), "My Report");
    EXPECT_EQ(preview.PageLabel->text(), "Page 1 of 4");
    EXPECT_EQ(preview.PageEdit->text(), "1");
    preview.SBPrevPage->click();
    EXPECT_EQ(preview.surface()->currentPage(), 1);
    preview.SBNextPage->click();
    EXPECT_EQ(preview.PageLabel->text(), "Page 2 of 4");
    preview.MenuLast->trigger();
    preview.SBNextPage->click();
    EXPECT_EQ(preview.PageLabel->text(), "Page 4 of 4");
    preview.MenuFirst->trigger();
    EXPECT_EQ(preview.PageEdit->text(), "1");
    // A typed page number, and text that is none (kept as typed).
    preview.PageEdit->setText("3");
    Q_EMIT preview.PageEdit->editingFinished();
    EXPECT_EQ(preview.PageLabel->text(), "Page 3 of 4");
    preview.PageEdit->setText("x");
    Q_EMIT preview.PageEdit->editingFinished();
    EXPECT_EQ(preview.PageEdit->text(), "x");
    EXPECT_EQ(preview.surface()->currentPage(), 3);
}

TEST(TMyPreview, ZoomStaysWithinItsLimits)
{
    const PageStream stream = reportPages(3);
    kvtest::ScriptedPrompt prompt;
    Settings settings;
    settings.reportWindowWidth = 900;
    settings.reportWindowHeight = 700;
    TMyPreview preview(stream, QStringLiteral("Title and Media Number Report"), false, settings, prompt);
    preview.show();
    EXPECT_EQ(preview.ZoomEdit->text(), "100.0");
    EXPECT_EQ(preview.PageLabel->text(), "Page 1 of 1");
    const QSize at100 = preview.surface()->widget()->size();
    kvtest::saveShot(preview, "preview-100.png");
    for (int i = 0; i < 15; ++i)
        preview.SBZoomIn->click();
    EXPECT_EQ(preview.ZoomEdit->text(), "200.0");
    preview.surface()->setZoom(15);
    preview.SBZoomOut->click();
    preview.SBZoomOut->click();
    EXPECT_EQ(preview.ZoomEdit->text(), "10.0");
    preview.ZoomEdit->setText("33.3");
    Q_EMIT preview.ZoomEdit->editingFinished();
    EXPECT_EQ(preview.ZoomEdit->text(), "33.3");
    preview.ZoomEdit->setText("500");
    Q_EMIT preview.ZoomEdit->editingFinished();
    EXPECT_EQ(preview.ZoomEdit->text(), "200.0");
    preview.SBZoomPage->click();
    const double whole = preview.surface()->zoom();
    EXPECT_LE(preview.surface()->widget()->height(), preview.surface()->viewport()->height() + 1);
    kvtest::saveShot(preview, "preview-whole-page.png");
    preview.SBZoomPageWidth->click();
    EXPECT_GT(preview.surface()->zoom(), whole);
    EXPECT_LE(preview.surface()->widget()->width(), preview.surface()->viewport()->width() + 1);
    preview.surface()->setZoom(50);
    EXPECT_EQ(preview.surface()->widget()->size(), (QSizeF(at100) / 2).toSize());
    // Colour is on at the start; the menu item's check follows it.
    EXPECT_TRUE(preview.MenuUseColor->isChecked());
    preview.MenuUseColor->trigger();
    EXPECT_FALSE(preview.MenuUseColor->isChecked());
    EXPECT_TRUE(preview.surface()->monochrome());
}

TEST(TMyPreview, KeepsItsGeometryInTheSettings)
{
    const PageStream stream = reportPages(1);
    kvtest::ScriptedPrompt prompt;
    Settings settings;
    settings.reportWindowLeft = 30;
    settings.reportWindowTop = 40;
    settings.reportWindowWidth = 500;
    settings.reportWindowHeight = 400;
    TMyPreview preview(stream, QStringLiteral("R"), false, settings, prompt);
    EXPECT_EQ(preview.geometry(), QRect(30, 40, 500, 400));
    preview.show();
    preview.setGeometry(50, 60, 610, 420);
    preview.SBDone->click();
    EXPECT_EQ(QRect(settings.reportWindowLeft, settings.reportWindowTop, settings.reportWindowWidth,
                    settings.reportWindowHeight),
              QRect(50, 60, 610, 420));
}

TEST(TMyPreview, ALabelRunHasNoPagingAndNoRange)
{
    const PageStream stream = reportPages(1);
    kvtest::ScriptedPrompt prompt;
    Settings settings;
    TMyPreview preview(stream, QStringLiteral("ignored"), true, settings, prompt);
    EXPECT_EQ(preview.windowTitle(), "Label Printing");
    for (QAction *a : {preview.MenuPrevious, preview.MenuNext, preview.MenuFirst, preview.MenuLast,
                       preview.MenuPrintReport, preview.MenuPrintRange})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_FALSE(preview.SBPrevPage->isEnabled());
    EXPECT_FALSE(preview.SBNextPage->isEnabled());
    EXPECT_TRUE(preview.SBPrint->isEnabled());
}

TEST(TMyPreview, PrintingWithoutAPrinterIsTold)
{
    qputenv("CUPS_SERVER", kvtest::tempPath("no-cups.sock").toUtf8());
    const PageStream stream = reportPages(1);
    kvtest::ScriptedPrompt prompt;
    Settings settings;
    TMyPreview preview(stream, QStringLiteral("R"), false, settings, prompt);
    preview.show();
    preview.SBPrint->click();
    qunsetenv("CUPS_SERVER");
    EXPECT_EQ(prompt.messages(), QStringList({"Error: No printers are defined, aborting print job."}));
    EXPECT_FALSE(preview.streamPrinter().busy());
}

// The printer choice "PDF File": the pages asked for land in the file named; a second
// print asked for while the first is still being handed over is refused and asks nothing.
TEST(TMyPreview, PrintsIntoAPdfFileAndRefusesASecondJobMeanwhile)
{
    const PageStream stream = reportPages(200);
    kvtest::ScriptedPrompt prompt;
    Settings settings;
    settings.printToPdf = true;
    TMyPreview preview(stream, QStringLiteral("R"), false, settings, prompt);
    preview.show();
    const QString all = kvtest::tempPath("all.pdf");
    const QString page = kvtest::tempPath("page.pdf");
    prompt.answerFile(all).answerFile(page);
    QTimer::singleShot(0, &preview, [&] { preview.SBPrint->click(); }); // fires while pages go out
    preview.MenuPrintReport->trigger();
    EXPECT_EQ(prompt.messages(), QStringList({"Error: Previous print job has not yet finished.  Try again later."}));
    EXPECT_EQ(kvtest::pdfInfo(all).pages, 4);
    EXPECT_EQ(kvtest::pdfInfo(all).title, "R"); // named after the report, as a run's file is
    EXPECT_TRUE(kvtest::pdfXmp(all).contains("<pdfaid:part>1</pdfaid:part>"));
    EXPECT_FALSE(QFile::exists(page));
    // Once the job is done, printing goes on; a cancelled file dialog prints nothing.
    preview.surface()->goToPage(3);
    preview.SBPrint->click();
    EXPECT_EQ(kvtest::pdfInfo(page).pages, 1);
    EXPECT_EQ(kvtest::pdfPageWords(page).first(), stream.pageLines(2).join(QLatin1Char(' ')).simplified());
    prompt.answerFile(QString());
    preview.SBPrint->click();
    EXPECT_EQ(prompt.messages().size(), 1);
}

// While the run still adds pages only the finished ones can be looked at, and nothing
// prints until the run has ended.
TEST(TMyPreview, PagesStillBeingMadeAreNotShownOrPrinted)
{
    const PageStream stream = reportPages(200);
    kvtest::ScriptedPrompt prompt;
    Settings settings;
    TMyPreview preview(stream, QStringLiteral("R"), false, settings, prompt);
    preview.setPagesReady(2);
    preview.show();
    // The count says it is not the last word; Print Page waits, keeping its caption.
    EXPECT_EQ(preview.PageLabel->text(), QStringLiteral("Page 1 of 2 (counting\u2026)"));
    preview.MenuLast->trigger();
    EXPECT_EQ(preview.surface()->currentPage(), 2);
    EXPECT_EQ(preview.PageLabel->text(), QStringLiteral("Page 2 of 2 (counting\u2026)"));
    preview.setPagesReady(3);
    EXPECT_EQ(preview.PageLabel->text(), QStringLiteral("Page 2 of 3 (counting\u2026)"));
    for (QAction *a : {preview.MenuPrintPage, preview.MenuPrintReport, preview.MenuPrintRange})
        EXPECT_FALSE(a->isEnabled());
    EXPECT_FALSE(preview.SBPrint->isEnabled());
    EXPECT_EQ(preview.SBPrint->text(), "Print Page");
    EXPECT_TRUE(preview.SBPrint->isVisible());
    preview.setPagesReady(-1);
    EXPECT_EQ(preview.PageLabel->text(), "Page 2 of 4");
    EXPECT_TRUE(preview.MenuPrintRange->isEnabled());
    EXPECT_TRUE(preview.SBPrint->isEnabled());
}
