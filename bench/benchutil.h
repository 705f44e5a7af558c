#pragma once
// What the benchmark programs share: timing, the plain read they are measured
// against, and their options.
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>

namespace kvbench {

double seconds(const QElapsedTimer &timer);

// Reads the whole file in 1 MB blocks; the seconds it took.
double plainRead(const QString &path);

// --dir DIR and --records N,N,... ; without --dir, a temporary folder that lives as
// long as the options.
struct Options {
    QString dir;
    QList<std::uint32_t> sizes;
    bool valid = true;
    std::shared_ptr<QTemporaryDir> temp;
};
Options parseOptions(const QStringList &args, const QList<std::uint32_t> &defaultSizes);

} // namespace kvbench
