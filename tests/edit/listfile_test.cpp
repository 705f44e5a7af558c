#include "edit/listfile.h"

#include "base/codepage.h"
#include "testenv.h"

#include <QDir>
#include <gtest/gtest.h>

using kv::parseListFile;

namespace {

struct ReadCase {
    const char *what;
    QByteArray bytes;
    QStringList entries;
};

TEST(ListFile, ReadingRules)
{
    const QByteArray longLine = QByteArray(300, 'x');
    const ReadCase cases[] = {
        {"CRLF lines in file order, not sorted", "Zulu\r\nAlpha\r\n", {"Zulu", "Alpha"}},
        {"duplicates stay", "PG\r\nPG\r\n", {"PG", "PG"}},
        {"blank and all-space lines are skipped", "\r\nA\r\n   \r\n\r\nB\r\n", {"A", "B"}},
        {"leading and trailing spaces are kept", "  Word  \r\n", {"  Word  "}},
        {"a tab is not blank", "\t\r\n", {"\t"}},
        {"a last line without its line end", "A\r\nB", {"A", "B"}},
        {"a bare line feed ends a line too", "A\nB\n", {"A", "B"}},
        {"an empty file", "", {}},
        {"300 characters read as 255", longLine + "\r\nnext\r\n", {QString(255, QLatin1Char('x')), "next"}},
        {"255 spaces and then text is blank", QByteArray(255, ' ') + "text\r\n", {}},
        {"code page 1252", "Bj\xf6rk Gu\xf0mundsd\xf3ttir\r\n\x80uro\r\n",
         {QStringLiteral("Björk Guðmundsdóttir"), QStringLiteral("€uro")}},
    };
    for (const ReadCase &c : cases)
        EXPECT_EQ(parseListFile(c.bytes), c.entries) << c.what;
}

TEST(ListFile, AFileWrittenByTheProgramReadsAndWritesBackByteForByte)
{
    const QByteArray written = "  Spaced  \r\nBj\xf6rk\r\nPG\r\nPG\r\n\tTabbed\r\n";
    EXPECT_EQ(kv::listFileBytes(parseListFile(written)), written);
    EXPECT_EQ(kv::listFileBytes(parseListFile("A\r\n\r\n  \r\nB\r\n")), QByteArray("A\r\nB\r\n"))
        << "only the blank lines go";
    EXPECT_EQ(kv::listFileBytes({}), QByteArray());
}

TEST(ListFile, WritesThroughATemporaryFileAndSaysNothingWhenItCannotBeMade)
{
    const QString path = kvtest::tempPath(QStringLiteral("A.001"));
    kvtest::writeFile(path, "old\r\n");
    EXPECT_EQ(kv::writeListFile(path, {QStringLiteral("new"), QStringLiteral("Café")}), kv::ListWrite::Written);
    EXPECT_EQ(kvtest::readFile(path), QByteArray("new\r\nCaf\xe9\r\n"));
    EXPECT_EQ(QDir(kvtest::tempDir()).entryList(QDir::Files), QStringList{QStringLiteral("A.001")})
        << "no temporary file is left beside it";

    const QString nowhere = kvtest::tempPath(QStringLiteral("missing/B.001"));
    EXPECT_EQ(kv::writeListFile(nowhere, {QStringLiteral("x")}), kv::ListWrite::NotCreated);
    EXPECT_FALSE(QFile::exists(nowhere));
    EXPECT_TRUE(kv::readListFile(nowhere).isEmpty()) << "a missing file is an empty list";
}

} // namespace
