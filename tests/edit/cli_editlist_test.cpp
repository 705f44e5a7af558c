// kestrova-cli editlist: a pick list changed by the list editor's steps, then confirmed.
#include "base/paths.h"
#include "edit/picklists.h"
#include "store/storetest.h"

#include <QDir>
#include <QFileInfo>
#include <cstring>
#include <gtest/gtest.h>

namespace {

QStringList args(const QString &path, const char *steps)
{
    return QStringList{QStringLiteral("editlist"), path} + QString::fromUtf8(steps).split(QLatin1Char('|'));
}

TEST(CliEditList, StepsRunInOrderAndOkWritesTheCataloguesLists)
{
    const QString path = newCatalogue(QStringLiteral("MINE.DBF"));
    kvtest::writeFile(kvtest::tempPath(QStringLiteral("MINE.006")), "Western\r\nDrama\r\n");
    kvtest::writeFile(kvtest::tempPath(QStringLiteral("MINE.009")), "VHS\r\n");
    const kvtest::ProcessResult r = kvtest::runCli(
        args(path, "6|add|  \xc3\x89pop\xc3\xa9""e  |add|comedy|add|Drama|sort|delete|5|add|Action|add|   "));
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_TRUE(r.err.contains("Are you sure you want to sort the data?")) << "the question, answered Yes";
    EXPECT_EQ(kvtest::readFile(kvtest::tempPath(QStringLiteral("MINE.006"))),
              QByteArray("comedy\r\nDrama\r\nDrama\r\n\xc9pop\xe9""e\r\nAction\r\n"));
    EXPECT_EQ(kvtest::readFile(kvtest::tempPath(QStringLiteral("MINE.009"))), QByteArray("VHS\r\n"));
    EXPECT_TRUE(QFile::exists(kvtest::tempPath(QStringLiteral("MINE.016")))) << "all fifteen lists are written";
}

TEST(CliEditList, TheOscarListGoesToTheProgramFolderAndEntriesKeepTheirLength)
{
    const QString path = newCatalogue(QStringLiteral("OSC.DBF"));
    const QString longName(120, QLatin1Char('x'));
    const kvtest::ProcessResult r =
        kvtest::runCli({QStringLiteral("editlist"), path, QStringLiteral("14"), QStringLiteral("add"), longName});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QByteArray oscars = kvtest::readFile(kv::programDir() + QStringLiteral("/OSCAR.LST"));
    EXPECT_TRUE(oscars.endsWith(QByteArray(110, 'x') + "\r\n")) << "cut to the entry length of 110";
    EXPECT_TRUE(oscars.startsWith("Best Picture\r\n")) << "the delivered list, added to";
    EXPECT_TRUE(QFile::exists(kvtest::tempPath(QStringLiteral("OSC.001"))));
}

// A list file that cannot be written: the user is told which and why, exit 1, and the
// other lists are still written.
TEST(CliEditList, AListFileThatCannotBeWrittenIsNamedWithTheReason)
{
    const QString path = newCatalogue(QStringLiteral("RO.DBF"));
    const QString six = kvtest::tempPath(QStringLiteral("RO.006"));
    ASSERT_TRUE(QDir().mkpath(six));
    const kvtest::ProcessResult r = kvtest::runCli(args(path, "6|add|Western"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Unable to write %1: %2")
                                   .arg(QDir::toNativeSeparators(six), QString::fromLocal8Bit(strerror(EISDIR)))
                                   .toUtf8()))
        << r.err.constData();
    EXPECT_TRUE(QFileInfo(six).isDir());
    EXPECT_TRUE(QFile::exists(kvtest::tempPath(QStringLiteral("RO.016"))));
}

TEST(CliEditList, UsageAndRefusals)
{
    const QString path = newCatalogue(QStringLiteral("U.DBF"));
    for (const char *steps : {"0", "18", "x", "1|add", "1|delete|0", "1|shuffle"})
        EXPECT_EQ(kvtest::runCli(args(path, steps)).exitCode, 2) << steps;
    EXPECT_EQ(kvtest::runCli({QStringLiteral("editlist"), path}).exitCode, 2);
    kvtest::ProcessResult r = kvtest::runCli(args(path, "12|delete|99"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("There is no entry 99")) << r.err.constData();
    r = kvtest::runCli(args(kvtest::tempPath(QStringLiteral("NO.DBF")), "1|sort"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("does not exist"));
}

} // namespace
