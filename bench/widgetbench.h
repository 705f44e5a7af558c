#pragma once
// The entry of a benchmark that times windows: the offscreen platform unless another is
// asked for, the shared options, then run(dir, size) for each size.
#include "benchutil.h"

#include <QApplication>
#include <cstdio>

namespace kvbench {

template <typename Run>
int runWidgetBenchmark(int argc, char **argv, const char *name, const QList<std::uint32_t> &defaultSizes, Run run)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const Options options = parseOptions(app.arguments().mid(1), defaultSizes);
    if (!options.valid) {
        std::fprintf(stderr, "usage: %s [--dir DIR] [--records N,N,...]\n", name);
        return 2;
    }
    for (std::uint32_t n : options.sizes)
        run(options.dir, n);
    return 0;
}

} // namespace kvbench
