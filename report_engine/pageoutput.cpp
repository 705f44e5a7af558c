#include "pageoutput.h"

#include <QPageSize>
#include <QPdfWriter>

namespace kv {

namespace {
constexpr int kPdfResolution = 1200;

QSizeF oriented(QSizeF paper, QPageLayout::Orientation orientation)
{
    return orientation == QPageLayout::Landscape ? paper.transposed() : paper;
}
} // namespace

PageOutput::~PageOutput() = default;

bool StreamOutput::begin(const QString &, QPageLayout::Orientation orientation)
{
    target_.clear();
    target_.setPageSize(oriented(paper_, orientation));
    return true;
}

bool DiscardOutput::begin(const QString &, QPageLayout::Orientation orientation)
{
    stream_.clear();
    stream_.setPageSize(oriented(paper_, orientation));
    return true;
}

bool DiscardOutput::takePage(int index)
{
    stream_.releasePage(index);
    return true;
}

bool PaintedOutput::startPainting(QPagedPaintDevice *device)
{
    painted_ = 0;
    if (!painter_.begin(device))
        return false;
    dpi_ = device->logicalDpiX();
    return true;
}

bool PaintedOutput::takePage(int index)
{
    auto *device = static_cast<QPagedPaintDevice *>(painter_.device());
    if (!device)
        return false;
    if (painted_ > 0 && !device->newPage())
        return false;
    stream_.paintPage(painter_, index, dpi_);
    stream_.releasePage(index);
    ++painted_;
    return true;
}

bool PaintedOutput::finishPainting()
{
    return !painter_.isActive() || painter_.end();
}

PdfOutput::PdfOutput(const QString &path, QSizeF paper) : path_(path), paper_(paper), file_(path) {}

PdfOutput::~PdfOutput()
{
    if (painter_.isActive())
        painter_.end();
}

bool PdfOutput::begin(const QString &jobTitle, QPageLayout::Orientation orientation)
{
    stream_.clear();
    stream_.setPageSize(oriented(paper_, orientation));
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        error_ = file_.errorString();
        return false;
    }
    writer_ = std::make_unique<QPdfWriter>(&file_);
    writer_->setResolution(kPdfResolution);
    writer_->setTitle(jobTitle);
    writer_->setCreator(QStringLiteral("Kestrova Videos 97"));
    writer_->setPageLayout(QPageLayout(QPageSize(paper_, QPageSize::Inch), orientation, QMarginsF()));
    if (!startPainting(writer_.get())) {
        error_ = QStringLiteral("Cannot write %1.").arg(path_);
        return false;
    }
    return true;
}

bool PdfOutput::end()
{
    const bool painted = finishPainting();
    writer_.reset();
    const bool flushed = file_.flush();
    const bool ok = painted && flushed && file_.error() == QFileDevice::NoError;
    if (!ok)
        error_ = file_.errorString();
    file_.close();
    return ok;
}

} // namespace kv
