// Whole-file writes: the old file stays until the new one is complete, and a disk that
// refuses the bytes is told with the file layer's reason.
#include "base/atomicfile.h"
#include "fulldisk.h"
#include "testenv.h"

#include <QDir>
#include <QFileInfo>
#include <cstring>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

TEST(AtomicFile, TheOldFileStaysUntilCommitAndADroppedWriterLeavesNothing)
{
    const QString path = kvtest::tempPath(QStringLiteral("OUT.TXT"));
    kvtest::writeFile(path, "old contents");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const QFile::Permissions rights = QFile::permissions(path);
    {
        kv::AtomicFile file(path);
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(file.write("new"));
        EXPECT_EQ(kvtest::readFile(path), "old contents") << "nothing replaced before commit";
    }
    EXPECT_EQ(kvtest::readFile(path), "old contents");
    EXPECT_EQ(filesIn(kvtest::tempDir()), QStringList{"OUT.TXT"}) << "the temporary is gone";

    kv::AtomicFile file(path);
    ASSERT_TRUE(file.open());
    ASSERT_TRUE(file.write("new contents"));
    ASSERT_TRUE(file.commit()) << file.errorString().toStdString();
    EXPECT_EQ(kvtest::readFile(path), "new contents");
    EXPECT_EQ(QFile::permissions(path), rights)
        << "the new file keeps the old one's access rights";
    EXPECT_EQ(filesIn(kvtest::tempDir()), QStringList{"OUT.TXT"});
}

TEST(AtomicFile, ALinkIsWrittenThroughAndAFolderInTheWayIsRefusedWithItsReason)
{
    const QString real = kvtest::tempPath(QStringLiteral("REAL.INI")), link = kvtest::tempPath(QStringLiteral("LINK.INI"));
    kvtest::writeFile(real, "a");
    ASSERT_TRUE(QFile::link(real, link));
    ASSERT_TRUE(kv::writeFileAtomically(link, "b"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(kvtest::readFile(real), "b");

    const QString folder = kvtest::tempPath(QStringLiteral("DIR.LST"));
    QDir().mkpath(folder);
    QString error;
    EXPECT_FALSE(kv::writeFileAtomically(folder, "x", &error));
    EXPECT_EQ(error, QString::fromLocal8Bit(strerror(EISDIR)));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(kv::cannotWriteMessage(folder, error),
              QStringLiteral("Unable to write %1: %2").arg(QDir::toNativeSeparators(folder), error));
}

TEST(AtomicFile, AFullDiskKeepsTheOldFileAndSaysWhy)
{
    kvtest::FullDisk disk;
    const QString path = disk.path(QStringLiteral("OUT.TXT"));
    kvtest::writeFile(path, "old contents");
    disk.fill();
    const QByteArray big(64 * 1024, 'x');
    kv::AtomicFile file(path);
    const bool written = file.open() && file.write(big) && file.commit();
    EXPECT_FALSE(written);
    EXPECT_EQ(file.errorString(), disk.reason());
    EXPECT_EQ(file.errorMessage(), kv::cannotWriteMessage(path, disk.reason()));
    EXPECT_EQ(kvtest::readFile(path), "old contents");
    QStringList left = filesIn(disk.dir());
    left.removeAll(QStringLiteral("filler"));
    EXPECT_EQ(left, QStringList{"OUT.TXT"}) << "no temporary left behind";

    QString error;
    EXPECT_FALSE(kv::writeFileAtomically(path, big, &error));
    EXPECT_EQ(error, disk.reason());
    EXPECT_EQ(kvtest::readFile(path), "old contents");
}

} // namespace
