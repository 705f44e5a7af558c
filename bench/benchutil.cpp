#include "benchutil.h"

#include <QDir>
#include <QFile>

namespace kvbench {

double seconds(const QElapsedTimer &timer) { return double(timer.nsecsElapsed()) / 1e9; }

double plainRead(const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    volatile char sink = 0;
    qint64 n;
    while ((n = f.read(buffer.data(), buffer.size())) > 0)
        sink = sink + buffer[int(n - 1)];
    return seconds(timer);
}

Options parseOptions(const QStringList &args, const QList<std::uint32_t> &defaultSizes)
{
    Options o;
    o.sizes = defaultSizes;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == QLatin1String("--dir") && hasValue) {
            o.dir = args[++i];
        } else if (args[i] == QLatin1String("--records") && hasValue) {
            o.sizes.clear();
            for (const QString &n : args[++i].split(QLatin1Char(','), Qt::SkipEmptyParts))
                o.sizes << n.toUInt();
        } else {
            o.valid = false;
        }
    }
    if (o.dir.isEmpty()) {
        o.temp = std::make_shared<QTemporaryDir>();
        o.dir = o.temp->path();
    }
    QDir().mkpath(o.dir);
    return o;
}

} // namespace kvbench
