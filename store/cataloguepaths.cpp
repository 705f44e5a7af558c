#include "store/cataloguepaths.h"

#include "base/paths.h"

#include <QDir>
#include <QFileInfo>

namespace kv {

CataloguePaths CataloguePaths::of(const QString &path)
{
    CataloguePaths p;
    p.path = path;
    if (path.isEmpty())
        return p;
    const QFileInfo info(path);
    p.directory = QDir::cleanPath(info.absolutePath()) + QLatin1Char('/');
    const QString name = info.fileName();
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    p.tableName = dot < 0 ? name : name.left(dot);
    p.basePath = p.directory + p.tableName;
    // Companion files another system wrote in another letter case are still found.
    p.mdxPath = resolveCaseInsensitive(p.basePath + QStringLiteral(".MDX"));
    p.iniPath = resolveCaseInsensitive(p.basePath + QStringLiteral(".INI"));
    return p;
}

} // namespace kv
