#include "exchange/backupdrives.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace kv {

namespace {

bool isSystemVolume(const QString &root)
{
    for (const char *system : {"/proc", "/sys", "/dev", "/run", "/boot", "/snap", "/etc", "/var/lib"}) {
        const QString prefix = QString::fromLatin1(system);
        if (root == prefix || root.startsWith(prefix + QLatin1Char('/')))
            return true;
    }
    return false;
}

bool holds(const QStorageInfo &volume, const QString &folder)
{
    return QStorageInfo(folder).rootPath() == volume.rootPath();
}

} // namespace

QList<BackupDrive> backupDrives(const QString &programFolder)
{
    const QString home = QDir::homePath();
    QList<BackupDrive> drives;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady() || volume.isReadOnly())
            continue;
        const QString root = volume.rootPath();
        if (std::any_of(drives.cbegin(), drives.cend(), [&](const BackupDrive &d) { return d.root == root; }))
            continue; // mounted twice (a bind mount)
        const bool program = holds(volume, programFolder);
        const bool ofHome = holds(volume, home);
        // A volume whose root only the system may write to is still the user's where it holds their home.
        if (!program && !ofHome && (isSystemVolume(root) || !QFileInfo(root).isWritable()))
            continue;
        BackupDrive drive{root, QDir::toNativeSeparators(root), program ? programFolder : ofHome ? home : root};
        const QString label = volume.displayName();
        if (label != root)
            drive.name += QStringLiteral(" [%1]").arg(label);
        if (program)
            drives.prepend(drive);
        else
            drives.append(drive);
    }
    if (drives.isEmpty() || drives.front().start != programFolder) { // the program folder's is always there
        const QString root = QStorageInfo(programFolder).rootPath();
        drives.prepend({root, QDir::toNativeSeparators(root), programFolder});
    }
    return drives;
}

} // namespace kv
