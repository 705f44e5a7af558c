// A short fixed-seed run of the table and index reader fuzzing; kv-fuzz-store runs it longer.
#include "storefuzz.h"
#include "testenv.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(Fuzz, MutatedCataloguesAndIndexesAreReadOrRefusedNeverCrash)
{
    const QString dir = kvtest::tempPath(QStringLiteral("fuzz"));
    QDir().mkpath(dir);
    const kvfuzz::Seed seed = kvfuzz::makeSeed(dir);
    // The seed itself: 7 live records in physical order and in both tags, both tags' entries.
    EXPECT_EQ(kvfuzz::readAll(dir, seed.dbf, seed.mdx), 3 * 7 + 2);
    EXPECT_GT(kvfuzz::run(dir, seed, 1500, 20261210), 0u);
}
