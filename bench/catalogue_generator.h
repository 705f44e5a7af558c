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

// Appends `records` more synthetic videos to an open table.
void appendVideos(kv::Table &table, std::uint32_t records, std::uint32_t seed);

} // namespace kvbench
