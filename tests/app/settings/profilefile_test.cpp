#include "app/settings/profilefile.h"

#include "support/testenv.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace kv;

namespace {
const QByteArray kHandEdited = "; written by hand\r\n"
                               "[Misc]\r\n"
                               "Button Bar = 2 \r\n"
                               "; where the window goes\r\n"
                               "Main Window Left=10\r\n"
                               "Unknown Key=kept\r\n"
                               "\r\n"
                               "[Other Program]\r\n"
                               "Main Window Left=99\r\n"
                               "\r\n"
                               "[misc]\r\n"
                               "Button Bar=7\r\n";
}

TEST(ProfileFile, FindsSectionsAndKeysWithoutRegardToCase)
{
    const ProfileFile p = ProfileFile::fromBytes(kHandEdited);
    EXPECT_EQ(p.value(QStringLiteral("MISC"), QStringLiteral("button bar")), QStringLiteral("2"));
    EXPECT_EQ(p.value(QStringLiteral("misc"), QStringLiteral("MAIN WINDOW LEFT")), QStringLiteral("10"));
    EXPECT_EQ(p.value(QStringLiteral("Other Program"), QStringLiteral("Main Window Left")), QStringLiteral("99"));
    // The first section of a name is the one that counts.
    EXPECT_EQ(p.value(QStringLiteral("Misc"), QStringLiteral("Unknown Key")), QStringLiteral("kept"));
    EXPECT_FALSE(p.value(QStringLiteral("Misc"), QStringLiteral("Show Tips")).has_value());
    EXPECT_FALSE(p.value(QStringLiteral("Label"), QStringLiteral("Button Bar")).has_value());
    // Comments are not keys.
    EXPECT_FALSE(p.value(QStringLiteral("Misc"), QStringLiteral("; where the window goes")).has_value());
}

TEST(ProfileFile, ValuesComeBackAsWritten)
{
    const ProfileFile p = ProfileFile::fromBytes("[S]\nA=x = y\nB=\nC=  \"quoted\"  \nD=Yes;no comment\n");
    EXPECT_EQ(p.value(QStringLiteral("S"), QStringLiteral("A")), QStringLiteral("x = y"));
    EXPECT_EQ(p.value(QStringLiteral("S"), QStringLiteral("B")), QString());
    EXPECT_TRUE(p.value(QStringLiteral("S"), QStringLiteral("B")).has_value());
    EXPECT_EQ(p.value(QStringLiteral("S"), QStringLiteral("C")), QStringLiteral("\"quoted\""));
    EXPECT_EQ(p.value(QStringLiteral("S"), QStringLiteral("D")), QStringLiteral("Yes;no comment"));
}

TEST(ProfileFile, UpdatingAKeyKeepsEveryOtherLine)
{
    ProfileFile p = ProfileFile::fromBytes(kHandEdited);
    p.setValue(QStringLiteral("MISC"), QStringLiteral("BUTTON BAR"), QStringLiteral("3"));
    p.setValue(QStringLiteral("Misc"), QStringLiteral("Show Tips"), QStringLiteral("No"));
    p.setValue(QStringLiteral("Label"), QStringLiteral("Face Count"), QStringLiteral("12"));
    p.setValue(QStringLiteral("Label"), QStringLiteral("Face Gap"), QStringLiteral("0.2500"));
    const QByteArray expected = "; written by hand\r\n"
                                "[Misc]\r\n"
                                "Button Bar=3\r\n" // in place, in the file's spelling
                                "; where the window goes\r\n"
                                "Main Window Left=10\r\n"
                                "Unknown Key=kept\r\n"
                                "Show Tips=No\r\n" // after the section's last key
                                "\r\n"
                                "[Other Program]\r\n"
                                "Main Window Left=99\r\n"
                                "\r\n"
                                "[misc]\r\n"
                                "Button Bar=7\r\n"
                                "\r\n"
                                "[Label]\r\n" // a new section at the end
                                "Face Count=12\r\n"
                                "Face Gap=0.2500\r\n";
    EXPECT_EQ(p.toBytes(), expected);
}

