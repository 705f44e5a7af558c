#pragma once
#include "store/mastertable.h"
#include "store/table.h"
#include "testenv.h"

#include <QFile>
#include <gtest/gtest.h>

// A new, empty catalogue in the test's folder.
inline QString newCatalogue(const QString &name = QStringLiteral("MASTER.DBF"))
{
    const QString path = kvtest::tempPath(name);
    kv::Table t;
    kv::createMasterTable(t, path);
    return path;
}

// Appends records given as (field name, text) lists to an open table.
inline void addRecords(kv::Table &t, const std::vector<std::vector<std::pair<const char *, QString>>> &records)
{
    for (const auto &rec : records) {
        t.append();
        for (const auto &[name, value] : rec)
            t.setFieldText(QString::fromLatin1(name), value);
        t.post();
    }
}

// The values of one field in the table's current order.
inline QStringList column(kv::Table &t, const char *field)
{
    QStringList out;
    const int f = t.fieldIndex(QString::fromLatin1(field));
    for (int row = 0; row < t.recordCount(); ++row)
        out << t.fieldTextAt(row, f);
    return out;
}

inline QStringList walk(kv::Table &t, const char *field)
{
    QStringList out;
    for (t.first(); !t.eof(); t.next())
        out << t.fieldText(QString::fromLatin1(field));
    return out;
}

// The message of the DbError that work throws; empty when it throws none.
template <typename Work> QString refusal(Work work)
{
    try {
        work();
        return QString();
    } catch (const kv::DbError &e) {
        return e.message();
    }
}
