#pragma once
// The Reports window (report side): the list of report definitions, what to print (the
// whole catalogue or the search result; the label kinds hand over to the label side),
// the current sort order, and View, Print and Print To File, each a run through the
// status window; View then opens the preview on the run's pages.
#include "app/style/styleddialog.h"
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

class TMyReport : public StyledDialog {
    Q_OBJECT
public:
    static constexpr char kNoSortOrder[] = "No Sort Order Selected";
    static constexpr char kSaveTitle[] = "Save Report As a Text File";

    explicit TMyReport(Workspace &ws, QWidget *parent = nullptr);

    // The label side's page, shown instead of the report controls when a label kind is
    // checked; the label side fills it.
    QWidget *labelPage() const { return labelPage_; }
    TLabelSide *labelSide() const { return labelSide_; }
    // When a label kind is checked, View, Print and Options go here with the mode.
    std::function<void(int mode)> onLabelRun;
    // New Report and Modify Report: disabled until set.
    void setDefinitionEditors(std::function<void()> newReport, std::function<void()> modifyReport);
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
    QStackedWidget *sides_;
    QWidget *labelPage_;
    TLabelSide *labelSide_ = nullptr;
    std::function<void()> newReport_, modifyReport_;
    TReportDefRec current_; // the definition the editors work on
    QPageSize::PageSizeId pdfPaper_; // of PDF files, as Printer Selection shows it
};

} // namespace kv
