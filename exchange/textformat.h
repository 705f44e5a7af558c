#pragma once
// What a delimited text file is: its character set and whether it is in the program's
// own format or standard CSV, found from the file or chosen by the user.
#include "exchange/delimitedtext.h"

#include <QString>
#include <optional>

namespace kv {

// The choices of the Import Format dialog and of the command line, in their order.
enum class EncodingChoice { Auto, Utf8, Cp1252, Cp850 };
enum class DialectChoice { Auto, Own, Csv };
struct TextChoice {
    EncodingChoice encoding = EncodingChoice::Auto;
    DialectChoice dialect = DialectChoice::Auto;
};

// Lines looked at to tell standard CSV from the program's own format.
inline constexpr int kDialectLines = 100;

// The format to read the file in. Automatic encoding: a byte-order mark, or a file that
// is valid UTF-8 and holds bytes beyond ASCII, is UTF-8; anything else code page 1252
// (this reads the whole file once). Automatic dialect: an unquoted field anywhere in
// the first 100 lines, or a first line separated by ';' or tab, makes it standard CSV.
// Throws DbError when the file cannot be read.
TextFormat detectTextFormat(const QString &path, const TextChoice &choice = TextChoice());
// For the user: "standard CSV (fields separated by ';'), UTF-8".
QString describeTextFormat(const TextFormat &format);

// The words of the command line ("auto", "utf-8", "cp1252", "cp850"; "auto", "own",
// "csv"); nothing for another word.
std::optional<EncodingChoice> encodingChoiceOf(const QString &word);
std::optional<DialectChoice> dialectChoiceOf(const QString &word);
// An encoding chosen, or nothing for Automatic.
std::optional<TextEncoding> chosenEncoding(EncodingChoice choice);

} // namespace kv
