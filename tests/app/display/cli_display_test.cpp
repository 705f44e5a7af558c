// kestrova-cli viewer: the columns a catalogue's settings give its viewer.
#include "testenv.h"

#include <gtest/gtest.h>

TEST(CliDisplay, ViewerListsTheShownColumnsInTheirOrderWithCaptionsAndWidths)
{
    const QString db = kvtest::tempPath(QStringLiteral("FILMS.DBF"));
    ASSERT_EQ(kvtest::runCli({"new", db}).exitCode, 0);
    kvtest::writeFile(kvtest::tempPath(QStringLiteral("FILMS.INI")),
                      "[Field Names]\r\nStar2=Co-star\r\n"
                      "[Display Fields]\r\nStar3=No\r\n"
                      "[Field Width]\r\nTitle=30\r\n"
                      "[Field Order]\r\nStar1=3\r\nStar2=2\r\n");
    const kvtest::ProcessResult r = kvtest::runCli({"viewer", db});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = QString::fromUtf8(r.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines.mid(0, 4), (QStringList{"Title\tTitle\t30", "Star2\tCo-star\t15", "Star1\tStar 1\t15",
                                            "Star4\tStar 4\t15"}));
    EXPECT_EQ(lines.size(), 39) << "every field but the hidden Star3";
    EXPECT_FALSE(r.out.contains("Star3"));

    const kvtest::ProcessResult missing = kvtest::runCli({"viewer", kvtest::tempPath(QStringLiteral("GONE.DBF"))});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(kvtest::runCli({"viewer"}).exitCode, 2);
}
