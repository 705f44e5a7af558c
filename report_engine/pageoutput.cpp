#include "pageoutput.h"

#include <QPdfWriter>

namespace kv {

namespace {
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
    for (int copy = 0; copy < pageCopies_; ++copy) {
        if (painted_ > 0 && !device->newPage())
            return false;
        stream_.paintPage(painter_, index, dpi_);
        ++painted_;
    }
    stream_.releasePage(index);
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
    if (!file_.open(jobTitle, paper_, orientation)) {
        error_ = file_.errorString();
        return false;
    }
    if (!startPainting(file_.device())) {
        error_ = cannotWriteMessage(path_, QStringLiteral("The PDF writer did not start."));
        return false;
    }
    return true;
}

bool PdfOutput::end()
{
    if (!finishPainting()) {
        file_.failed();
        error_ = file_.errorString();
        file_.discard();
        return false;
    }
    if (!file_.close()) {
        error_ = file_.errorString();
        return false;
    }
    return true;
}

bool PdfOutput::takePage(int index)
{
    if (PaintedOutput::takePage(index))
        return true;
    file_.failed();
    error_ = file_.errorString();
    return false;
}

void PdfOutput::discard()
{
    finishPainting();
    file_.discard();
}

} // namespace kv
