// The Reports window and the status window on a real catalogue, offscreen.
#include "../runfixture.h"
#include "scriptedrunner.h"
#include "../../report_engine/pdftools.h"
#include "screenshot.h"
#include "scriptedprompt.h"
#include "workspacefixture.h"

#include "base/paths.h"
#include "report_engine/pdffile.h"
#include "reports/ui/mypreview.h"
#include "reports/ui/myreport.h"
#include "reports/ui/printselect.h"
#include "reports/ui/reportform.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

using namespace kv;

namespace {

struct ReportWindowFixture : kvtest::WorkspaceFixture {
    kvtest::RunFixture catalogue;
    explicit ReportWindowFixture(const std::vector<kvtest::Video> &videos = kvtest::sixVideos()) : catalogue(videos)
    {
        prepareReportFile(programDir());
        catalogue.table.close();
        workspace.master().setPath(catalogue.path);
        workspace.master().open();
    }
    // Only the records whose category is Drama.
    void searchDramas()
    {
        workspace.search().start(
            [](const RecordRef &r) { return r.text(QStringLiteral("Category")) == QLatin1String("Drama"); });
    }
};

} // namespace

TEST(TMyReport, WhatToPrintFollowsTheSettingAndTheSearch)
{
    struct Case {
        int stored;
        bool searchOn;
        const char *checked;
        bool searchEnabled;
    };
    const Case cases[] = {
        {1, false, "ExportEntire", false}, {2, false, "ExportEntire", false}, {1, true, "ExportSearch", true},
        {2, true, "ExportSearch", true},   {3, false, "FaceLabels", false},   {4, true, "SpineLabels", true},
        {9, false, "ExportEntire", false},
    };
    for (const Case &c : cases) {
        ReportWindowFixture f;
        f.settings.whatToPrint = c.stored;
        if (c.searchOn)
            f.searchDramas();
        TMyReport window(f.workspace);
        window.show();
        const auto *checked = window.findChild<QRadioButton *>(QString::fromLatin1(c.checked));
        ASSERT_TRUE(checked);
        EXPECT_TRUE(checked->isChecked()) << c.stored << c.searchOn;
        EXPECT_EQ(window.ExportSearch->isEnabled(), c.searchEnabled);
        EXPECT_EQ(window.FileButton->text(), c.stored >= 3 && c.stored <= 4 ? "&Options" : "Print &To File");
    }
}

TEST(TMyReport, ShowsTheListTheLastReportAndTheSortOrder)
{
    ReportWindowFixture f;
    f.settings.lastReport = 2;
    f.settings.sortLevels = {14, 0, 1, 0};
    f.settings.field(1).caption = QStringLiteral("Film");
    TMyReport window(f.workspace);
    window.show();
    EXPECT_EQ(window.ReportBox->count(), 6);
    EXPECT_EQ(window.ReportBox->currentItem()->text(), "Star Report");
    EXPECT_EQ(window.SortOrderLabel->text(), "Category, Film");
    kvtest::saveShot(window, "report-window.png");
    window.ReportBox->setCurrentRow(4);
    window.ExitButton->click();
    EXPECT_EQ(f.settings.lastReport, 4);

    f.settings.sortLevels = {0, 0, 0, 0};
    TMyReport again(f.workspace);
    again.show();
    EXPECT_EQ(again.SortOrderLabel->text(), "No Sort Order Selected");
}

TEST(TMyReport, ARunWithoutAChosenReportIsRefused)
{
    ReportWindowFixture f;
    TMyReport window(f.workspace);
    window.show();
    window.ReportBox->setCurrentRow(-1);
    window.DoIt(int(OutputMode::View));
    EXPECT_EQ(f.prompt.messages(), QStringList({"Error: No Report has been selected.  Please choose one."}));
    EXPECT_EQ(f.prompt.beeps(), 1);
}

