#pragma once
// The options of the hand fuzzers: --runs N, --seed S, --dir DIR.
#include <QString>
#include <QStringList>
#include <cstdint>

namespace kvfuzz {

struct FuzzArgs {
    std::uint64_t runs = 100000;
    std::uint32_t seed = 0;
    QString dir;
};

inline FuzzArgs fuzzArgs(const QStringList &args, std::uint32_t seed, const QString &dir)
{
    FuzzArgs out{100000, seed, dir};
    for (qsizetype i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--runs"))
            out.runs = args[i + 1].toULongLong();
        else if (args[i] == QLatin1String("--seed"))
            out.seed = args[i + 1].toUInt();
        else if (args[i] == QLatin1String("--dir"))
            out.dir = args[i + 1];
    }
    return out;
}

} // namespace kvfuzz
