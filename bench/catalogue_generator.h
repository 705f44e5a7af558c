#pragma once
#include <QString>
#include <cstdint>

namespace kv {
class Table;
}

namespace kvbench {

// Writes a catalogue of `records` synthetic videos: repeating stars and categories,
// accented names, blank dates and numbers here and there, about 3% deleted.
// Goes through the table engine like any other writer.
void generateCatalogue(const QString &path, std::uint32_t records, std::uint32_t seed = 1997);

// The catalogue BENCH<records>.DBF in dir, generated the first time it is asked for
// (saying how long that took) and kept for later runs. Returns its path.
QString benchCatalogue(const QString &dir, std::uint32_t records);

// Appends `records` more synthetic videos to an open table.
void appendVideos(kv::Table &table, std::uint32_t records, std::uint32_t seed);

} // namespace kvbench
