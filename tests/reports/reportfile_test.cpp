// The definitions file: list, read, write, append, delete, and what a damaged or
// missing file gives.
#include "rawrecord.h"
#include "reports/reportfile.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace rawrec;

namespace {

kv::TReportDefRec named(const char *name)
{
    kv::TReportDefRec def = kv::newReportDef();
    def.name = QString::fromLatin1(name);
    return def;
}

QString urpPath() { return kvtest::tempPath(QStringLiteral("QVRVID.URP")); }

// A file of one record per name.
kv::ReportFile fileWith(const QStringList &names)
{
    QByteArray bytes;
    for (const QString &name : names) {
        kv::TReportDefRec def = kv::newReportDef();
        def.name = name;
        bytes += kv::reportDefToBytes(def);
    }
    kvtest::writeFile(urpPath(), bytes);
    return kv::ReportFile(urpPath());
}

// The names as the bytes of the file hold them.
QStringList rawNames()
{
    const QByteArray file = kvtest::readFile(urpPath());
    QStringList names;
    for (int i = 0; i < file.size() / kRecordSize; ++i)
        names << QString::fromLatin1(str(record(file, i), kName, 30));
    return names;
}

const QStringList kABC = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};

} // namespace

TEST(ReportFile, MissingOrUnreadableFileGivesAnEmptyList)
{
    kv::ReportFile file(urpPath());
    kv::TReportDefRec def = named("untouched");
    EXPECT_TRUE(file.names().isEmpty());
    EXPECT_FALSE(file.read(0, def));
    EXPECT_EQ(def.name, QStringLiteral("untouched"));

    ASSERT_TRUE(QDir().mkdir(urpPath())); // a folder where the file should be
    EXPECT_TRUE(file.names().isEmpty());
    EXPECT_FALSE(file.read(0, def));
}

TEST(ReportFile, AppendCreatesTheFileAndAddsAtTheEnd)
{
    kv::ReportFile file(urpPath());
    ASSERT_TRUE(file.append(named("First"))) << file.errorString().toStdString();
    ASSERT_TRUE(file.append(named("Second")));
    EXPECT_EQ(QFileInfo(urpPath()).size(), 2 * kRecordSize);
    EXPECT_EQ(rawNames(), QStringList({"First", "Second"}));
    EXPECT_EQ(file.names(), QStringList({"First", "Second"}));
}

TEST(ReportFile, ReadGivesTheRecordAtItsIndex)
{
    kv::ReportFile file = fileWith(kABC);
    kv::TReportDefRec def;
    ASSERT_TRUE(file.read(1, def));
    EXPECT_EQ(def, named("B"));
    def = named("untouched");
    EXPECT_FALSE(file.read(3, def));
    EXPECT_FALSE(file.read(-1, def));
    EXPECT_EQ(def.name, QStringLiteral("untouched"));
}

TEST(ReportFile, WriteReplacesOnlyItsRecord)
{
    kv::ReportFile file = fileWith(kABC);
    const QByteArray before = kvtest::readFile(urpPath());
    kv::TReportDefRec changed = named("B2");
    changed.lineWidth = 120;
    ASSERT_TRUE(file.write(1, changed)) << file.errorString().toStdString();
    const QByteArray after = kvtest::readFile(urpPath());
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(record(after, 0), record(before, 0));
    EXPECT_EQ(record(after, 1), kv::reportDefToBytes(changed));
    EXPECT_EQ(record(after, 2), record(before, 2));

    // At the record count it appends.
    ASSERT_TRUE(file.write(3, named("D")));
    EXPECT_EQ(rawNames(), QStringList({"A", "B2", "C", "D"}));
}

TEST(ReportFile, WriteOrDeleteOutsideTheFileIsRefusedAndChangesNothing)
{
    kv::ReportFile file = fileWith(kABC);
    const QByteArray before = kvtest::readFile(urpPath());
    EXPECT_FALSE(file.write(4, named("X")));
    EXPECT_FALSE(file.errorString().isEmpty());
    EXPECT_FALSE(file.write(-1, named("X")));
    EXPECT_FALSE(file.remove(3));
    EXPECT_FALSE(file.remove(-1));
    EXPECT_EQ(kvtest::readFile(urpPath()), before);
}

