// kestrova-cli lists: the pick lists as the program loads them for a catalogue.
#include "base/paths.h"
#include "edit/listfile.h"
#include "edit/picklists.h"
#include "resources/defaults.h"
#include "store/storetest.h"

#include <gtest/gtest.h>

namespace {

int deliveredCount(int n)
{
    return kv::parseListFile(kv::defaultListContents(kv::defaultListFileName(n))).size();
}

TEST(CliLists, CountsEveryListWithTheDefaultsForACatalogueWithoutItsOwn)
{
    const QString path = newCatalogue(QStringLiteral("VIDEOS.DBF"));
    const kvtest::ProcessResult r = kvtest::runCli({QStringLiteral("lists"), path});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    QStringList expected;
    for (int n = 1; n <= 17; ++n)
        expected << QStringLiteral("%1 %2: %3").arg(n).arg(kv::pickListName(n)).arg(deliveredCount(n));
    EXPECT_EQ(QString::fromUtf8(r.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts), expected);
    EXPECT_TRUE(expected.contains(QStringLiteral("14 Oscar Names: %1").arg(deliveredCount(14))));
}

TEST(CliLists, ACatalogueWithItsOwnListsShowsThoseEntriesInTheTerminalsCharacterSet)
{
    const QString path = newCatalogue(QStringLiteral("MINE.DBF"));
    kvtest::writeFile(kvtest::tempPath(QStringLiteral("MINE.010")), "CLV\r\n");
    kvtest::writeFile(kvtest::tempPath(QStringLiteral("MINE.002")), "Bj\xf6rk\r\n\r\n  Ann  \r\nBj\xf6rk\r\n");
    kvtest::ProcessResult r = kvtest::runCli({QStringLiteral("lists"), path, QStringLiteral("2")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(r.out, QByteArray("Bj\xf6rk\n  Ann  \nBj\xf6rk\n")) << "code page 1252 in the C locale";
    EXPECT_EQ(kvtest::runCli({QStringLiteral("lists"), path, QStringLiteral("2")}, "C.UTF-8").out,
              QByteArray("Bj\xc3\xb6rk\n  Ann  \nBj\xc3\xb6rk\n"));
    EXPECT_EQ(kvtest::runCli({QStringLiteral("lists"), path, QStringLiteral("2"), QStringLiteral("--cp1252")}, "C.UTF-8")
                  .out.left(6),
              QByteArray("Bj\xf6rk\n"));

    r = kvtest::runCli({QStringLiteral("lists"), path});
    ASSERT_EQ(r.exitCode, 0);
    const QStringList lines = QString::fromUtf8(r.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 17);
    EXPECT_EQ(lines[1], QStringLiteral("2 Stars: 3"));
    EXPECT_EQ(lines[4], QStringLiteral("5 Rating: 0")) << "its own lists: a missing file is empty";
    EXPECT_EQ(lines[9], QStringLiteral("10 Laser Format: 1"));
}

TEST(CliLists, UsageAndRefusals)
{
    const QString path = newCatalogue(QStringLiteral("U.DBF"));
    for (const QStringList &args : {QStringList{QStringLiteral("lists")},
                                    QStringList{QStringLiteral("lists"), path, QStringLiteral("18")},
                                    QStringList{QStringLiteral("lists"), path, QStringLiteral("x")},
                                    QStringList{QStringLiteral("lists"), path, QStringLiteral("1"), QStringLiteral("2")}})
        EXPECT_EQ(kvtest::runCli(args).exitCode, 2) << args.join(QLatin1Char(' ')).toStdString();
    const kvtest::ProcessResult r = kvtest::runCli({QStringLiteral("lists"), kvtest::tempPath(QStringLiteral("NO.DBF"))});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("does not exist"));
}

} // namespace
