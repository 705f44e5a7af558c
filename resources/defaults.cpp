#include "defaults.h"

#include "base/atomicfile.h"
#include "base/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kv {

namespace {

// List number n is entry n - 1.
constexpr const char *kListFiles[kPickListCount] = {
    "PRODUCER.LST", "STAR.LST",     "DIRECT.LST",   "RELEASE.LST",  "RATING.LST",  "CATEGORY.LST",
    "PICTURE.LST",  "SOUND.LST",    "FORMAT.LST",   "LASER.LST",    "PERSRATE.LST", "RECSPEED.LST",
    "CONTENT.LST",  "OSCAR.LST",    "CHECKOUT.LST", "PURCH.LST",    "MISC.LST",
};

constexpr char kListResourceDir[] = ":/kestrova-videos/lists/";

QString canonicalName(const QString &fileName)
{
    for (const char *name : kListFiles) {
        if (fileName.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(name);
    }
    return {};
}

bool readResource(const QString &name, QByteArray *bytes)
{
    QFile file(QLatin1String(kListResourceDir) + name);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.readAll();
    return true;
}

// Written through a temporary file so that a full disk never leaves half a list.
bool writeList(const QString &path, const QByteArray &bytes, QString *reason)
{
    return writeFileAtomically(path, bytes, reason);
}

} // namespace

QString defaultListFileName(int listNumber)
{
    if (listNumber < 1 || listNumber > kPickListCount)
        return {};
    return QString::fromLatin1(kListFiles[listNumber - 1]);
}

QStringList defaultListFileNames()
{
    QStringList names;
    for (int n = 1; n <= kPickListCount; ++n)
        names << defaultListFileName(n);
    return names;
}

QByteArray defaultListContents(const QString &fileName)
{
    QByteArray bytes;
    const QString name = canonicalName(fileName);
    if (!name.isEmpty())
        readResource(name, &bytes);
    return bytes;
}

bool installDefaultLists(const QString &programDir, QString *error)
{
    QStringList problems;
    if (!QDir().mkpath(programDir)) {
        problems << QStringLiteral("The folder \"%1\" could not be created.").arg(QDir::toNativeSeparators(programDir));
    } else {
        const QDir dir(programDir);
        for (const QString &name : defaultListFileNames()) {
            const QString target = dir.filePath(name);
            if (QFileInfo::exists(resolveCaseInsensitive(target)))
                continue;
            QByteArray bytes;
            QString reason;
            if (!readResource(name, &bytes))
                reason = QStringLiteral("the delivered list is missing from the program");
            else if (writeList(target, bytes, &reason))
                continue;
            problems << QStringLiteral("The list \"%1\" could not be written: %2.")
                            .arg(QDir::toNativeSeparators(target), reason);
        }
    }
    if (error)
        *error = problems.join(QLatin1Char('\n'));
    return problems.isEmpty();
}

} // namespace kv