TEST(TMyReport, NewAndModifyOpenTheDefinitionWindow)
{
    ReportWindowFixture f;
    TMyReport window(f.workspace);
    kvtest::ScriptedRunner runner(window);
    window.show();
    QStringList opened;
    runner.onExec = [&](QDialog &d) {
        opened << d.metaObject()->className();
        return int(QDialog::Rejected);
    };
    window.NewButton->click();
    window.ReportBox->setCurrentRow(1);
    window.ModifyButton->click();
    EXPECT_EQ(opened, QStringList({"kv::TUserReport", "kv::TUserReport"}));
    window.ReportBox->setCurrentRow(-1);
    window.ModifyButton->click();
    EXPECT_EQ(opened.size(), 2);
    EXPECT_EQ(f.prompt.messages(), QStringList({"Error: No Report has been selected.  Please choose one."}));
}

TEST(TMyReport, EntireDatabaseDuringASearchPrintsEveryRecordThenSearchesAgain)
{
    struct Case {
        const char *choice;
        int quantity;
    };
    for (const Case c : {Case{"ExportEntire", 6}, Case{"ExportSearch", 3}}) {
        ReportWindowFixture f;
        f.searchDramas();
        TMyReport window(f.workspace);
        kvtest::ScriptedRunner runner(window);
        window.show();
        window.findChild<QRadioButton *>(QString::fromLatin1(c.choice))->click();
        window.ReportBox->setCurrentRow(0);
        QStringList shown;
        int searchSignals = 0;
        QObject::connect(&f.workspace, &Workspace::searchChanged, [&] { ++searchSignals; });
        runner.onExec = [&](QDialog &d) {
            if (auto *form = qobject_cast<TReportForm *>(&d)) {
                form->run();
                shown << form->StatusLabel->text();
            } else if (auto *preview = qobject_cast<TMyPreview *>(&d)) {
                preview->show();
                shown << preview->windowTitle() << preview->PageLabel->text();
                const PageStream *s = preview->surface()->stream();
                shown << s->pageLines(0).filter(QStringLiteral("Quantity:")).first().section(QStringLiteral(" List"), 0, 0);
                // The search is back while the pages are looked at, and the window knows it.
                shown << (f.workspace.search().isOn() ? "search on" : "search off")
                      << QString::number(f.workspace.recordCount()) << QString::number(searchSignals);
                preview->accept();
            }
            return int(QDialog::Accepted);
        };
        window.ViewButton->click();
        const int signalsBack = c.quantity == 6 ? 2 : 0; // off for the run, on again
        EXPECT_EQ(shown, QStringList({"Report Completed!", "Title and Media Number Report", "Page 1 of 1",
                                      QStringLiteral("Quantity: %1").arg(c.quantity), "search on", "3",
                                      QString::number(signalsBack)}))
            << c.choice;
        EXPECT_TRUE(f.workspace.search().isOn());
        EXPECT_EQ(f.workspace.recordCount(), 3);
    }
}

TEST(TMyReport, PrintToFileAsksForTheFileAndWritesIt)
{
    ReportWindowFixture f;
    TMyReport window(f.workspace);
    kvtest::ScriptedRunner runner(window);
    window.show();
    window.ReportBox->setCurrentRow(0);
    runner.onExec = [](QDialog &d) {
        if (auto *form = qobject_cast<TReportForm *>(&d)) {
            form->show();
            form->run();
            kvtest::saveShot(*form, "report-status.png");
        }
        return int(QDialog::Accepted);
    };
    const QString path = kvtest::tempPath("OUT.TXT");
    f.prompt.answerFile(path).answerFile(QString());
    window.FileButton->click();
    EXPECT_EQ(f.prompt.shown().front().caption, "Save Report As a Text File");
    EXPECT_TRUE(kvtest::readFile(path).contains("Gone with the Wind"));
    QFile::remove(path);
    window.FileButton->click(); // cancelled: nothing
    EXPECT_FALSE(QFile::exists(path));
}

