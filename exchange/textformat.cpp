// Finding out what a delimited text file is.
#include "exchange/textformat.h"

#include "base/codepage.h"
#include "base/dberror.h"

#include <QFile>

#include <array>

namespace kv {

namespace {

constexpr qsizetype kChunk = 1 << 16;
constexpr char kBom[] = "\xEF\xBB\xBF";

void openForReading(QFile &file, const QString &path)
{
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(file.errorString());
}

TextEncoding detectEncoding(const QString &path)
{
    QFile file;
    openForReading(file, path);
    QByteArray chunk(kChunk, Qt::Uninitialized);
    Utf8Check check;
    bool first = true;
    for (;;) {
        const qint64 n = file.read(chunk.data(), kChunk);
        if (n < 0)
            throw DbError(file.errorString());
        if (n == 0)
            break;
        if (first && QByteArrayView(chunk.constData(), n).startsWith(kBom))
            return TextEncoding::Utf8;
        first = false;
        check.add(chunk.constData(), n);
        if (check.broken())
            return TextEncoding::Cp1252; // a byte that no UTF-8 text holds
    }
    return check.valid() && check.nonAscii() ? TextEncoding::Utf8 : TextEncoding::Cp1252;
}

// The separator the first line shows outside quotes: the most frequent of ',', ';' and
// tab, a comma when there is none or a tie with it.
char detectSeparator(const QByteArray &start)
{
    std::array<int, 3> counts{};
    const char candidates[] = {',', ';', '\t'};
    bool quoted = false;
    for (char c : start) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == '\n' || c == '\r'))
            break;
        else if (!quoted)
            for (size_t k = 0; k < counts.size(); ++k)
                counts[k] += c == candidates[k];
    }
    size_t best = 0;
    for (size_t k = 1; k < counts.size(); ++k)
        if (counts[k] > counts[best])
            best = k;
    return candidates[best];
}

TextFormat detectDialect(const QString &path, TextFormat format, DialectChoice choice)
{
    QFile file;
    openForReading(file, path);
    QByteArray start = file.peek(kChunk);
    if (start.startsWith(kBom))
        start.remove(0, 3);
    format.separator = detectSeparator(start);
    if (choice == DialectChoice::Own) {
        format.dialect = TextDialect::Own;
        format.separator = ',';
        return format;
    }
    format.dialect = TextDialect::Csv;
    if (choice == DialectChoice::Csv || format.separator != ',')
        return format;
    // The lines read as CSV: the program's own files quote every field.
    DelimitedReader reader(file, format);
    for (int line = 0; line < kDialectLines; ++line) {
        const DelimitedReader::Line l = reader.readRawLine(0);
        if (l == DelimitedReader::Line::End)
            break;
        if (l == DelimitedReader::Line::Record && reader.lastShape().unquoted)
            return format;
    }
    format.dialect = TextDialect::Own;
    return format;
}

} // namespace

std::optional<TextEncoding> chosenEncoding(EncodingChoice choice)
{
    switch (choice) {
    case EncodingChoice::Utf8: return TextEncoding::Utf8;
    case EncodingChoice::Cp1252: return TextEncoding::Cp1252;
    case EncodingChoice::Cp850: return TextEncoding::Cp850;
    case EncodingChoice::Auto: break;
    }
    return std::nullopt;
}

TextFormat detectTextFormat(const QString &path, const TextChoice &choice)
{
    TextFormat format;
    const std::optional<TextEncoding> chosen = chosenEncoding(choice.encoding);
    format.encoding = chosen ? *chosen : detectEncoding(path);
    return detectDialect(path, format, choice.dialect);
}

QString describeTextFormat(const TextFormat &format)
{
    const QString set = format.encoding == TextEncoding::Utf8    ? QStringLiteral("UTF-8")
                        : format.encoding == TextEncoding::Cp850 ? QStringLiteral("DOS 850")
                                                                 : QStringLiteral("Windows-1252");
    if (format.dialect == TextDialect::Own)
        return QStringLiteral("Ascii delimited (every field quoted), %1").arg(set);
    const QString sep = format.separator == '\t' ? QStringLiteral("tab") : QStringLiteral("'%1'").arg(QLatin1Char(format.separator));
    return QStringLiteral("standard CSV (fields separated by %1), %2").arg(sep, set);
}

std::optional<EncodingChoice> encodingChoiceOf(const QString &word)
{
    const QString w = word.toLower();
    if (w == QLatin1String("auto"))
        return EncodingChoice::Auto;
    if (w == QLatin1String("utf-8") || w == QLatin1String("utf8"))
        return EncodingChoice::Utf8;
    if (w == QLatin1String("cp1252"))
        return EncodingChoice::Cp1252;
    if (w == QLatin1String("cp850"))
        return EncodingChoice::Cp850;
    return std::nullopt;
}

std::optional<DialectChoice> dialectChoiceOf(const QString &word)
{
    const QString w = word.toLower();
    if (w == QLatin1String("auto"))
        return DialectChoice::Auto;
    if (w == QLatin1String("own"))
        return DialectChoice::Own;
    if (w == QLatin1String("csv"))
        return DialectChoice::Csv;
    return std::nullopt;
}

} // namespace kv
