#pragma once
// What the backup and restore tests share: catalogues with records, files of known
// bytes, a copy control with a volume of a given size, and a write limit that makes
// every copy fail halfway as a full disk does.
#include "exchange/backup.h"
#include "store/storetest.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace kvtest {

inline QString folder(const QString &name)
{
    const QString path = tempPath(name);
    QDir().mkpath(path);
    return path;
}

// A catalogue of the titles, in the order given.
inline QString catalogueOf(const QString &path, const QStringList &titles)
{
    kv::Table t;
    kv::createMasterTable(t, path);
    t.setPath(path);
    t.open();
    for (const QString &title : titles)
        addRecords(t, {{{"Title", title}}});
    return path;
}

inline QStringList titlesOf(const QString &path)
{
    kv::Table t;
    t.setPath(path);
    t.open();
    return walk(t, "Title");
}

inline kv::CopyControl volumeWithFree(qint64 bytes)
{
    kv::CopyControl control;
    control.freeBytes = [bytes](const QString &) { return bytes; };
    return control;
}

// Files beside path's name in its folder, the file itself excepted: temporaries left behind.
inline QStringList strays(const QString &path)
{
    const QFileInfo info(path);
    QStringList out = QDir(info.absolutePath()).entryList({info.fileName() + QStringLiteral(".*")}, QDir::Files);
    return out;
}

// While it lives, no file of this process grows beyond limit bytes: a write past it
// fails as on a full disk.
class WriteLimit {
public:
    explicit WriteLimit(rlim_t limit)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit now = old_;
        now.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &now);
    }
    ~WriteLimit() { setrlimit(RLIMIT_FSIZE, &old_); }
    WriteLimit(const WriteLimit &) = delete;
    WriteLimit &operator=(const WriteLimit &) = delete;

private:
    rlimit old_{};
};

} // namespace kvtest
