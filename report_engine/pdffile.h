#pragma once
// A PDF file as the program writes it: titled after its document, with the user as its
// author and the program as its creator, PDF/A-1b so that archives keep it. Qt paints
// the pages; the author goes in afterwards (Qt's writer has no place for one) as an
// incremental update whose information dictionary replaces Qt's.
#include <QDateTime>
#include <QFile>
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
    // false with errorString().
    bool open(const QString &title, QSizeF paper, QPageLayout::Orientation orientation);
    QPdfWriter *device() const { return writer_.get(); }
    // After the painter has ended: the document information, and the file closed.
    bool close();
    QString errorString() const { return error_; }

private:
    bool addDocumentInfo();

    QString path_;
    QString title_;
    QDateTime created_; // to the second, as both the dictionary and the XMP packet give it
    QFile file_;
    std::unique_ptr<QPdfWriter> writer_;
    QString error_;
};

} // namespace kv
