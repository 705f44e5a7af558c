#pragma once
// What the exchange tests share: catalogues with records, and reading them back.
#include "store/fieldtable.h"
#include "store/storetest.h"
#include "testenv.h"

#include <QStringList>

// Every field of every record, in physical order, as text.
inline QList<QStringList> allValues(const QString &path)
{
    kv::Table t;
    t.setPath(path);
    t.setReadOnly(true);
    t.open();
    QList<QStringList> records;
    for (t.first(); !t.eof(); t.next()) {
        QStringList r;
        for (int f = 0; f < t.fieldCount(); ++f)
            r << t.fieldText(f);
        records << r;
    }
    return records;
}

// One catalogue field (by number) of every record, in physical order.
inline QStringList fieldValues(const QString &path, int field)
{
    QStringList values;
    for (const QStringList &r : allValues(path))
        values << r.value(field - 1);
    return values;
}

// A text file of the test's folder.
inline QString textFile(const QString &name, const QByteArray &bytes)
{
    const QString path = kvtest::tempPath(name);
    kvtest::writeFile(path, bytes);
    return path;
}
