// The delivered pick lists and their installation into the program folder.
#include "resources/defaults.h"
#include "testenv.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

struct DeliveredList {
    int number;
    const char *file;
    int entryLength; // the longest entry the list editor accepts for this list
    bool mayBeEmpty; // names of people and places are the user's own
};

const DeliveredList kLists[] = {
    {1, "PRODUCER.LST", 28, true},  {2, "STAR.LST", 25, true},       {3, "DIRECT.LST", 28, true},
    {4, "RELEASE.LST", 28, true},   {5, "RATING.LST", 15, false},    {6, "CATEGORY.LST", 20, false},
    {7, "PICTURE.LST", 10, false},  {8, "SOUND.LST", 10, false},     {9, "FORMAT.LST", 15, false},
    {10, "LASER.LST", 12, false},   {11, "PERSRATE.LST", 15, false}, {12, "RECSPEED.LST", 6, false},
    {13, "CONTENT.LST", 10, false}, {14, "OSCAR.LST", 110, false},   {15, "CHECKOUT.LST", 25, true},
    {16, "PURCH.LST", 25, true},    {17, "MISC.LST", 25, false},
};

class DeliveredListFile : public ::testing::TestWithParam<DeliveredList> {};

TEST_P(DeliveredListFile, IsAPlainListThatTheListEditorCouldHaveWritten)
{
    const DeliveredList list = GetParam();
    EXPECT_EQ(kv::defaultListFileName(list.number), QString::fromLatin1(list.file));
    const QByteArray bytes = kv::defaultListContents(QString::fromLatin1(list.file));
    if (!list.mayBeEmpty) {
        ASSERT_FALSE(bytes.isEmpty());
    }
    if (bytes.isEmpty())
        return;
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast(); // what follows the final line end
    QSet<QByteArray> seen;
    for (QByteArray line : lines) {
        SCOPED_TRACE(line.toStdString());
        ASSERT_TRUE(line.endsWith('\r')) << "every line ends with CR LF";
        line.chop(1);
        EXPECT_FALSE(line.contains('\r'));
        EXPECT_FALSE(line.trimmed().isEmpty());
        EXPECT_EQ(line, line.trimmed()) << "no blanks around an entry";
        EXPECT_LE(line.size(), list.entryLength);
        for (char c : line)
            EXPECT_TRUE(c >= 0x20 && c < 0x7f) << "plain characters only";
        EXPECT_FALSE(seen.contains(line)) << "entry listed twice";
        seen.insert(line);
    }
}

INSTANTIATE_TEST_SUITE_P(Lists, DeliveredListFile, ::testing::ValuesIn(kLists),
                         [](const ::testing::TestParamInfo<DeliveredList> &info) {
                             return QByteArray(info.param.file).replace('.', '_').toStdString();
                         });

TEST(DefaultLists, SeventeenNamesInListOrderAndNothingElse)
{
    const QStringList names = kv::defaultListFileNames();
    ASSERT_EQ(names.size(), 17);
    for (const DeliveredList &list : kLists)
        EXPECT_EQ(names.at(list.number - 1), QString::fromLatin1(list.file));
    EXPECT_EQ(kv::defaultListFileName(0), QString());
    EXPECT_EQ(kv::defaultListFileName(18), QString());
    EXPECT_TRUE(kv::defaultListContents(QStringLiteral("QVRVID.INI")).isEmpty());
    EXPECT_EQ(kv::defaultListContents(QStringLiteral("rating.lst")), kv::defaultListContents(QStringLiteral("RATING.LST")));
}

QStringList filesIn(const QString &dir) { return QDir(dir).entryList(QDir::Files, QDir::Name); }

TEST(InstallDefaultLists, CopiesEveryListIntoAFreshProgramFolder)
{
    const QString dir = kvtest::tempPath(QStringLiteral("data/kestrova-videos"));
    QString error = QStringLiteral("untouched");
    ASSERT_TRUE(kv::installDefaultLists(dir, &error));
    EXPECT_EQ(error, QString());
    QStringList expected = kv::defaultListFileNames();
    expected.sort();
    EXPECT_EQ(filesIn(dir), expected);
    for (const QString &name : kv::defaultListFileNames())
        EXPECT_EQ(kvtest::readFile(dir + QLatin1Char('/') + name), kv::defaultListContents(name)) << name.toStdString();
}

TEST(InstallDefaultLists, LeavesListsThatAreThereInAnyLetterCase)
{
    const QString dir = kvtest::tempDir();
    kvtest::writeFile(dir + QStringLiteral("/rating.lst"), "Mine\r\n");
    kvtest::writeFile(dir + QStringLiteral("/STAR.LST"), "");
    kvtest::writeFile(dir + QStringLiteral("/MISC.LST"), "Bought twice\r\n");

    ASSERT_TRUE(kv::installDefaultLists(dir));
    EXPECT_EQ(kvtest::readFile(dir + QStringLiteral("/rating.lst")), QByteArray("Mine\r\n"));
    EXPECT_FALSE(filesIn(dir).contains(QStringLiteral("RATING.LST")));
    EXPECT_EQ(kvtest::readFile(dir + QStringLiteral("/STAR.LST")), QByteArray());
    EXPECT_EQ(kvtest::readFile(dir + QStringLiteral("/MISC.LST")), QByteArray("Bought twice\r\n"));
    EXPECT_EQ(kvtest::readFile(dir + QStringLiteral("/OSCAR.LST")), kv::defaultListContents(QStringLiteral("OSCAR.LST")));
    EXPECT_EQ(filesIn(dir).size(), 17);

    // A second run finds everything in place and changes nothing.
    kvtest::writeFile(dir + QStringLiteral("/OSCAR.LST"), "Best Picture\r\n");
    ASSERT_TRUE(kv::installDefaultLists(dir));
    EXPECT_EQ(kvtest::readFile(dir + QStringLiteral("/OSCAR.LST")), QByteArray("Best Picture\r\n"));
    EXPECT_EQ(filesIn(dir).size(), 17);
}

TEST(InstallDefaultLists, ReportsAProgramFolderThatCannotBeMade)
{
    kvtest::writeFile(kvtest::tempPath(QStringLiteral("blocker")), "a file, not a folder");
    const QString dir = kvtest::tempPath(QStringLiteral("blocker/kestrova-videos"));
    QString error;
    EXPECT_FALSE(kv::installDefaultLists(dir, &error));
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(dir))) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir));
}

} // namespace
