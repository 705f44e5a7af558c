#pragma once
// The preview window: a page stream shown page by page at a zoom, printed from the
// stream (the current page, all pages, or a range) without running the report again.
#include "app/settings/settings.h"
#include "base/prompt.h"
#include "report_engine/ui/previewsurface.h"
#include "report_engine/print/printeroutput.h"

#include <QDialog>

class QAction;
class QLabel;
class QLineEdit;
class QToolButton;

namespace kv {

class TMyPreview : public QDialog {
    Q_OBJECT
public:
    static constexpr char kLabelCaption[] = "Label Printing";
    // After the page count while the run still adds pages.
    static constexpr char kCounting[] = " (counting\u2026)";
    static constexpr char kBusy[] = "Previous print job has not yet finished.  Try again later.";

    // caption: the report's name, also the title of what it prints; a label run shows
    // "Label Printing" (its caption titles the print) and pages through nothing.
    TMyPreview(const PageStream &stream, const QString &caption, bool labelRun, Settings &settings, Prompt &prompt,
               QWidget *parent = nullptr);

    PreviewSurface *surface() const { return surface_; }
    StreamPrinter &streamPrinter() { return printer_; }

    QToolButton *SBZoomIn, *SBZoomOut, *SBZoomPageWidth, *SBZoomPage, *SBPrevPage, *SBNextPage, *SBPrint, *SBDone;
    QLineEdit *ZoomEdit;
    QLineEdit *PageEdit;
    QLabel *PageLabel;
    QAction *MenuPrintPage, *MenuPrintReport, *MenuPrintRange, *MenuExit;
    QAction *MenuPrevious, *MenuNext, *MenuFirst, *MenuLast;
    QAction *MenuUseColor, *MenuZoomIn, *MenuZoomOut, *MenuZoomPageWidth, *MenuZoomWholePage;

    // While the run that makes the stream goes on: the first count pages are finished
    // and can be looked at; printing waits for the end. Negative: the run has ended.
    void setPagesReady(int count);

    void PrintPage();
    void PrintReport();
    void PrintRange();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void printPages(int first, int last);
    void showPage(int page);
    void showZoom(double zoom);
    void PageEditDone();
    void ZoomEditDone();

    const PageStream &stream_;
    Settings &settings_;
    Prompt &prompt_;
    PreviewSurface *surface_;
    StreamPrinter printer_;
    QString title_; // of the print job and of a PDF file
    bool opened_ = false;
    bool labelRun_ = false;
    bool counting_ = false;
};

} // namespace kv
