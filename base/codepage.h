#pragma once
// Single-byte code pages of dBASE tables and of the program's own text files.
// Conversion happens at the file boundary; inside, the program works in QString.
#include <QByteArray>
#include <QString>
#include <QStringView>
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

// Where the first character that the code page cannot hold starts in text, or -1: what
// encode() would turn into '?'. A pair of surrogates is one character.
qsizetype firstUnencodable(QStringView text, Codepage cp = Codepage::Cp1252);
// The character that starts at i, as a message names it: "Ł" (U+0141).
QString characterName(QStringView text, qsizetype i);

// Tells, chunk by chunk, whether bytes are UTF-8 and whether any of them is not ASCII.
class Utf8Check {
public:
    void add(const char *data, qsizetype size);
    // The bytes so far, ending where they end, are valid UTF-8.
    bool valid() const { return valid_ && pending_ == 0; }
    bool nonAscii() const { return nonAscii_; }
    // A byte came that no UTF-8 text holds, whatever follows.
    bool broken() const { return !valid_; }

private:
    bool valid_ = true;
    bool nonAscii_ = false;
    int pending_ = 0;        // continuation bytes still owed
    unsigned min_ = 0x80;    // the second byte's lower bound, against overlong forms and surrogates
    unsigned max_ = 0xBF;
};

// Byte-to-byte upper-case table of the code page: a-z and the accented lower-case letters.
const std::uint8_t *upperTable(Codepage cp);

} // namespace kv
