#include "search/foldedtext.h"

#include <array>

namespace kv {

QString foldText(const QString &text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        const QChar::Category cat = c.category();
        if (cat == QChar::Mark_NonSpacing || cat == QChar::Mark_SpacingCombining || cat == QChar::Mark_Enclosing)
            continue;
        out.append(c);
    }
    return out.toUpper();
}

namespace {

struct Table256 {
    std::array<std::uint8_t, 256> v{};
};

Table256 makeFoldTable(Codepage cp)
{
    Table256 t;
    const std::uint8_t *upper = upperTable(cp);
    for (int b = 0; b < 256; ++b) {
        t.v[size_t(b)] = upper[b];
        const char byte = char(b);
        const QString folded = foldText(decode(&byte, 1, cp));
        if (folded.size() != 1 || firstUnencodable(folded, cp) >= 0)
            continue;
        const QByteArray back = encode(folded, cp);
        if (back.size() == 1)
            t.v[size_t(b)] = std::uint8_t(back[0]);
    }
    return t;
}

} // namespace

const std::uint8_t *foldTable(Codepage cp)
{
    static const Table256 tables[] = {makeFoldTable(Codepage::Cp1252), makeFoldTable(Codepage::Cp437),
                                      makeFoldTable(Codepage::Cp850)};
    return tables[int(cp)].v.data();
}

QByteArray foldedBytes(const QString &word, Codepage cp)
{
    // A character the code page lacks may still fold to one it has (Ł does not, Ș does).
    const QString text = firstUnencodable(word, cp) < 0 ? word : foldText(word);
    if (firstUnencodable(text, cp) >= 0)
        return {};
    QByteArray bytes = encode(text, cp);
    const std::uint8_t *fold = foldTable(cp);
    for (char &c : bytes)
        c = char(fold[std::uint8_t(c)]);
    return bytes;
}

} // namespace kv
