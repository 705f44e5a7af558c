#pragma once
// The drive list of the Backup window: the mounted volumes a user can write to (the
// home, removable media, network mounts the system shows), the program folder's volume
// first. System volumes (/proc, /sys, /dev, /run ...) are not drives to a user.
#include <QList>
#include <QString>

namespace kv {

struct BackupDrive {
    QString root;  // where the volume is mounted
    QString name;  // what the list shows
    QString start; // the folder its directory list opens at
};

QList<BackupDrive> backupDrives(const QString &programFolder);

} // namespace kv
