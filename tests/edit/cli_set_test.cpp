// kestrova-cli set: a record changed as the edit window's Update and Exit changes it.
#include "base/codepage.h"
#include "edit/listfile.h"
#include "edit/picklists.h"
#include "store/storetest.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

QString catalogue(const QStringList &titles)
{
    const QString path = newCatalogue(QStringLiteral("SET.DBF"));
    kv::Table t;
    t.setPath(path);
    t.open();
    for (const QString &title : titles)
        addRecords(t, {{{"Title", title}, {"Star1", title}}});
    return path;
}

kvtest::ProcessResult set(const QString &path, const QStringList &rest)
{
    return kvtest::runCli(QStringList{QStringLiteral("set"), path} + rest);
}

QStringList values(const QString &path, const char *field)
{
    kv::Table t;
    t.setPath(path);
    t.open();
    return walk(t, field);
}

TEST(CliSet, ANewRecordGetsTheTypedValuesAndTheBlankOnesAndTheListsLearn)
{
    const QString path = catalogue({});
    const kvtest::ProcessResult r =
        set(path, {QStringLiteral("new"), QStringLiteral("title=Alien"), QStringLiteral("Star2=Sigourney Weaver"),
                   QStringLiteral("STAR5=Sigourney Weaver"), QStringLiteral("ListPrice=1,234.50"),
                   QStringLiteral("Viewed=Yes"), QStringLiteral("Category=Café")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(values(path, "Title"), QStringList{"Alien"});
    EXPECT_EQ(values(path, "ListPrice"), QStringList{"1234.5"});
    EXPECT_EQ(values(path, "RunTime"), QStringList{"0"});
    EXPECT_EQ(values(path, "Viewed"), QStringList{"Yes"});
    EXPECT_EQ(values(path, "CheckOut"), QStringList{"No"});
    const QString base = kvtest::tempPath(QStringLiteral("SET"));
    EXPECT_EQ(kv::readListFile(kv::catalogueListPath(base, 2)), QStringList{"Sigourney Weaver"})
        << "a star typed into two boxes is added once";
    EXPECT_EQ(kv::readListFile(kv::catalogueListPath(base, 6)).last(), QStringLiteral("Café"));
    EXPECT_TRUE(kvtest::readFile(kv::catalogueListPath(base, 6)).endsWith("Caf\xe9\r\n"));
}

TEST(CliSet, AFailedCheckPrintsItsMessageWritesNothingAndChangesNoList)
{
    const QString path = catalogue({QStringLiteral("Kept")});
    const struct {
        const char *arg;
        const char *message;
    } cases[] = {{"PurchDate=13/45/1997", "Invalid purchase date specified.  Please correct."},
                 {"ListPrice=$5", "Invalid list price specified.  Please correct."},
                 {"Year=19x7", "Invalid year specified.  Please correct."},
                 {"Director=Łódź", "The character \"Ł\" (U+0141) in Director cannot be stored in the catalogue.  Please correct."},
                 {"Title=日本", "The character \"日\" (U+65E5) in Title cannot be stored in the catalogue.  Please correct."}};
    for (const auto &c : cases) {
        const kvtest::ProcessResult r =
            set(path, {QStringLiteral("1"), QStringLiteral("Producer=Somebody New"), QString::fromUtf8(c.arg)});
        EXPECT_EQ(r.exitCode, 1) << c.arg;
        EXPECT_EQ(QString::fromLocal8Bit(r.err).trimmed(), QString::fromUtf8(c.message)) << c.arg;
    }
    EXPECT_EQ(values(path, "Title"), QStringList{"Kept"});
    EXPECT_EQ(values(path, "Producer"), QStringList{""});
    EXPECT_FALSE(QFileInfo::exists(kv::catalogueListPath(kvtest::tempPath(QStringLiteral("SET")), 1)));
}

TEST(CliSet, RecordNIsCountedAsDeleteCountsAndUntickingEmptiesTheLending)
{
    const QString path = catalogue({QStringLiteral("Zulu"), QStringLiteral("Alpha")});
    // Sorted by the first star, the default order: Alpha is record 1.
    kvtest::ProcessResult r = set(path, {QStringLiteral("1"), QStringLiteral("CheckOut=Yes"),
                                         QStringLiteral("CheckName=Ann"), QStringLiteral("CheckDate=01/02/1997")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(values(path, "CheckName"), (QStringList{"", "Ann"}));
    r = set(path, {QStringLiteral("1"), QStringLiteral("CheckOut=No")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(values(path, "CheckName"), (QStringList{"", ""}));
    EXPECT_EQ(values(path, "CheckOut"), (QStringList{"", "No"}));
    EXPECT_EQ(values(path, "Title"), (QStringList{"Zulu", "Alpha"})) << "rewritten in place, not added";

    r = set(path, {QStringLiteral("3"), QStringLiteral("Title=x")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("There is no record 3"));
}

TEST(CliSet, UsageErrors)
{
    const QString path = catalogue({QStringLiteral("A")});
    for (const QStringList &rest :
         {QStringList{}, QStringList{QStringLiteral("1")}, QStringList{QStringLiteral("0"), QStringLiteral("Title=x")},
          QStringList{QStringLiteral("1"), QStringLiteral("Nofield=x")},
          QStringList{QStringLiteral("1"), QStringLiteral("Title")},
          QStringList{QStringLiteral("1"), QStringLiteral("Viewed=yes")}})
        EXPECT_EQ(set(path, rest).exitCode, 2) << rest.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(values(path, "Title"), QStringList{"A"});
}

} // namespace