TEST(ReportFile, DeleteMovesLaterRecordsDownAndCutsTheFile)
{
    struct Case {
        QStringList initial;
        int index;
        QStringList remaining;
    };
    const Case cases[] = {
        {kABC, 0, {"B", "C"}},
        {kABC, 1, {"A", "C"}},
        {kABC, 2, {"A", "B"}}, // the last
        {{"Only"}, 0, {}},     // the only one: an empty file stays
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.initial.join(',').toStdString() + " delete " + std::to_string(c.index));
        kv::ReportFile file = fileWith(c.initial);
        const QByteArray before = kvtest::readFile(urpPath());
        ASSERT_TRUE(file.remove(c.index)) << file.errorString().toStdString();
        const QByteArray after = kvtest::readFile(urpPath());
        ASSERT_TRUE(QFile::exists(urpPath()));
        EXPECT_EQ(after.size(), qsizetype(c.remaining.size()) * kRecordSize);
        EXPECT_EQ(rawNames(), c.remaining);
        EXPECT_EQ(file.names(), c.remaining);
        // The records before the deleted one are untouched.
        EXPECT_EQ(after.left(c.index * kRecordSize), before.left(c.index * kRecordSize));
    }
}

TEST(ReportFile, FileCutShortInARecordLoadsTheWholeRecordsBeforeIt)
{
    for (int cut : {1, 31, kRecordSize / 2, kRecordSize - 1}) {
        SCOPED_TRACE("cut after " + std::to_string(cut) + " bytes");
        fileWith(kABC);
        kvtest::writeFile(urpPath(), kvtest::readFile(urpPath()).left(2 * kRecordSize + cut));
        kv::ReportFile file(urpPath());
        EXPECT_EQ(file.names(), QStringList({"A", "B"}));
        kv::TReportDefRec def;
        EXPECT_FALSE(file.read(2, def));
        // The broken tail gives way to the next record written.
        ASSERT_TRUE(file.append(named("D")));
        EXPECT_EQ(QFileInfo(urpPath()).size(), 3 * kRecordSize);
        EXPECT_EQ(rawNames(), QStringList({"A", "B", "D"}));
    }
}

TEST(ReportFile, ChangesLeaveNoOtherFilesInTheFolder)
{
    kv::ReportFile file(urpPath());
    ASSERT_TRUE(file.append(named("A")));
    ASSERT_TRUE(file.append(named("B")));
    ASSERT_TRUE(file.write(0, named("A2")));
    ASSERT_TRUE(file.remove(1));
    EXPECT_EQ(QDir(kvtest::tempDir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({"QVRVID.URP"}));
}

TEST(ReportFile, FailedWriteSaysWhyAndLeavesWhatIsThere)
{
    ASSERT_TRUE(QDir().mkdir(urpPath()));
    kvtest::writeFile(urpPath() + QStringLiteral("/inside"), "keep");
    kv::ReportFile file(urpPath());
    EXPECT_FALSE(file.append(named("A")));
    EXPECT_TRUE(file.errorString().contains(QStringLiteral("QVRVID.URP"))) << file.errorString().toStdString();
    EXPECT_EQ(kvtest::readFile(urpPath() + QStringLiteral("/inside")), QByteArray("keep"));

    kv::ReportFile nowhere(kvtest::tempPath(QStringLiteral("no such folder/QVRVID.URP")));
    EXPECT_FALSE(nowhere.append(named("A")));
    EXPECT_FALSE(nowhere.errorString().isEmpty());
}

TEST(ReportFile, FoundInAnyLetterCase)
{
    kvtest::writeFile(kvtest::tempPath(QStringLiteral("qvrvid.urp")), kv::reportDefToBytes(named("Lower")));
    kv::ReportFile file(kv::ReportFile::pathIn(kvtest::tempDir()));
    EXPECT_EQ(file.names(), QStringList({"Lower"}));
    ASSERT_TRUE(file.append(named("More")));
    EXPECT_EQ(QDir(kvtest::tempDir()).entryList(QDir::Files), QStringList({"qvrvid.urp"}));
}
