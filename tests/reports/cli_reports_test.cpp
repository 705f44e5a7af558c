// kestrova-cli reports: the start-up preparation of the definitions file, then the names.
#include "rawrecord.h"
#include "support/testenv.h"

#include "base/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {
QString inProgramDir(const char *name) { return kv::programDir() + QLatin1Char('/') + QLatin1String(name); }

const QByteArray kBuiltInList = "Title and Media Number Report\nRatings Report\nStar Report\nOscar Report\n"
                                "Large Report\nStatistic/Summary Report\n";
} // namespace

TEST(CliReports, CreatesTheBuiltInReportsAndListsThem)
{
    const kvtest::ProcessResult r = kvtest::runCli({QStringLiteral("reports")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, kBuiltInList);
    EXPECT_EQ(r.err, QByteArray());
    EXPECT_EQ(QFileInfo(inProgramDir("QVRVID.URP")).size(), 6 * rawrec::kRecordSize);
}

TEST(CliReports, ConvertsThePreviousVersionsFileOnce)
{
    ASSERT_TRUE(QFile::copy(kvtest::fixture(QStringLiteral("reports/VIDEO2.CFR")), inProgramDir("VIDEO2.CFR")));
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        const kvtest::ProcessResult r = kvtest::runCli({QStringLiteral("reports")});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, kBuiltInList + "Cast List\nWide Listing\n");
        EXPECT_FALSE(QFile::exists(inProgramDir("VIDEO2.CFR")));
    }
}

TEST(CliReports, RefusesArgumentsAndSaysWhyWhenTheFileCannotBeWritten)
{
    const kvtest::ProcessResult usage = kvtest::runCli({QStringLiteral("reports"), QStringLiteral("extra")});
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_FALSE(QFile::exists(inProgramDir("QVRVID.URP")));

    ASSERT_TRUE(QDir().mkdir(inProgramDir("QVRVID.URP")));
    ASSERT_TRUE(QFile::copy(kvtest::fixture(QStringLiteral("reports/VIDEO2.CFR")), inProgramDir("VIDEO2.CFR")));
    const kvtest::ProcessResult refused = kvtest::runCli({QStringLiteral("reports")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("QVRVID.URP")) << refused.err.toStdString();
    EXPECT_EQ(refused.out, QByteArray());
}
