#include "store/dbf/companion.h"

#include "store/dbf/dbfheader.h"
#include "store/dbf/osfile.h"

#include "base/paths.h"

#include <QFileInfo>

namespace kv {

QString tableBaseName(const QString &fileName)
{
    const qsizetype dot = fileName.indexOf(QLatin1Char('.'));
    return dot < 0 ? fileName : fileName.left(dot);
}

QString mdxPathFor(const QString &dbfPath)
{
    const QFileInfo info(dbfPath);
    return resolveCaseInsensitive(info.absolutePath() + QLatin1Char('/') + tableBaseName(info.fileName()) +
                                  QStringLiteral(".MDX"));
}

void removeMdxByte(const QString &dbfPath)
{
    if (QFileInfo::exists(mdxPathFor(dbfPath)))
        return;
    OsFile file;
    if (!file.open(resolveCaseInsensitive(dbfPath), true))
        return;
    // A file that already says so is not touched (it may be one that is only read).
    if (file.size() > kDbfProductionFlag && readProductionFlag(file))
        writeProductionFlag(file, false);
}

} // namespace kv
