#pragma once
// Where the engine's pages go, behind one interface: the in-memory page stream that
// the preview shows, a PDF file, a printer (report_engine/ui). The engine lays every
// page out in the stream of its output; an output that draws pages (PDF, printer)
// draws each finished page at once and frees it, so a long run keeps one page.
#include "report_engine/pagestream.h"
#include "report_engine/pdffile.h"

#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QSizeF>
#include <QString>
#include <memory>

class QPagedPaintDevice;

namespace kv {

// Paper used when no printer says otherwise: US Letter, in inches.
inline constexpr double kLetterWidth = 8.5;
inline constexpr double kLetterHeight = 11.0;

class PageOutput {
public:
    virtual ~PageOutput();

    // The selected paper, portrait, in inches.
    virtual QSizeF paperSize() const { return QSizeF(kLetterWidth, kLetterHeight); }
    // Before the first page; false with errorString() when the output cannot start.
    virtual bool begin(const QString &jobTitle, QPageLayout::Orientation orientation) = 0;
    // Page index of stream() is finished.
    virtual bool takePage(int index) = 0;
    // After the last page; false with errorString() when the output failed.
    virtual bool end() = 0;
    // Instead of end() when the run failed: what the output can take back it drops (a
    // file is not written, an old one of its name stays).
    virtual void discard() { end(); }

    virtual PageStream &stream() = 0;
    QString errorString() const { return error_; }

protected:
    QString error_;
};

// Pages are kept in a stream the caller owns (the preview's stream).
class StreamOutput final : public PageOutput {
public:
    explicit StreamOutput(PageStream &target, QSizeF paper = QSizeF(kLetterWidth, kLetterHeight))
        : target_(target), paper_(paper) {}
    QSizeF paperSize() const override { return paper_; }
    bool begin(const QString &, QPageLayout::Orientation) override;
    bool takePage(int) override { return true; }
    bool end() override { return true; }
    PageStream &stream() override { return target_; }

private:
    PageStream &target_;
    QSizeF paper_;
};

// Pages are laid out and dropped: a run whose product is elsewhere (the text file).
class DiscardOutput final : public PageOutput {
public:
    explicit DiscardOutput(QSizeF paper = QSizeF(kLetterWidth, kLetterHeight)) : paper_(paper) {}
    QSizeF paperSize() const override { return paper_; }
    bool begin(const QString &, QPageLayout::Orientation) override;
    bool takePage(int index) override;
    bool end() override { return true; }
    PageStream &stream() override { return stream_; }

private:
    QSizeF paper_;
    PageStream stream_;
};

// An output that draws each page on a paged device (a PDF writer, a printer).
class PaintedOutput : public PageOutput {
public:
    bool takePage(int index) override;
    PageStream &stream() override { return stream_; }

protected:
    // Starts painting on device; false when it does not start.
    bool startPainting(QPagedPaintDevice *device);
    bool finishPainting();
    QPainter painter_;
    PageStream stream_;
    int painted_ = 0;
    int pageCopies_ = 1; // each page drawn this many times (copies in a file)
    double dpi_ = 72;
};

// A PDF file (PdfFile), written by Qt with its text kept searchable, titled after the
// run's job; on the paper of the locale unless another is given.
class PdfOutput final : public PaintedOutput {
public:
    explicit PdfOutput(const QString &path, QSizeF paper = localePaper());
    ~PdfOutput() override;
    QSizeF paperSize() const override { return paper_; }
    bool begin(const QString &jobTitle, QPageLayout::Orientation orientation) override;
    bool takePage(int index) override;
    bool end() override;
    void discard() override;

private:
    QString path_;
    QSizeF paper_;
    PdfFile file_;
};

} // namespace kv
