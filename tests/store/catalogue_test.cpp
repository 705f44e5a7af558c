#include "store/catalogue.h"

#include "storetest.h"

#include "base/dateformat.h"
#include "store/fieldtable.h"

#include <QFileInfo>

using kv::Table;

TEST(Catalogue, SortExpressionFollowsLevelsAndFieldKinds)
{
    const struct {
        kv::SortLevels levels;
        const char *expression;
    } cases[] = {
        {{2, 0, 0, 0}, "Upper(Left(Star1,80))"},
        {{1, 0, 11, 0}, "Upper(Left(Title,40))+STR(Year,12,0)"},
        {{1, 2, 3, 4}, "Upper(Left(Title,20))+Upper(Left(Star1,20))+Upper(Left(Star2,20))+Upper(Left(Star3,20))"},
        {{32, 0, 0, 0}, "DTOS(CheckDate)"},
        {{0, 28, 0, 12}, "STR(ListPrice,12,2)+STR(RunTime,12,0)"},
        {{14, 14, 0, 0}, "Upper(Left(Category,40))+Upper(Left(Category,40))"},
        {{0, 0, 9, 0}, "Upper(Left(Director,80))"},
        {{0, 0, 0, 0}, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(kv::buildSortString(c.levels), QString::fromLatin1(c.expression));
}

TEST(Catalogue, MakeNewDbReplacesAnUnusedCatalogueAndRefusesOneInUse)
{
    const QString path = newCatalogue();
    {
        Table t;
        t.setPath(path);
        t.open();
        addRecords(t, {{{"Title", QStringLiteral("Alien")}}});
    }
    Table create;
    ASSERT_TRUE(kv::makeNewDb(create, path));
    Table t;
    t.setPath(path);
    t.open();
    EXPECT_EQ(t.recordCount(), 0);
    addRecords(t, {{{"Title", QStringLiteral("Brazil")}}});
    const QByteArray before = kvtest::readFile(path);

    // The table stays open in t: another user of the file.
    EXPECT_EQ(refusal([&] { kv::makeNewDb(create, path); }),
              QStringLiteral("The table \"%1\" is currently in use by another program.  New table creation will be "
                             "aborted.")
                  .arg(path));
    EXPECT_EQ(kvtest::readFile(path), before);
}

TEST(Catalogue, RecognisesCataloguesAndOlderLayouts)
{
    Table check;
    const QString catalogue = newCatalogue();
    const QString v2 = kvtest::copyFixture(QStringLiteral("store/V2LOG.DBF"));
    const QString v1 = kvtest::copyFixture(QStringLiteral("store/VLOG.DBF"));

    EXPECT_EQ(refusal([&] { kv::requireCatalogue(check, catalogue); }), QString());
    EXPECT_FALSE(kv::checkDBaseFormatV2(check, catalogue));
    EXPECT_TRUE(kv::checkDBaseFormatV2(check, v2));
    EXPECT_FALSE(kv::checkDBaseFormatV1(check, v2));
    EXPECT_TRUE(kv::checkDBaseFormatV1(check, v1));
    EXPECT_FALSE(kv::checkDBaseFormatV2(check, v1));

    EXPECT_EQ(refusal([&] { kv::requireCatalogue(check, v2); }), QString::fromLatin1(kv::kNotCatalogueMessage));

    // Not a table at all: the engine's own words, and the file untouched.
    const QString junk = kvtest::tempPath(QStringLiteral("NOTES.DBF"));
    kvtest::writeFile(junk, "plain text, not a table");
    const QString engine = refusal([&] { kv::requireCatalogue(check, junk); });
    EXPECT_FALSE(engine.isEmpty());
    EXPECT_NE(engine, QString::fromLatin1(kv::kNotCatalogueMessage));
    EXPECT_EQ(kvtest::readFile(junk), QByteArray("plain text, not a table"));
    EXPECT_FALSE(check.isOpen());
}

// Recognition only reads: the production-index flag of a table without its .MDX is
// cleared on our catalogues alone, and a file of other bytes is called what it is.
TEST(Catalogue, RecognitionWritesOnlyToARecognisedCatalogue)
{
    Table check;
    const auto flagged = [](const QString &path) {
        QByteArray bytes = kvtest::readFile(path);
        bytes[28] = 1;
        kvtest::writeFile(path, bytes);
        return bytes;
    };
    const QString catalogue = newCatalogue();
    flagged(catalogue);
    EXPECT_EQ(refusal([&] { kv::requireCatalogue(check, catalogue); }), QString());
    EXPECT_EQ(kvtest::readFile(catalogue).at(28), 0) << "ours, without its .MDX: mended";

    const QString other = kvtest::copyFixture(QStringLiteral("store/V2LOG.DBF"));
    const QByteArray otherBytes = flagged(other);
    EXPECT_EQ(refusal([&] { kv::requireCatalogue(check, other); }), QString::fromLatin1(kv::kNotCatalogueMessage));
    EXPECT_EQ(kvtest::readFile(other), otherBytes);

    // Random bytes whose first byte happens to be dBASE 7's.
    QByteArray random(600, '\0');
    for (int i = 0; i < random.size(); ++i)
        random[i] = char((i * 7919 + 13) % 251);
    for (const char first : {'\x04', '\x8C'}) {
        random[0] = first;
        random[28] = 1;
        const QString fake = kvtest::tempPath(QStringLiteral("FAKE.DBF"));
        kvtest::writeFile(fake, random);
        const QString message = refusal([&] { kv::requireCatalogue(check, fake); });
        EXPECT_TRUE(message.contains(QStringLiteral("is not a dBASE table"))) << message.toStdString();
        EXPECT_EQ(kvtest::readFile(fake), random);
    }
}

TEST(Catalogue, ConvertsASecondVersionCatalogueByFieldName)
{
    Table check, master;
    master.setPath(newCatalogue());
    master.open();
    kv::convertV2(check, kvtest::copyFixture(QStringLiteral("store/V2LOG.DBF")), master);
    ASSERT_EQ(master.recordCount(), 3);
    EXPECT_EQ(walk(master, "Title"),
              (QStringList{QStringLiteral("Casablanca"), QStringLiteral("Vertigo"), QStringLiteral("Café Society")}));
    master.first();
    EXPECT_EQ(master.fieldText(QStringLiteral("Star4")), QStringLiteral("Claude Rains"));
    EXPECT_EQ(master.fieldText(QStringLiteral("MediaNum")), QStringLiteral("T-001"));
    EXPECT_EQ(master.fieldText(QStringLiteral("Miscellane")), QStringLiteral("Closed Captioned"));
    EXPECT_EQ(master.fieldNumber(master.fieldIndex(QStringLiteral("ListPrice"))), 19.98);
    EXPECT_EQ(master.fieldNumber(master.fieldIndex(QStringLiteral("Year"))), 1942);
    EXPECT_EQ(master.fieldText(QStringLiteral("OscarAward")), QStringLiteral("Best Picture"));
    EXPECT_EQ(master.fieldText(QStringLiteral("Star5")), QString());
}

TEST(Catalogue, AConversionThatFailsHalfwayLeavesTheCatalogueAsItWas)
{
    // The second record's Year does not convert.
    const QString old = kvtest::copyFixture(QStringLiteral("store/V2LOG.DBF"));
    QByteArray bytes = kvtest::readFile(old);
    ASSERT_EQ(bytes.count("1958"), 1);
    kvtest::writeFile(old, bytes.replace("1958", "19x8"));
    const QString path = newCatalogue();
    {
        Table t;
        t.setPath(path);
        t.open();
        addRecords(t, {{{"Title", QStringLiteral("Already there")}}});
    }
    Table check, master;
    master.setPath(path);
    master.addIndex(QString::fromLatin1(kv::kSortTagName), QStringLiteral("Upper(Left(Title,80))"));
    const QByteArray table = kvtest::readFile(path), index = kvtest::readFile(kv::mdxPathFor(path));
    master.setIndexName(QString::fromLatin1(kv::kSortTagName));
    master.open();
    EXPECT_THROW(kv::convertV2(check, old, master), kv::DbError);
    EXPECT_EQ(walk(master, "Title"), QStringList{QStringLiteral("Already there")});
    EXPECT_EQ(kvtest::readFile(path), table);
    EXPECT_EQ(kvtest::readFile(kv::mdxPathFor(path)), index);

    // Trying again once the file is right adds each record once.
    kv::convertV2(check, kvtest::copyFixture(QStringLiteral("store/V2LOG.DBF")), master);
    master.close();
    master.open();
    EXPECT_EQ(walk(master, "Title"), (QStringList{QStringLiteral("Already there"), QString::fromUtf8("Café Society"),
                                                  QStringLiteral("Casablanca"), QStringLiteral("Vertigo")}));
}

TEST(Catalogue, ConvertsAFirstVersionCatalogueWithItsFlagsInMiscellane)
{
    Table check, master;
    master.setPath(newCatalogue());
    master.open();
    const kv::DateFormat before = kv::currentDateFormat();
    kv::setCurrentDateFormat(7, true);
    const kv::DateFormat chosen = kv::currentDateFormat();
    kv::convertV1(check, kvtest::copyFixture(QStringLiteral("store/VLOG.DBF")), master);
    EXPECT_EQ(kv::currentDateFormat(), chosen) << "the user's date format comes back after a 1.x conversion";
    kv::setCurrentDateFormat(before);

    EXPECT_EQ(walk(master, "Title"), (QStringList{QStringLiteral("The Third Man"), QStringLiteral("Rear Window"),
                                                  QStringLiteral("Notorious")}));
    // yes / No / YES, then No / No / No, then No / Yes / no.
    EXPECT_EQ(walk(master, "Miscellane"), (QStringList{QStringLiteral("Closed Captioned, Surround Sound"), QString(),
                                                       QStringLiteral("Noise Reduction")}));
    EXPECT_EQ(walk(master, "MediaNum"), (QStringList{QStringLiteral("12"), QStringLiteral("13"), QStringLiteral("14")}));
    EXPECT_EQ(walk(master, "Content"), (QStringList{QStringLiteral("Feature"), QStringLiteral("Feature"), QString()}));
    EXPECT_EQ(walk(master, "CounterSto"), (QStringList{QStringLiteral("1140"), QStringLiteral("2260"), QString()}));
}

TEST(Catalogue, MiscellanePhrasesKeepTheirOrder)
{
    EXPECT_EQ(kv::miscellaneFromV1(QStringLiteral("YES"), QStringLiteral("yes"), QStringLiteral("Yes")),
              QStringLiteral("Closed Captioned, Noise Reduction, Surround Sound"));
    EXPECT_EQ(kv::miscellaneFromV1(QStringLiteral("No"), QStringLiteral("Y"), QStringLiteral(" yes")), QString());
}

TEST(Catalogue, SortExpressionBecomesTheNewIndexTag)
{
    const QString path = newCatalogue();
    Table master;
    master.setPath(path);
    master.open();
    addRecords(master, {{{"Title", QStringLiteral("b")}, {"Year", QStringLiteral("1990")}},
                        {{"Title", QStringLiteral("A")}, {"Year", QStringLiteral("1995")}},
                        {{"Title", QStringLiteral("a")}, {"Year", QStringLiteral("1980")}}});
    master.close();

    kv::applySortExpression(master, kv::buildSortString({1, 0, 11, 0}));
    master.open();
    EXPECT_EQ(master.indexName(), QStringLiteral("NewIndex"));
    EXPECT_EQ(master.indexExpression(QStringLiteral("NewIndex")), QStringLiteral("Upper(Left(Title,40))+STR(Year,12,0)"));
    EXPECT_EQ(walk(master, "Year"), (QStringList{QStringLiteral("1980"), QStringLiteral("1995"), QStringLiteral("1990")}));
    master.close();

    // All levels none: physical order, and the tag stays in the .MDX as it was.
    kv::applySortExpression(master, QString());
    master.open();
    EXPECT_EQ(master.indexName(), QString());
    EXPECT_EQ(walk(master, "Year"), (QStringList{QStringLiteral("1990"), QStringLiteral("1995"), QStringLiteral("1980")}));
    EXPECT_EQ(master.indexNames(), QStringList{QStringLiteral("NEWINDEX")});
}

TEST(Catalogue, InUseTestSeesAnotherUser)
{
    const QString path = newCatalogue();
    Table check;
    EXPECT_FALSE(kv::dbaseInUse(check, path));
    Table other;
    other.setPath(path);
    other.open();
    EXPECT_TRUE(kv::dbaseInUse(check, path));
    other.close();
    EXPECT_FALSE(kv::dbaseInUse(check, path));
    EXPECT_FALSE(check.exclusive());
}

TEST(Catalogue, PackAndRebuildNeedTheTableAloneAndLeaveItSharedAndOpen)
{
    const QString path = newCatalogue();
    Table master;
    master.setPath(path);
    master.close();
    kv::applySortExpression(master, QStringLiteral("Upper(Left(Title,80))"));
    master.open();
    addRecords(master, {{{"Title", QStringLiteral("c")}}, {{"Title", QStringLiteral("b")}}, {{"Title", QStringLiteral("a")}}});
    master.first();
    master.next(); // "b"
    master.deleteRecord();

    {
        Table other;
        other.setPath(path);
        other.open();
        EXPECT_EQ(refusal([&] { kv::packMasterTable(master); }), QString::fromLatin1(kv::kPackFailedMessage));
        EXPECT_FALSE(master.isOpen()) << "the caller opens it again";
        EXPECT_FALSE(master.exclusive());
        EXPECT_EQ(refusal([&] { kv::rebuildMasterIndexes(master); }), QString::fromLatin1(kv::kReindexFailedMessage));
        EXPECT_FALSE(master.exclusive());
    }
    master.open();
    EXPECT_EQ(master.physicalCount(), 3u);
    master.first();
    EXPECT_EQ(kv::deletedBefore(master, 3), 1u) << "b, record 2, is deleted";
    EXPECT_EQ(kv::deletedBefore(master, 2), 0u);

    EXPECT_EQ(refusal([&] { kv::packMasterTable(master); }), QString());
    EXPECT_EQ(refusal([&] { kv::rebuildMasterIndexes(master); }), QString());
    EXPECT_TRUE(master.isOpen());
    EXPECT_FALSE(master.exclusive());
    EXPECT_EQ(master.physicalCount(), 2u);
    EXPECT_EQ(walk(master, "Title"), (QStringList{QStringLiteral("a"), QStringLiteral("c")}));
}
