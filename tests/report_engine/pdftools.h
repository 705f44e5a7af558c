#pragma once
// What poppler's tools read from a PDF: page count and size, and the text laid out.
#include <QSizeF>
#include <QString>
#include <QStringList>

namespace kvtest {

struct PdfInfo {
    int pages = -1;
    QSizeF pointSize; // of the first page
    QString title;
    QString author;
    QString creator;
};
PdfInfo pdfInfo(const QString &path);
// The XMP packet of a PDF (pdfinfo -meta).
QString pdfXmp(const QString &path);
// pdftotext -layout of the whole file; pages are separated by form feeds.
QString pdfText(const QString &path);
// The words of each page of a PDF, blanks of any length collapsed.
QStringList pdfPageWords(const QString &path);

} // namespace kvtest
