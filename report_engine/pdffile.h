#pragma once
// A PDF file as the program writes it: titled after its document, with the user as its
// author and the program as its creator, PDF/A-1b so that archives keep it. Qt paints
// the pages; the author goes in afterwards (Qt's writer has no place for one) as an
// incremental update whose information dictionary replaces Qt's. Nothing replaces an
// old file of the name until the new one is complete.
#include "base/atomicfile.h"

#include <QDateTime>
#include <QPageLayout>
#include <QPageSize>
#include <QSizeF>
#include <QString>
#include <memory>

class QPdfWriter;

namespace kv {

// Paper for a PDF file when nobody chose one: Letter where the system's locale measures
// in US units, A4 everywhere else; its size portrait, in inches.
QPageSize::PageSizeId localePaperId();
QSizeF localePaper();
// The PDF author: the account's full name, else its login name.
QString documentAuthor();
// The PDF creator: the program and its version.
QString documentCreator();

class PdfFile {
public:
    explicit PdfFile(const QString &path);
    ~PdfFile();

    // Opens the file for painting pages of paper (portrait, inches) in orientation;
    // false with errorString(). The pages go to a temporary file beside it.
    bool open(const QString &title, QSizeF paper, QPageLayout::Orientation orientation);
    QPdfWriter *device() const { return writer_.get(); }
    // After the painter has ended: the document information, and the complete file put
    // in place of an old one of its name. False with errorString() (the old file as it
    // was) when anything could not be written.
    bool close();
    // Drops what was written; an old file of the name stays. Also when never closed.
    void discard();
    // A painter on device() failed: errorString() says why (the disk's reason when it
    // refused the bytes). The file is to be discarded once the painter has ended.
    void failed();
    QString errorString() const { return error_; }

private:
    bool addDocumentInfo();

    QString path_;
    QString title_;
    QDateTime created_; // to the second, as both the dictionary and the XMP packet give it
    AtomicFile file_;
    std::unique_ptr<QPdfWriter> writer_;
    QString error_;
};

} // namespace kv
