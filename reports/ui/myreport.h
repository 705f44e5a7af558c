#pragma once
// The Reports window (report side): the list of report definitions, what to print (the
// whole catalogue or the search result; the label kinds hand over to the label side),
// the current sort order, and View, Print and Print To File, each a run through the
// status window; View then opens the preview on the run's pages.
#include "app/workspace/workspace.h"
#include "reports/reportrun.h"

#include <QDialog>
#include <QPageSize>
#include <functional>

class QAction;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace kv {

class TLabelSide;

class TMyReport : public QDialog {
    Q_OBJECT
public:
    using Styler = std::function<void(QWidget *window)>;
    static constexpr char kNoSortOrder[] = "No Sort Order Selected";
    static constexpr char kSaveTitle[] = "Save Report As a Text File";

    TMyReport(Workspace &ws, Styler styler = {}, QWidget *parent = nullptr);

    // The label side's page, shown instead of the report controls when a label kind is
    // checked; the label side fills it.
    QWidget *labelPage() const { return labelPage_; }
    TLabelSide *labelSide() const { return labelSide_; }
    // When a label kind is checked, View, Print and Options go here with the mode.
    std::function<void(int mode)> onLabelRun;
    // New Report and Modify Report: disabled until set.
    void setDefinitionEditors(std::function<void()> newReport, std::function<void()> modifyReport);
    // Shows a window modally (the status window, the preview); tests answer them here.
    std::function<int(QDialog &)> execDialog = [](QDialog &d) { return d.exec(); };
    // Shows the preview of a long view run while the run goes on; tests look at it here.
    std::function<void(QDialog &)> showDialog = [](QDialog &d) { d.show(); };
    // A view run that lasts longer than this opens the preview on its first page.
    int earlyPreviewMs = 400;

    // A run in mode 1 (print), 2 (view) or 3 (text file, into textPath).
    void DoIt(int mode, const QString &textPath = QString());
    // Fills the list from the definitions file, keeping the selection where it can.
    void loadReportList();

    QListWidget *ReportBox;
    QRadioButton *ExportEntire, *ExportSearch, *FaceLabels, *SpineLabels;
    QLabel *SortOrderLabel;
    QPushButton *NewButton, *ModifyButton, *ViewButton, *PrintButton, *FileButton, *PrinterSetupButton,
        *ExitButton, *HelpButton;
    QAction *MenuNew, *MenuModify, *MenuView, *MenuPrint, *MenuPrintToFile, *MenuPrinterSetup, *MenuExit,
        *MenuHelp;

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void buildControls();
    void buildLabelSide();
    void WhatToPrintClick();
    void ViewButtonClick() { run(int(OutputMode::View)); }
    void PrintButtonClick() { run(int(OutputMode::Print)); }
    void FileButtonClick();
    void PrinterSetupClick();
    void run(int mode);
    void editDefinition(int index);
    bool labelKind() const;
    void showSide();
    QString sortOrderText() const;

    Workspace &ws_;
    Styler styler_;
    QStackedWidget *sides_;
    QWidget *labelPage_;
    TLabelSide *labelSide_ = nullptr;
    std::function<void()> newReport_, modifyReport_;
    TReportDefRec current_; // the definition the editors work on
    QPageSize::PageSizeId pdfPaper_; // of PDF files, as Printer Selection shows it
};

} // namespace kv
