// Copying between open files (inside the system on one file system, by hand across two) and
// writing over bytes a file has.
#include "store/dbf/osfile.h"

#include <QDir>
#include <QFile>
#include <QStorageInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kv;

namespace {
QByteArray pattern(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 131 + i / 977) & 0xff);
    return bytes;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}
} // namespace

TEST(OsFileCopy, CopiesTheRangeWithinAndAcrossFileSystems)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // /dev/shm is another file system on most machines: the copy then falls back.
    QTemporaryDir shm(QStringLiteral("/dev/shm/kv-osfile-XXXXXX"));
    const QByteArray source = pattern(3 << 20);
    for (const QString &folder : {dir.path(), shm.isValid() ? shm.path() : QString()}) {
        if (folder.isEmpty())
            continue;
        SCOPED_TRACE(folder.toStdString());
        const QString from = folder + QStringLiteral("/SOURCE.DBF");
        writeFile(from, source);
        OsFile in, out;
        ASSERT_TRUE(in.open(from, false));
        ASSERT_TRUE(out.open(dir.filePath(QStringLiteral("TARGET.DBF")), true, true));
        ASSERT_TRUE(out.truncate(0));
        ASSERT_TRUE(out.writeAt(0, "HEAD", 4));
        const std::size_t size = (5u << 19) + 77;
        ASSERT_TRUE(out.copyFrom(in, 1001, 4, size)) << out.errorText().toStdString();
        ASSERT_EQ(out.size(), std::int64_t(4 + size));
        QByteArray got(int(size), '\0');
        ASSERT_TRUE(out.readAt(4, got.data(), size));
        EXPECT_EQ(got, source.mid(1001, int(size)));

        // Past the source's end: refused with a reason, and only bytes that exist copied.
        EXPECT_FALSE(out.copyFrom(in, source.size() - 10, 0, 100));
        EXPECT_FALSE(out.errorText().isEmpty());
    }
}

// Writing over bytes the file has goes through the shared mapping where it covers them;
// other readers see it at once, and what lies past the file's end still reaches the file.
TEST(OsFileOverwrite, StoresShowAtOnceAndBytesPastTheEndStillGrowTheFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("T.DBF"));
    QByteArray expected = pattern(10000);
    writeFile(path, expected);
    const auto onDisk = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    OsFile f;
    ASSERT_TRUE(f.open(path, true));
    ASSERT_TRUE(f.overwrite(3, "before", 6)); // no mapping yet
    expected.replace(3, 6, "before");
    const char *mapped = f.map(expected.size());
    ASSERT_NE(mapped, nullptr);
    ASSERT_TRUE(f.overwrite(100, "abcd", 4));
    ASSERT_TRUE(f.overwrite(5001, "mapped", 6));
    expected.replace(100, 4, "abcd");
    expected.replace(5001, 6, "mapped");
    EXPECT_EQ(QByteArray(mapped, expected.size()), expected);
    EXPECT_EQ(onDisk(), expected);

    ASSERT_TRUE(f.overwrite(expected.size() - 2, "across", 6));
    expected.replace(expected.size() - 2, 2, "across");
    EXPECT_EQ(onDisk(), expected);

    // After the file was cut, bytes beyond the cut are written, not stored in the mapping.
    ASSERT_TRUE(f.truncate(50));
    ASSERT_TRUE(f.overwrite(60, "tail", 4));
    const QByteArray now = onDisk();
    ASSERT_EQ(now.size(), 64);
    EXPECT_EQ(now.left(50), expected.left(50));
    EXPECT_EQ(now.mid(50, 10), QByteArray(10, '\0'));
    EXPECT_EQ(now.mid(60), QByteArray("tail"));

    OsFile readOnly;
    ASSERT_TRUE(readOnly.open(path, false));
    ASSERT_NE(readOnly.map(64), nullptr);
    EXPECT_FALSE(readOnly.overwrite(0, "x", 1));
    EXPECT_FALSE(readOnly.errorText().isEmpty());
    EXPECT_EQ(onDisk(), now);
}