TEST(ProfileFile, UnchangedTextIsWrittenBackByteForByte)
{
    EXPECT_EQ(ProfileFile::fromBytes(kHandEdited).toBytes(), kHandEdited);
    // Lines ended by LF alone come back with CRLF, nothing else changes.
    EXPECT_EQ(ProfileFile::fromBytes("[A]\nk=v\n  odd line  \n").toBytes(), QByteArray("[A]\r\nk=v\r\n  odd line  \r\n"));
    EXPECT_EQ(ProfileFile().toBytes(), QByteArray());
}

TEST(ProfileFile, KeysOfAnEmptyFileAndBeforeAnySection)
{
    ProfileFile p = ProfileFile::fromBytes("stray=1\r\n");
    EXPECT_FALSE(p.value(QString(), QStringLiteral("stray")).has_value());
    p.setValue(QStringLiteral("Misc"), QStringLiteral("Button Bar"), QStringLiteral("1"));
    EXPECT_EQ(p.toBytes(), QByteArray("stray=1\r\n\r\n[Misc]\r\nButton Bar=1\r\n"));

    ProfileFile empty;
    empty.setValue(QStringLiteral("Misc"), QStringLiteral("Button Bar"), QStringLiteral("1"));
    EXPECT_EQ(empty.toBytes(), QByteArray("[Misc]\r\nButton Bar=1\r\n"));
}

TEST(ProfileFile, ALineBreakInAValueCannotMakeANewLine)
{
    ProfileFile p;
    p.setValue(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("one\r\n[Two]"));
    EXPECT_EQ(p.toBytes(), QByteArray("[S]\r\nK=one  [Two]\r\n"));
}

TEST(ProfileFile, FilesAreCodePage1252)
{
    const QString path = kvtest::tempPath(QStringLiteral("X.INI"));
    kvtest::writeFile(path, QByteArray("[Field Names]\r\nTitle=Caf\xE9 \x80\r\n"));
    ProfileFile p = ProfileFile::read(path);
    EXPECT_EQ(p.value(QStringLiteral("Field Names"), QStringLiteral("Title")), QString::fromUtf8("Café €"));
    p.setValue(QStringLiteral("Field Names"), QStringLiteral("Star1"), QString::fromUtf8("Müller ☃"));
    ASSERT_TRUE(p.write(path));
    EXPECT_EQ(kvtest::readFile(path), QByteArray("[Field Names]\r\nTitle=Caf\xE9 \x80\r\nStar1=M\xFCller ?\r\n"));
}

TEST(ProfileFile, WritesThroughATemporaryFileInTheSameFolder)
{
    const QString path = kvtest::tempPath(QStringLiteral("QVRVID.INI"));
    kvtest::writeFile(path, QByteArray("[Misc]\r\nButton Bar=1\r\n"));
    ProfileFile p = ProfileFile::read(path);
    p.setValue(QStringLiteral("Misc"), QStringLiteral("Button Bar"), QStringLiteral("2"));
    QString error;
    ASSERT_TRUE(p.write(path, &error)) << error.toStdString();
    EXPECT_EQ(kvtest::readFile(path), QByteArray("[Misc]\r\nButton Bar=2\r\n"));
    // Nothing is left behind beside it.
    EXPECT_EQ(QDir(kvtest::tempDir()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("QVRVID.INI")});

    // A folder that does not exist: refused with a reason, nothing created.
    const QString nowhere = kvtest::tempPath(QStringLiteral("missing/QVRVID.INI"));
    EXPECT_FALSE(p.write(nowhere, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(nowhere));
}

TEST(ProfileFile, AMissingFileReadsAsEmpty)
{
    const ProfileFile p = ProfileFile::read(kvtest::tempPath(QStringLiteral("NONE.INI")));
    EXPECT_EQ(p.toBytes(), QByteArray());
    EXPECT_FALSE(p.value(QStringLiteral("Misc"), QStringLiteral("Button Bar")).has_value());
}
