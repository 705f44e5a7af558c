// A short fixed-seed run of the report definition and delimited line fuzzing;
// kv-fuzz-files runs it longer.
#include "filefuzz.h"
#include "testenv.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(Fuzz, MutatedDefinitionsAndImportLinesAreRefusedOrReadNeverCrashOrRunForever)
{
    const QString dir = kvtest::tempPath(QStringLiteral("fuzz"));
    QDir().mkpath(dir);
    const kvfuzz::FileFuzzCounts c = kvfuzz::runFileFuzz(dir, 1500, 20261211);
    EXPECT_GT(c.refused, 0u) << "the mutations reach the checks";
    EXPECT_GT(c.runs, 0u) << "and sound definitions run";
    EXPECT_GT(c.lines, 0u);
}
