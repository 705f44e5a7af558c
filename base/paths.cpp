#include "paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kv {

void initApplicationIdentity()
{
    QCoreApplication::setOrganizationName(QString());
    QCoreApplication::setOrganizationDomain(QString());
    QCoreApplication::setApplicationName(QString::fromLatin1(kApplicationName));
}

static QString ensured(QStandardPaths::StandardLocation location)
{
    QString dir = QStandardPaths::writableLocation(location);
    QDir().mkpath(dir);
    return dir;
}

QString configDir() { return ensured(QStandardPaths::AppConfigLocation); }
QString programDir() { return ensured(QStandardPaths::AppDataLocation); }

QString resolveCaseInsensitive(const QString &path)
{
    QFileInfo info(path);
    if (info.exists())
        return path;
    QDir dir = info.absoluteDir();
    if (!dir.exists())
        return path;
    const QString wanted = info.fileName();
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &entry : entries) {
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return path;
}

} // namespace kv
