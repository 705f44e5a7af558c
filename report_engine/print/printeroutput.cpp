#include "report_engine/print/printeroutput.h"

#include "report_engine/reportengine.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinterInfo>

namespace kv {

QStringList printerNames() { return QPrinterInfo::availablePrinterNames(); }

QString defaultPrinterName() { return QPrinterInfo::defaultPrinterName(); }

QString choosePrinter(bool useDefault, int index)
{
    const QStringList names = printerNames();
    if (names.isEmpty())
        return QString();
    const QString fallback = defaultPrinterName().isEmpty() ? names.first() : defaultPrinterName();
    if (useDefault || index < 0 || index >= names.size())
        return fallback;
    return names.at(index);
}

QSizeF printerPaper(const QString &printerName)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(printerName);
    const QPageSize size = info.isNull() ? QPageSize() : info.defaultPageSize();
    if (!size.isValid())
        return QSizeF(kLetterWidth, kLetterHeight);
    return size.size(QPageSize::Inch);
}

namespace {
// Opens a printer; false with error when it cannot print.
std::unique_ptr<QPrinter> openPrinter(const QString &name, QString &error)
{
    if (printerNames().isEmpty()) {
        error = QString::fromLatin1(ReportEngine::kNoPrinters);
        return nullptr;
    }
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setPrinterName(name.isEmpty() ? defaultPrinterName() : name);
    if (!printer->isValid()) {
        error = QString::fromLatin1(ReportEngine::kNoPrinters);
        return nullptr;
    }
    printer->setFullPage(true);
    printer->setCreator(documentCreator());
    return printer;
}

QString cannotStart(const QString &printerName)
{
    return QStringLiteral("The printer \"%1\" could not start the print job.").arg(printerName);
}
} // namespace

PrinterOutput::PrinterOutput(const QString &printerName, const QString &pdfPath, QSizeF paper)
    : printerName_(printerName), pdfPath_(pdfPath),
      paper_(!paper.isEmpty()     ? paper
             : !pdfPath.isEmpty() ? localePaper()
                                  : printerPaper(printerName.isEmpty() ? defaultPrinterName() : printerName))
{
}

PrinterOutput::~PrinterOutput()
{
    if (painter_.isActive())
        painter_.end();
}

void PrinterOutput::setCopies(int copies) { copies_ = std::max(1, copies); }

bool PrinterOutput::begin(const QString &jobTitle, QPageLayout::Orientation orientation)
{
    stream_.clear();
    stream_.setPageSize(orientation == QPageLayout::Landscape ? paper_.transposed() : paper_);
    pageCopies_ = 1;
    if (!pdfPath_.isEmpty()) {
        // A file has no copy count: it holds each page as often as copies were asked for.
        pageCopies_ = copies_;
        file_ = std::make_unique<PdfFile>(pdfPath_);
        if (!file_->open(jobTitle, paper_, orientation)) {
            error_ = file_->errorString();
            return false;
        }
        if (!startPainting(file_->device())) {
            error_ = cannotWriteMessage(pdfPath_, QStringLiteral("The PDF writer did not start."));
            return false;
        }
        return true;
    }
    printer_ = openPrinter(printerName_, error_);
    if (!printer_)
        return false;
    printer_->setDocName(jobTitle);
    printer_->setPageLayout(QPageLayout(QPageSize(paper_, QPageSize::Inch), orientation, QMarginsF()));
    printer_->setCopyCount(copies_);
    if (!startPainting(printer_.get())) {
        error_ = cannotStart(printer_->printerName());
        printer_.reset();
        return false;
    }
    return true;
}

bool PrinterOutput::end()
{
    bool ok = finishPainting();
    if (!ok)
        error_ = QStringLiteral("The print job could not be finished.");
    if (file_ && !ok) {
        file_->failed();
        error_ = file_->errorString();
    } else if (file_ && !file_->close()) {
        ok = false;
        error_ = file_->errorString();
    }
    printer_.reset();
    file_.reset();
    return ok;
}

bool PrinterOutput::takePage(int index)
{
    if (PaintedOutput::takePage(index))
        return true;
    if (file_) {
        file_->failed();
        error_ = file_->errorString();
    } else {
        error_ = QStringLiteral("The print job could not be finished.");
    }
    return false;
}

void PrinterOutput::discard()
{
    if (printer_ && painter_.isActive())
        printer_->abort();
    finishPainting();
    if (file_)
        file_->discard();
    printer_.reset();
    file_.reset();
}

bool StreamPrinter::print(const PageStream &stream, int first, int last, const QString &printerName,
                          const QString &jobTitle, const QString &pdfPath)
{
    if (busy_) {
        error_ = QStringLiteral("Previous print job has not yet finished.  Try again later.");
        return false;
    }
    busy_ = true;
    struct Release {
        bool &b;
        ~Release() { b = false; }
    } release{busy_};
    first = std::max(first, 1);
    last = std::min(last, stream.pageCount());
    const QSizeF size = stream.pageSize();
    const bool landscape = size.width() > size.height();
    const QSizeF paper = landscape ? size.transposed() : size;
    const QPageLayout::Orientation orientation = landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    std::unique_ptr<QPrinter> printer;
    std::unique_ptr<PdfFile> file;
    QPagedPaintDevice *device = nullptr;
    if (pdfPath.isEmpty()) {
        if (!(printer = openPrinter(printerName, error_)))
            return false;
        printer->setDocName(jobTitle);
        printer->setPageLayout(QPageLayout(QPageSize(paper, QPageSize::Inch), orientation, QMarginsF()));
        device = printer.get();
    } else {
        file = std::make_unique<PdfFile>(pdfPath);
        if (!file->open(jobTitle, paper, orientation)) {
            error_ = file->errorString();
            return false;
        }
        device = file->device();
    }
    QPainter painter;
    if (!painter.begin(device)) {
        error_ = printer ? cannotStart(printer->printerName())
                         : cannotWriteMessage(pdfPath, QStringLiteral("The PDF writer did not start."));
        return false;
    }
    for (int page = first; page <= last; ++page) {
        if (page > first)
            device->newPage();
        stream.paintPage(painter, page - 1, device->logicalDpiX());
        if (afterPage)
            afterPage();
    }
    const bool ended = painter.end();
    if (!ended && file)
        file->failed();
    if (!ended || (file && !file->close())) {
        error_ = file && !file->errorString().isEmpty() ? file->errorString()
                                                         : QStringLiteral("The print job could not be finished.");
        return false;
    }
    return true;
}

} // namespace kv
