// The label side of the Reports window on a real catalogue, offscreen, with the scripted
// prompt answering: the grid shaped by kind and stock, media numbers typed and picked,
// kept in the settings, and sheets viewed and printed.
#include "../runfixture.h"
#include "scriptedrunner.h"
#include "dialogfixture.h"
#include "report_engine/pdftools.h"
#include "screenshot.h"
#include "workspacefixture.h"

#include "base/paths.h"
#include "reports/ui/choosemedia.h"
#include "reports/ui/labeldimsdialog.h"
#include "reports/ui/labeloptions.h"
#include "reports/ui/labelside.h"
#include "reports/ui/mypreview.h"
#include "reports/ui/myreport.h"
#include "reports/ui/reportform.h"

#include <QAction>
#include <QFileInfo>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

using namespace kv;
using kvtest::child;

namespace {

struct LabelWindowFixture : kvtest::WorkspaceFixture {
    kvtest::RunFixture catalogue;
    LabelWindowFixture()
    {
        prepareReportFile(programDir());
        // Counters and playing times, as a taped collection has them.
        kv::Table &t = catalogue.table;
        for (int i = 0; i < t.recordCount(); ++i) {
            t.moveTo(i);
            t.edit();
            t.setFieldText(QStringLiteral("CounterSta"), QStringLiteral("%1").arg(100 + 200 * i, 4, 10, QLatin1Char('0')));
            t.setFieldText(QStringLiteral("CounterSto"), QStringLiteral("%1").arg(290 + 200 * i, 4, 10, QLatin1Char('0')));
            t.setFieldText(QStringLiteral("RunTime"), QString::number(95 + 7 * i));
            t.post();
        }
        catalogue.table.close();
        workspace.master().setPath(catalogue.path);
        workspace.master().open();
    }
    QString &cell(int column, int row) { return settings.labelItems[size_t(column)][size_t(row)]; }
};

QString cellText(const TLabelSide &side, int row, int column)
{
    const QTableWidgetItem *item = side.MediaList->item(row, column);
    return item ? item->text() : QStringLiteral("(none)");
}

TEST(TLabelSide, GridRowsAndNotUsedCellFollowKindAndStock)
{
    LabelWindowFixture f;
    f.settings.whatToPrint = 4;
    f.settings.labelSize = 1;
    TMyReport window(f.workspace);
    window.show();
    TLabelSide &side = *window.labelSide();
    ASSERT_TRUE(side.isVisible());
    EXPECT_FALSE(window.NewButton->isVisible());
    EXPECT_EQ(side.NoteLabel->text(), "Double Click on a media number for a list of possible media numbers.");

    const auto stockButton = [&](const char *name) { return child<QRadioButton>(&side, name); };
    const struct {
        QRadioButton *click; // nothing: as the window opened
        int rows;
        std::optional<std::pair<int, int>> notUsed; // row, column
        int labelSize;
        const char *proLabel;
    } steps[] = {
        {nullptr, 8, std::pair{7, 1}, 1, "Prof. Labels W534"},
        {stockButton("ProLabel"), 7, std::pair{6, 1}, 3, "Prof. Labels W534"},
        {stockButton("AveryL7654"), 8, {}, 2, "Prof. Labels W534"},
        {stockButton("ZLabel"), 8, std::pair{7, 1}, 4, "Prof. Labels W534"},
        {window.FaceLabels, 5, {}, 4, "Prof. Labels W3116"},
        {stockButton("UserLabel"), 6, {}, 5, "Prof. Labels W3116"},
        {window.SpineLabels, 8, {}, 5, "Prof. Labels W534"},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.click ? step.click->objectName().toStdString() : "opened");
        if (step.click)
            step.click->click();
        EXPECT_EQ(side.MediaList->rowCount(), step.rows);
        EXPECT_EQ(f.settings.labelSize, step.labelSize);
        EXPECT_EQ(stockButton("ProLabel")->text(), step.proLabel);
        EXPECT_TRUE(side.StockButtons[size_t(step.labelSize - 1)]->isChecked());
        for (int row = 6; row < step.rows; ++row) {
            const bool notUsed = step.notUsed == std::pair{row, 1};
            EXPECT_EQ(cellText(side, row, 1), notUsed ? "*NOT USED*" : "") << row;
            EXPECT_EQ(bool(side.MediaList->item(row, 1)->flags() & Qt::ItemIsEditable), !notUsed) << row;
        }
    }
    EXPECT_EQ(f.settings.whatToPrint, 4);
    EXPECT_EQ(stockButton("Avery5199")->text(), "Avery 5199 (USA)");
}