TEST(TReportForm, CancelStopsAtThePageEndAndSaysSo)
{
    std::vector<kvtest::Video> many;
    for (int i = 0; i < 300; ++i)
        many.push_back({QString::number(i), "Film", "Drama", "PG", "1990", "1", "1"});
    kvtest::RunFixture f(many);
    kvtest::ScriptedPrompt prompt;
    PageStream stream;
    StreamOutput out(stream);
    TReportForm form(f.table, f.setup(kvtest::RunFixture::builtIn(1), OutputMode::View), out, prompt);
    EXPECT_EQ(form.CancelButton->text(), "Cancel");
    QTimer::singleShot(0, form.CancelButton, &QPushButton::click);
    EXPECT_FALSE(form.run());
    EXPECT_EQ(form.StatusLabel->text(), "Report Canceled!");
    EXPECT_EQ(form.CancelButton->text(), "OK");
    EXPECT_EQ(stream.pageCount(), 1);
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST(TReportForm, NoPrinterIsToldAndNothingIsReportedDone)
{
    qputenv("CUPS_SERVER", kvtest::tempPath("no-cups.sock").toUtf8());
    kvtest::RunFixture f;
    kvtest::ScriptedPrompt prompt;
    PrinterOutput out{QString()};
    TReportForm form(f.table, f.setup(kvtest::RunFixture::builtIn(1), OutputMode::Print), out, prompt);
    EXPECT_FALSE(form.run());
    qunsetenv("CUPS_SERVER");
    EXPECT_EQ(prompt.messages(), QStringList({"Error: No printers are defined, aborting print job."}));
    EXPECT_EQ(form.StatusLabel->text(), "Report Canceled!");
}

namespace {
std::vector<kvtest::Video> manyVideos(int n)
{
    std::vector<kvtest::Video> v;
    for (int i = 0; i < n; ++i)
        v.push_back({QString::number(i), QStringLiteral("Film %1").arg(i), "Drama", "PG", "1990", "1", "1"});
    return v;
}
} // namespace

// A long view run opens the preview on its first finished page and fills it as the run
// goes on; the status window closes by itself at the end and the preview stays.
TEST(TMyReport, ALongViewRunShowsItsFirstPageAtOnce)
{
    ReportWindowFixture f(manyVideos(200));
    TMyReport window(f.workspace);
    kvtest::ScriptedRunner runner(window);
    window.earlyPreviewMs = 0;
    window.show();
    window.ReportBox->setCurrentRow(0);
    QStringList early, after;
    runner.onShow = [&](QDialog &d) {
        auto &preview = dynamic_cast<TMyPreview &>(d);
        d.show();
        early << preview.PageLabel->text() << (preview.SBPrint->isEnabled() ? "print" : "no print");
        preview.resize(900, 600);
        kvtest::saveShot(preview, "preview-while-running.png");
    };
    runner.onExec = [&](QDialog &d) {
        if (auto *form = qobject_cast<TReportForm *>(&d)) {
            form->show();
            form->run();
            after << (form->isVisible() ? "status open" : "status closed");
        } else if (auto *preview = qobject_cast<TMyPreview *>(&d)) {
            after << (preview->isVisible() ? "already shown" : "new") << preview->PageLabel->text();
            preview->accept();
        }
        return int(QDialog::Accepted);
    };
    window.ViewButton->click();
    EXPECT_EQ(early, QStringList({QStringLiteral("Page 1 of 1 (counting\u2026)"), "no print"}));
    EXPECT_EQ(after, QStringList({"status closed", "already shown", "Page 1 of 4"}));
}

// Closing that preview while the run goes on cancels the run; nothing opens again.
TEST(TMyReport, ClosingTheEarlyPreviewCancelsTheRun)
{
    ReportWindowFixture f(manyVideos(200));
    TMyReport window(f.workspace);
    kvtest::ScriptedRunner runner(window);
    window.earlyPreviewMs = 0;
    window.show();
    window.ReportBox->setCurrentRow(0);
    runner.onShow = [](QDialog &d) {
        d.show();
        d.reject();
    };
    QStringList shown;
    runner.onExec = [&](QDialog &d) {
        if (auto *form = qobject_cast<TReportForm *>(&d)) {
            form->run();
            shown << form->StatusLabel->text();
        } else {
            shown << d.metaObject()->className();
        }
        return int(QDialog::Accepted);
    };
    window.ViewButton->click();
    EXPECT_EQ(shown, QStringList({"Report Canceled!"}));
}

// With "PDF File" as the printer choice, Print asks for the file and writes the report
// into it; a cancelled file dialog runs nothing.
TEST(TMyReport, PrintWritesAPdfFileWhenThatIsThePrinterChoice)
{
    ReportWindowFixture f(manyVideos(200));
    f.settings.printToPdf = true;
    TMyReport window(f.workspace);
    kvtest::ScriptedRunner runner(window);
    window.show();
    window.ReportBox->setCurrentRow(0);
    int runs = 0;
    runner.onExec = [&](QDialog &d) {
        if (auto *form = qobject_cast<TReportForm *>(&d)) {
            ++runs;
            form->run();
        }
        return int(QDialog::Accepted);
    };
    const QString pdf = kvtest::tempPath("REPORT.PDF");
    f.prompt.answerFile(pdf).answerFile(QString());
    window.PrintButton->click();
    EXPECT_EQ(f.prompt.shown().front().caption, "Save As PDF");
    EXPECT_EQ(kvtest::pdfInfo(pdf).pages, 4);
    EXPECT_TRUE(kvtest::pdfText(pdf).contains(QStringLiteral("Film 0")));
    window.PrintButton->click();
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(f.prompt.messages().isEmpty());
}

// A report's PDF file is named after the report, by the user, on the locale's paper
// until Printer Selection picks another.
TEST(TMyReport, PdfFileIsNamedAfterTheReportOnThePaperPrinterSelectionShows)
{
    ReportWindowFixture f(manyVideos(200));
    f.settings.printToPdf = true;
    TMyReport window(f.workspace);
    kvtest::ScriptedRunner runner(window);
    window.show();
    window.ReportBox->setCurrentRow(0);
    const QString chosen = QPageSize::name(QPageSize::Letter);
    QString shown;
    runner.onExec = [&](QDialog &d) {
        if (auto *form = qobject_cast<TReportForm *>(&d))
            form->run();
        if (auto *select = qobject_cast<TPrintSelect *>(&d)) {
            shown = select->PdfPaper->currentText();
            select->PdfPaper->setCurrentText(chosen);
            select->OkButton->click();
        }
        return int(QDialog::Accepted);
    };
    const QString first = kvtest::tempPath("FIRST.PDF"), second = kvtest::tempPath("SECOND.PDF");
    f.prompt.answerFile(first).answerFile(second);
    window.PrintButton->click();
    window.PrinterSetupButton->click();
    window.PrintButton->click();

    EXPECT_EQ(shown, QPageSize::name(localePaperId()));
    const QSizeF locale = localePaper() * 72, letter(612, 792);
    for (const auto &[path, points] : {std::pair{first, locale}, std::pair{second, letter}}) {
        const kvtest::PdfInfo info = kvtest::pdfInfo(path);
        EXPECT_EQ(info.title, window.ReportBox->item(0)->text());
        EXPECT_EQ(info.author, documentAuthor());
        EXPECT_NEAR(info.pointSize.width(), points.width(), 0.5) << path.toStdString();
        EXPECT_NEAR(info.pointSize.height(), points.height(), 0.5) << path.toStdString();
    }
    EXPECT_TRUE(f.prompt.messages().isEmpty());
}
