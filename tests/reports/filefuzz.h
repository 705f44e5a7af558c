#pragma once
// Mutations of the program's own input files that are not tables: report definition
// records (QVRVID.URP) and delimited import lines. A damaged definition must be refused
// by name or, when sound, run to its end with no more pages than its records need; a
// damaged line must be read or refused. Never a crash or a hang.
#include <QString>
#include <cstdint>

namespace kvfuzz {

struct FileFuzzCounts {
    std::uint64_t refused = 0; // definitions refused as damaged
    std::uint64_t runs = 0;    // definitions run to their end or stopped with their message
    std::uint64_t lines = 0;   // delimited lines read
};

// Runs n executions in dir (a small catalogue is made there) from the random seed
// given; each mutates either a built-in definition or a few delimited lines. A run with
// more pages than its records can need aborts with a message: that is a finding.
FileFuzzCounts runFileFuzz(const QString &dir, std::uint64_t n, std::uint32_t randomSeed);

} // namespace kvfuzz
