#pragma once
#include "base/codepage.h"

#include <QByteArray>
#include <QStringList>
#include <gtest/gtest.h>

// The first field of each line that `list` printed.
inline QStringList titles(const QByteArray &listing)
{
    QStringList out;
    for (const QByteArray &line : listing.split('\n')) {
        if (line.isEmpty())
            continue;
        EXPECT_TRUE(line.endsWith('\r'));
        out << kv::decode(line.mid(1, line.indexOf("\",\"") - 1)).replace(QStringLiteral("\"\""), QStringLiteral("\""));
    }
    return out;
}