TEST(TLabelSide, TypedAndPickedMediaNumbersAreKeptInTheSettings)
{
    LabelWindowFixture f;
    f.settings.whatToPrint = 3;
    f.settings.labelSize = 2;
    f.cell(1, 5) = QStringLiteral("C-001");
    {
        TMyReport window(f.workspace);
        kvtest::ScriptedRunner runner(window);
        QStringList opened;
        runner.onExec = [&](QDialog &d) {
            opened << d.metaObject()->className();
            if (auto *choose = qobject_cast<TChooseMedia *>(&d)) {
                child<QTableView>(choose, "MediaGrid")->selectRow(2); // the file's third record
                choose->OkButtonClick();
            }
            return d.result();
        };
        window.show();
        TLabelSide &side = *window.labelSide();
        EXPECT_EQ(cellText(side, 5, 1), "C-001");

        // typed: at most 15 characters
        side.MediaList->setCurrentCell(0, 0);
        side.MediaList->editItem(side.MediaList->item(0, 0));
        auto *editor = side.MediaList->findChild<QLineEdit *>();
        ASSERT_TRUE(editor);
        QTest::keyClicks(editor, "TAPE-0123456789-XYZ");
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents(); // the editor hands its text over from the event loop
        EXPECT_EQ(f.cell(0, 0), "TAPE-0123456789");

        // picked from the catalogue with a double click
        Q_EMIT side.MediaList->cellDoubleClicked(2, 1);
        EXPECT_EQ(opened, QStringList{"kv::TChooseMedia"});
        EXPECT_EQ(cellText(side, 2, 1), "A-003");
        EXPECT_EQ(f.cell(1, 2), "A-003");
        window.SpineLabels->click();
        window.accept();
    }

    // The kind, stock and grid come back in the next window and through the settings file.
    const QString ini = kvtest::tempPath("MASTER.INI");
    ASSERT_TRUE(writeSettings(ini, SettingsScope::Catalogue, f.settings));
    Settings read;
    readSettings(ini, SettingsScope::Catalogue, read);
    EXPECT_EQ(read.whatToPrint, 4);
    EXPECT_EQ(read.labelSize, 2);
    EXPECT_EQ(read.labelItems, f.settings.labelItems);
    TMyReport again(f.workspace);
    again.show();
    EXPECT_TRUE(again.SpineLabels->isChecked());
    EXPECT_TRUE(again.labelSide()->StockButtons[1]->isChecked());
    EXPECT_EQ(cellText(*again.labelSide(), 0, 0), "TAPE-0123456789");
    EXPECT_EQ(cellText(*again.labelSide(), 2, 1), "A-003");
}

TEST(TLabelSide, ViewShowsTheWholeCatalogueOnOnePageInTheLabelPreview)
{
    LabelWindowFixture f;
    f.settings.whatToPrint = 3;
    f.settings.labelSize = 1;
    f.cell(0, 0) = QStringLiteral("A-001"); // positions 1 and 3: two labels alike
    f.cell(1, 0) = QStringLiteral("B-001");
    f.cell(0, 1) = QStringLiteral("A-001");
    f.cell(1, 1) = QStringLiteral("C-001");
    f.cell(0, 2) = QStringLiteral("A-002");
    f.cell(1, 2) = QStringLiteral("Z-999"); // found nowhere: a blank label
    f.cell(0, 3) = QStringLiteral("B-002");
    f.cell(1, 3) = QStringLiteral("A-003");
    f.workspace.search().start(
        [](const RecordRef &r) { return r.text(QStringLiteral("Category")) == QLatin1String("Comedy"); });
    ASSERT_EQ(f.workspace.recordCount(), 2);

    TMyReport window(f.workspace);
    kvtest::ScriptedRunner runner(window);
    int previews = 0;
    QStringList status;
    runner.onExec = [&](QDialog &d) {
        // The sheet goes through the status window first.
        if (auto *form = qobject_cast<TReportForm *>(&d)) {
            form->show();
            form->run();
            status << form->StatusLabel->text();
            return int(QDialog::Accepted);
        }
        auto *preview = qobject_cast<TMyPreview *>(&d);
        EXPECT_NE(preview, nullptr) << d.metaObject()->className();
        if (!preview)
            return int(QDialog::Rejected);
        ++previews;
        preview->show();
        EXPECT_EQ(preview->windowTitle(), "Label Printing");
        EXPECT_FALSE(preview->SBNextPage->isEnabled());
        EXPECT_FALSE(preview->MenuPrintRange->isEnabled());
        const PageStream *stream = preview->surface()->stream();
        EXPECT_NE(stream, nullptr);
        if (!stream)
            return int(QDialog::Rejected);
        EXPECT_EQ(stream->pageCount(), 1);
        EXPECT_NEAR(stream->pageSize().height(), 11.0, 1e-6);
        const QString page = stream->pageLines(0).join('\n');
        EXPECT_EQ(page.count("Casablanca"), 2) << page.toStdString();
        for (const char *once : {"Vertigo", "Gone with the Wind", "Some Like It Hot", "The Third Man"})
            EXPECT_EQ(page.count(QLatin1String(once)), 1) << once;
        EXPECT_FALSE(page.contains("Z-999"));
        preview->resize(640, 760);
        preview->SBZoomPage->click();
        kvtest::saveShot(*preview, "label-preview.png");
        return int(QDialog::Accepted);
    };
    window.show();
    kvtest::saveShot(window, "label-side.png");
    window.ViewButton->click();
    EXPECT_EQ(status, QStringList{"Report Completed!"});
    EXPECT_EQ(previews, 1);
    EXPECT_TRUE(f.prompt.messages().isEmpty()) << f.prompt.messages().join('\n').toStdString();
    EXPECT_TRUE(f.workspace.search().isOn());
    EXPECT_EQ(f.workspace.recordCount(), 2);
}

