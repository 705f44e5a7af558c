#include "exchange/safecopy.h"

#include "store/dbf/osfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <vector>

#include <cerrno>
#include <unistd.h>

namespace kv {

namespace {

// A step of the copy: large enough to copy at the disk's speed, small enough to stop
// soon after a cancel.
constexpr qint64 kStep = 4 << 20;
// How often the progress is told.
constexpr auto kTellEvery = std::chrono::milliseconds(50);

CopyResult fail(OsFile &temporary, QString *error, const QString &why)
{
    if (error)
        *error = why;
    temporary.discard();
    return CopyResult::Failed;
}

// Copies count bytes at offset from one file to the other. The kernel copies them
// without passing them through the program where it can; otherwise (another file
// system, say) they go through buffer. False with the reason in why.
bool copyStep(int from, int to, qint64 offset, qint64 count, std::vector<char> &buffer, bool &inKernel, QString &why)
{
    while (count > 0) {
        if (inKernel) {
            loff_t in = offset, out = offset;
            const ssize_t n = ::copy_file_range(from, &in, to, &out, size_t(count), 0);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP || errno == EINVAL)) {
                inKernel = false;
                continue;
            }
            if (n <= 0) {
                why = n < 0 ? systemError(errno) : QStringLiteral("The file became shorter while it was copied.");
                return false;
            }
            offset += n;
            count -= n;
            continue;
        }
        buffer.resize(size_t(kStep));
        const ssize_t n = ::pread(from, buffer.data(), size_t(std::min<qint64>(count, kStep)), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            why = n < 0 ? systemError(errno) : QStringLiteral("The file became shorter while it was copied.");
            return false;
        }
        for (ssize_t written = 0; written < n;) {
            const ssize_t w = ::pwrite(to, buffer.data() + written, size_t(n - written), offset + written);
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0) {
                why = systemError(w < 0 ? errno : ENOSPC);
                return false;
            }
            written += w;
        }
        offset += n;
        count -= n;
    }
    return true;
}

// The temporaries of earlier copies to target that were killed before they ended: the
// names OsFile::createTemporary gives, untouched for a minute (a copy that is still
// running writes its own all the time).
void removeStaleTemporaries(const QString &target)
{
    const QFileInfo info(target);
    QDir dir = info.absoluteDir();
    const QDateTime before = QDateTime::currentDateTime().addSecs(-60);
    for (const QFileInfo &left : dir.entryInfoList({info.fileName() + QStringLiteral(".????????.tmp")},
                                                   QDir::Files | QDir::Hidden)) {
        if (left.lastModified() < before)
            dir.remove(left.fileName());
    }
}

} // namespace

CopyResult safeCopy(const QString &source, const QString &target, const CopyProgress &progress, QString *error)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = in.errorString();
        return CopyResult::Failed;
    }
    removeStaleTemporaries(target);
    OsFile out;
    if (!out.createTemporary(target)) {
        if (error)
            *error = out.errorText();
        return CopyResult::Failed;
    }
    // The temporary is written through a descriptor of its own; the file object keeps
    // the flushing, the renaming and the removal on failure.
    QFile writer(out.path());
    if (!writer.open(QIODevice::WriteOnly | QIODevice::ExistingOnly | QIODevice::Unbuffered))
        return fail(out, error, writer.errorString());
    const qint64 total = in.size();

    // The bytes are copied, flushed and put in place by a helper thread, so that a disk
    // that makes writers wait never stops this one from telling the progress (and the
    // window from painting and taking a cancel). A cancel counts until the rename.
    struct Outcome {
        CopyResult result = CopyResult::Copied;
        QString why;
    };
    std::atomic<qint64> copied{0};
    std::atomic<bool> stop{false};
    std::future<Outcome> work = std::async(std::launch::async, [&]() -> Outcome {
        std::vector<char> buffer;
        bool inKernel = true;
        QString why;
        for (qint64 done = 0; done < total && !stop; done += kStep) {
            if (!copyStep(in.handle(), writer.handle(), done, std::min(kStep, total - done), buffer, inKernel, why))
                return {CopyResult::Failed, why};
            copied = std::min(total, done + kStep);
        }
        if (!stop && !out.sync())
            return {CopyResult::Failed, QStringLiteral("The copy could not be written to the disk.")};
        if (!stop && (out.size() != total || in.size() != total))
            return {CopyResult::Failed, QStringLiteral("The copy does not have the size of the file.")};
        if (stop)
            return {CopyResult::Cancelled, {}};
        if (!out.renameOver(target))
            return {CopyResult::Failed, out.errorText()};
        return {};
    });
    do {
        if (progress && !stop && !progress(copied, total))
            stop = true;
    } while (work.wait_for(kTellEvery) != std::future_status::ready);
    const Outcome outcome = work.get();
    writer.close();
    switch (outcome.result) {
    case CopyResult::Failed: return fail(out, error, outcome.why);
    case CopyResult::Cancelled: out.discard(); return CopyResult::Cancelled;
    case CopyResult::Copied: break;
    }
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
