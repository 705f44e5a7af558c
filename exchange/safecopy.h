#pragma once
// Copying a whole file so that the old target survives any failure: the bytes go to a
// temporary file beside the target, which is flushed to the disk, checked for the
// source's size and only then renamed over the target. A full disk, a pulled medium, a
// cancel or a killed process leave the old target whole and no temporary behind (a
// killed process may leave its temporary, which the next copy to that target clears;
// never a damaged target).
#include <QString>
#include <functional>

namespace kv {

// Told how far the copy has come, from the calling thread, at the start and then at
// least every 50 ms whatever the disk does (the bytes move on a helper thread); returning
// false cancels the copy.
using CopyProgress = std::function<bool(qint64 done, qint64 total)>;

enum class CopyResult { Copied, Failed, Cancelled };

// error (when given) says why a copy failed.
CopyResult safeCopy(const QString &source, const QString &target, const CopyProgress &progress = {},
                    QString *error = nullptr);

// The bytes a user may still write on the volume that holds folder; -1 when unknown.
qint64 volumeFreeBytes(const QString &folder);

// True when both paths name one file: equal when upper-cased, or the same file on disk
// (through a link, or in another letter case).
bool samePath(const QString &a, const QString &b);

} // namespace kv