// The scan runs inside the status window, which says so; its Cancel stops the scan, and
// nothing is shown or printed.
TEST(TLabelSide, CancelDuringTheScanStopsTheRun)
{
    LabelWindowFixture f;
    f.settings.whatToPrint = 3;
    f.cell(0, 0) = QStringLiteral("A-001");
    TMyReport window(f.workspace);
    kvtest::ScriptedRunner runner(window);
    QString whileCancelled, after;
    int previews = 0;
    runner.onExec = [&](QDialog &d) {
        auto *form = qobject_cast<TReportForm *>(&d);
        if (!form) {
            ++previews;
            return int(QDialog::Accepted);
        }
        QTimer::singleShot(0, form, [&, form] {
            whileCancelled = form->StatusLabel->text();
            form->CancelButton->click();
        });
        form->show();
        form->run();
        after = form->StatusLabel->text();
        return int(QDialog::Accepted);
    };
    window.show();
    window.ViewButton->click();
    EXPECT_EQ(whileCancelled, "Scanning database for media numbers.");
    EXPECT_EQ(after, "Report Canceled!");
    EXPECT_EQ(previews, 0);
    EXPECT_TRUE(f.prompt.messages().isEmpty());
}

// Print goes where reports go: with "PDF File" as the printer choice, into the file asked
// for, on the stock's paper; a cancelled file dialog prints nothing.
TEST(TLabelSide, PrintFollowsThePrinterChoiceOnTheStocksPaper)
{
    LabelWindowFixture f;
    f.settings.whatToPrint = 4;
    f.settings.labelSize = 2;
    f.settings.printToPdf = true;
    f.cell(0, 0) = QStringLiteral("B-002");
    TMyReport window(f.workspace);
    kvtest::ScriptedRunner runner(window);
    int runs = 0;
    runner.onExec = [&](QDialog &d) {
        if (auto *form = qobject_cast<TReportForm *>(&d))
            runs += form->run() ? 1 : 0;
        return int(QDialog::Accepted);
    };
    window.show();
    const QString pdf = kvtest::tempPath("sheet.pdf");
    f.prompt.answerFile(QString());
    window.PrintButton->click();
    EXPECT_FALSE(QFile::exists(pdf));
    f.prompt.answerFile(pdf);
    window.MenuPrint->trigger();
    ASSERT_TRUE(QFile::exists(pdf));
    const kvtest::PdfInfo info = kvtest::pdfInfo(pdf);
    EXPECT_EQ(info.pages, 1);
    EXPECT_NEAR(info.pointSize.height(), 841.89, 0.5); // A4
    EXPECT_EQ(info.title, "Spine Labels - " + QFileInfo(f.catalogue.path).fileName());
    EXPECT_TRUE(kvtest::pdfText(pdf).contains("The Apartment"));
    ASSERT_EQ(f.prompt.shown().size(), 2u);
    EXPECT_EQ(f.prompt.shown().back().caption, "Save As PDF");
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(f.prompt.messages().isEmpty());
}

TEST(TLabelSide, RefusedRunsSayWhyAndFocusTheOptionsButton)
{
    const struct {
        bool items;
        const char *message;
    } cases[] = {
        {false, "Error: No items are selected for print.  Please select printing criteria via the \"Options\" "
                "button."},
        {true, "Error: No media numbers have been entered.  Please enter/choose some media numbers."},
    };
    for (const auto &c : cases) {
        LabelWindowFixture f;
        f.settings.whatToPrint = 3;
        f.cell(1, 7) = QStringLiteral("A-001"); // row 8 is not shown for Avery 5199 face labels
        for (const LabelItem &item : labelItems())
            f.settings.*item.flag = c.items;
        TMyReport window(f.workspace);
        kvtest::ScriptedRunner runner(window);
        int opened = 0;
        runner.onExec = [&](QDialog &) { return ++opened, int(QDialog::Rejected); };
        window.show();
        window.ViewButton->setFocus();
        window.ViewButton->click();
        EXPECT_EQ(opened, 0);
        EXPECT_EQ(f.prompt.messages(), QStringList{c.message});
        EXPECT_EQ(f.prompt.beeps(), 1);
        EXPECT_EQ(window.focusWidget(), window.FileButton);
    }
}

TEST(TLabelSide, OptionsAndDefineOpenTheirDialogs)
{
    LabelWindowFixture f;
    f.settings.whatToPrint = 4;
    TMyReport window(f.workspace);
    kvtest::ScriptedRunner runner(window);
    QStringList opened;
    runner.onExec = [&](QDialog &d) {
        opened << d.metaObject()->className();
        return int(QDialog::Rejected);
    };
    window.show();
    window.FileButton->click();
    window.MenuPrintToFile->trigger();
    window.labelSide()->DefineButton->click();
    EXPECT_EQ(opened, QStringList({"kv::TLabelOptions", "kv::TLabelOptions", "kv::TLabelDims"}));
}

} // namespace
