// Copying between open files: inside the system on one file system, by hand across two.
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
