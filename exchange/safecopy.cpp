#include "exchange/safecopy.h"

#include "store/dbf/osfile.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>
#include <vector>

namespace kv {

namespace {

// Large enough to copy at the disk's speed, small enough to report progress often.
constexpr qint64 kChunk = 4 << 20;

CopyResult fail(OsFile &temporary, QString *error, const QString &why)
{
    if (error)
        *error = why;
    temporary.discard();
    return CopyResult::Failed;
}

} // namespace

CopyResult safeCopy(const QString &source, const QString &target, const CopyProgress &progress, QString *error)
{
    OsFile in;
    if (!in.open(source, false)) {
        if (error)
            *error = in.errorText();
        return CopyResult::Failed;
    }
    OsFile out;
    if (!out.createTemporary(target)) {
        if (error)
            *error = out.errorText();
        return CopyResult::Failed;
    }
    const qint64 total = in.size();
    std::vector<char> buffer(size_t(std::min(kChunk, std::max<qint64>(total, 1))));
    qint64 done = 0;
    while (done < total) {
        if (progress && !progress(done, total)) {
            out.discard();
            return CopyResult::Cancelled;
        }
        const qint64 n = std::min<qint64>(qint64(buffer.size()), total - done);
        if (!in.readAt(done, buffer.data(), size_t(n)))
            return fail(out, error, in.errorText().isEmpty() ? QStringLiteral("The file became shorter while it was copied.") : in.errorText());
        if (!out.writeAt(done, buffer.data(), size_t(n)))
            return fail(out, error, out.errorText());
        done += n;
    }
    if (!out.sync())
        return fail(out, error, QStringLiteral("The copy could not be written to the disk."));
    if (out.size() != total || in.size() != total)
        return fail(out, error, QStringLiteral("The copy does not have the size of the file."));
    if (!out.renameOver(target))
        return fail(out, error, out.errorText());
    if (!out.close()) {
        if (error)
            *error = out.errorText();
        return CopyResult::Failed;
    }
    if (progress)
        progress(total, total);
    return CopyResult::Copied;
}

qint64 volumeFreeBytes(const QString &folder)
{
    const QStorageInfo volume(folder);
    return volume.isValid() ? volume.bytesAvailable() : -1;
}

bool samePath(const QString &a, const QString &b)
{
    if (QDir::cleanPath(QFileInfo(a).absoluteFilePath()).toUpper() ==
        QDir::cleanPath(QFileInfo(b).absoluteFilePath()).toUpper())
        return true;
    return OsFile::stampOf(a).sameFile(OsFile::stampOf(b));
}

} // namespace kv
