#pragma once
// The engine's printer output: pages drawn on a CUPS queue through Qt PrintSupport, or
// into a PDF file (PdfFile) when the printer choice is one. Also the system's printers by
// index, and the stream printer that prints pages of a recorded page stream.
#include "report_engine/pageoutput.h"
#include "report_engine/reportengine.h"

#include <QPrinter>
#include <QStringList>
#include <functional>
#include <memory>

namespace kv {

// The system's printer names in the order "Printer Index" counts them.
QStringList printerNames();
// The default printer's name; empty when there is none.
QString defaultPrinterName();
// The printer a run uses: the default one, or the one at index (the default one when
// index is out of range). Empty when there are no printers.
QString choosePrinter(bool useDefault, int index);
// The printer's paper in portrait, inches; Letter when it does not say.
QSizeF printerPaper(const QString &printerName);

class PrinterOutput final : public PaintedOutput {
public:
    // printerName empty: the default printer. pdfPath not empty: that PDF file instead
    // (the printer choice "PDF File"). paper, when given, is the paper the job asks for
    // (a label stock's, the one chosen for PDF files) instead of the printer's own, or
    // the locale's for a PDF file.
    explicit PrinterOutput(const QString &printerName, const QString &pdfPath = QString(), QSizeF paper = QSizeF());
    ~PrinterOutput() override;
    QSizeF paperSize() const override { return paper_; }
    void setCopies(int copies);
    bool begin(const QString &jobTitle, QPageLayout::Orientation orientation) override;
    bool takePage(int index) override;
    bool end() override;
    void discard() override;

private:
    QString printerName_;
    QString pdfPath_;
    QSizeF paper_;
    int copies_ = 1;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<PdfFile> file_;
};

// Prints pages of a recorded stream. Busy while a job is being handed over: a caller
// asks before starting another.
class StreamPrinter {
public:
    bool busy() const { return busy_; }
    // Pages first ... last (1-based) of stream, on the stream's paper; false with
    // errorString(). pdfPath not empty: into that PDF file instead of the printer.
    bool print(const PageStream &stream, int first, int last, const QString &printerName,
               const QString &jobTitle = QString::fromLatin1(ReportEngine::kJobTitle),
               const QString &pdfPath = QString());
    QString errorString() const { return error_; }
    // Called after each page handed over, so that a window can stay responsive while a
    // long job prints.
    std::function<void()> afterPage;

private:
    bool busy_ = false;
    QString error_;
};

} // namespace kv
