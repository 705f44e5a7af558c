#include "pdftools.h"

#include "testenv.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace kvtest {

PdfInfo pdfInfo(const QString &path)
{
    const ProcessResult r = run(QStringLiteral("pdfinfo"), {path});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    PdfInfo info;
    for (const QString &line : QString::fromUtf8(r.out).split(QLatin1Char('\n'))) {
        const QString value = line.section(QLatin1Char(':'), 1).trimmed();
        if (line.startsWith(QLatin1String("Pages:")))
            info.pages = value.toInt();
        else if (line.startsWith(QLatin1String("Title:")))
            info.title = value;
        else if (line.startsWith(QLatin1String("Author:")))
            info.author = value;
        else if (line.startsWith(QLatin1String("Creator:")))
            info.creator = value;
        else if (line.startsWith(QLatin1String("Page size:"))) {
            const QStringList parts = value.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (parts.size() >= 3)
                info.pointSize = QSizeF(parts[0].toDouble(), parts[2].toDouble());
        }
    }
    return info;
}

QString pdfXmp(const QString &path)
{
    const ProcessResult r = run(QStringLiteral("pdfinfo"), {QStringLiteral("-meta"), path});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    return QString::fromUtf8(r.out);
}

QString pdfText(const QString &path)
{
    const ProcessResult r = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    return QString::fromUtf8(r.out);
}

QStringList pdfPageWords(const QString &path)
{
    QStringList pages = pdfText(path).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    for (QString &p : pages)
        p = p.simplified();
    return pages;
}

} // namespace kvtest
