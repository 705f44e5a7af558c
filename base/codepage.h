#pragma once
// Single-byte code pages of dBASE tables and of the program's own text files.
// Conversion happens at the file boundary; inside, the program works in QString.
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace kv {

enum class Codepage { Cp1252, Cp437, Cp850 };

// Language-driver byte (dBASE header byte 29) to code page; unknown bytes read as 1252.
Codepage codepageForLdid(std::uint8_t ldid);
// The byte this program writes for a new table: 0x03, which every common reader maps to 1252.
constexpr std::uint8_t kLdidWindowsAnsi = 0x03;

QString decode(const char *data, qsizetype size, Codepage cp = Codepage::Cp1252);
inline QString decode(const QByteArray &bytes, Codepage cp = Codepage::Cp1252)
{
    return decode(bytes.constData(), bytes.size(), cp);
}
// A character the code page cannot hold becomes '?'.
QByteArray encode(const QString &text, Codepage cp = Codepage::Cp1252);

// Byte-to-byte upper-case table of the code page: a-z and the accented lower-case letters.
const std::uint8_t *upperTable(Codepage cp);

} // namespace kv
