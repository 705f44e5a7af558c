#pragma once
// The paths of the open catalogue, all derived from its .DBF path.
#include <QString>

namespace kv {

struct CataloguePaths {
    QString path;      // the .DBF as chosen
    QString directory; // with a trailing '/'
    QString tableName; // the file name up to its first period
    QString mdxPath;   // directory + table name + ".MDX"
    QString iniPath;   // directory + table name + ".INI"
    QString basePath;  // directory + table name: the pick-list files hang on this

    static CataloguePaths of(const QString &path);
    bool operator==(const CataloguePaths &) const = default;
};

} // namespace kv
