#pragma once
// Mutations of a small catalogue and its .MDX fed to the table and index readers: every
// damage must end in a DbError or in records read, never in a crash or a hang.
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace kvfuzz {

struct Seed {
    QByteArray dbf, mdx;
};
// A catalogue of a few records with a two-tag index, built in dir.
Seed makeSeed(const QString &dir);
// Opens the pair as dir/FUZZ.DBF and FUZZ.MDX and reads all it can: the fields of every
// record in physical and in each tag's order, the check of the index, the index file's
// entries. Returns the number of records read.
int readAll(const QString &dir, const QByteArray &dbf, const QByteArray &mdx);
// Runs n mutations of seed from the random seed given; returns the records read.
std::uint64_t run(const QString &dir, const Seed &seed, std::uint64_t n, std::uint32_t randomSeed);

} // namespace kvfuzz
