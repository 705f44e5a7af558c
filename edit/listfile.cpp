#include "edit/listfile.h"

#include "base/atomicfile.h"
#include "base/codepage.h"

#include <QFile>

namespace kv {

QStringList parseListFile(const QByteArray &bytes)
{
    QStringList entries;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        qsizetype length = end - start;
        if (length > 0 && bytes.at(start + length - 1) == '\r')
            --length;
        length = qMin<qsizetype>(length, kListLineLength);
        const char *line = bytes.constData() + start;
        bool blank = true;
        for (qsizetype k = 0; k < length && blank; ++k)
            blank = line[k] == ' ';
        if (!blank)
            entries << decode(line, length);
        start = end + 1;
    }
    return entries;
}

QByteArray listFileBytes(const QStringList &entries)
{
    QByteArray bytes;
    for (const QString &entry : entries)
        bytes += encode(entry) + "\r\n";
    return bytes;
}

QStringList readListFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parseListFile(file.readAll());
}

ListWrite writeListFile(const QString &path, const QStringList &entries, QString *error)
{
    AtomicFile file(path);
    const bool opened = file.open();
    if (opened && file.write(listFileBytes(entries)) && file.commit())
        return ListWrite::Written;
    if (error)
        *error = file.errorString();
    return opened ? ListWrite::Failed : ListWrite::NotCreated;
}

} // namespace kv
