#include "printeroutput.h"

#include "report_engine/reportengine.h"

#include <QPageSize>
#include <QPainter>
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
// Opens a printer (or a PDF file through it); false with error when it cannot print.
std::unique_ptr<QPrinter> openPrinter(const QString &name, const QString &pdfPath, QString &error)
{
    if (pdfPath.isEmpty() && printerNames().isEmpty()) {
        error = QString::fromLatin1(ReportEngine::kNoPrinters);
        return nullptr;
    }
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (pdfPath.isEmpty()) {
        printer->setPrinterName(name.isEmpty() ? defaultPrinterName() : name);
        if (!printer->isValid()) {
            error = QString::fromLatin1(ReportEngine::kNoPrinters);
            return nullptr;
        }
    } else {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdfPath);
    }
    printer->setFullPage(true);
    return printer;
}
} // namespace

PrinterOutput::PrinterOutput(const QString &printerName, const QString &pdfPath, QSizeF paper)
    : printerName_(printerName), pdfPath_(pdfPath),
      paper_(!paper.isEmpty()     ? paper
             : pdfPath.isEmpty() ? printerPaper(printerName.isEmpty() ? defaultPrinterName() : printerName)
                                 : QSizeF(kLetterWidth, kLetterHeight))
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
    printer_ = openPrinter(printerName_, pdfPath_, error_);
    if (!printer_)
        return false;
    printer_->setDocName(jobTitle);
    printer_->setPageLayout(QPageLayout(QPageSize(paper_, QPageSize::Inch), orientation, QMarginsF()));
    printer_->setCopyCount(copies_);
    if (!startPainting(printer_.get())) {
        error_ = pdfPath_.isEmpty() ? QStringLiteral("The printer \"%1\" could not start the print job.")
                                          .arg(printer_->printerName())
                                    : QStringLiteral("Cannot write %1.").arg(pdfPath_);
        printer_.reset();
        return false;
    }
    return true;
}

bool PrinterOutput::end()
{
    const bool ok = finishPainting();
    if (!ok)
        error_ = QStringLiteral("The print job could not be finished.");
    printer_.reset();
    return ok;
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
    std::unique_ptr<QPrinter> printer = openPrinter(printerName, pdfPath, error_);
    if (!printer)
        return false;
    const QSizeF size = stream.pageSize();
    const bool landscape = size.width() > size.height();
    printer->setDocName(jobTitle);
    printer->setPageLayout(QPageLayout(QPageSize(landscape ? size.transposed() : size, QPageSize::Inch),
                                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF()));
    QPainter painter;
    if (!painter.begin(printer.get())) {
        error_ = pdfPath.isEmpty()
                     ? QStringLiteral("The printer \"%1\" could not start the print job.").arg(printer->printerName())
                     : QStringLiteral("Cannot write %1.").arg(pdfPath);
        return false;
    }
    for (int page = first; page <= last; ++page) {
        if (page > first)
            printer->newPage();
        stream.paintPage(painter, page - 1, printer->logicalDpiX());
        if (afterPage)
            afterPage();
    }
    if (!painter.end()) {
        error_ = QStringLiteral("The print job could not be finished.");
        return false;
    }
    return true;
}

} // namespace kv
