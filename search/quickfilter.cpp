#include "search/quickfilter.h"

#include "search/foldedtext.h"
#include "search/rawtext.h"

#include <QRegularExpression>
#include <algorithm>
#include <cstring>

namespace kv {

namespace {
constexpr char kFieldEnd = '\x01';
constexpr char kDeletedFlag = '*';
// Places looked at between two glances at the cancel flag.
constexpr std::size_t kChunk = 8192;

QStringList splitWords(const QString &typed)
{
    return typed.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

bool containsAll(const QuickFilterText &text, std::size_t i, const QList<QByteArray> &words, qsizetype skip)
{
    const char *from = text.bytes.data() + text.starts[i];
    const std::size_t length = text.starts[i + 1] - text.starts[i];
    for (qsizetype w = 0; w < words.size(); ++w)
        if (w != skip && !memmem(from, length, words[w].constData(), std::size_t(words[w].size())))
            return false;
    return true;
}
} // namespace

std::vector<int> shownTextFields(const Table &table)
{
    std::vector<int> fields;
    for (int i = 0; i < table.fieldCount(); ++i)
        if (table.fieldDisplay(i).visible && table.fieldLayout(i).type == 'C')
            fields.push_back(i);
    return fields;
}

void appendQuickFilterText(const Table &table, std::uint32_t first, std::uint32_t last, QuickFilterText &text)
{
    const std::uint8_t *fold = foldTable(text.codepage);
    std::vector<std::pair<int, int>> slices; // offset, width
    for (int f : text.fields)
        slices.emplace_back(table.fieldLayout(f).offset, table.fieldLayout(f).width);
    for (std::uint32_t r = first; r <= last; ++r) {
        const char *record = table.recordData(r);
        if (record[0] == kDeletedFlag)
            continue;
        for (const auto &[offset, width] : slices) {
            const char *p = record + offset;
            const int end = rawtext::textEnd(p, width);
            const std::size_t at = text.bytes.size();
            text.bytes.resize(at + std::size_t(end) + 1);
            char *out = text.bytes.data() + at;
            for (int k = 0; k < end; ++k)
                out[k] = char(fold[std::uint8_t(p[k])]);
            out[end] = kFieldEnd;
        }
        text.recnos.push_back(r);
        text.starts.push_back(text.bytes.size());
    }
}

QList<QByteArray> quickFilterWords(const QString &typed, Codepage cp)
{
    QList<QByteArray> words;
    for (const QString &w : splitWords(typed))
        words.append(foldedBytes(w, cp));
    return words;
}

bool narrowsQuickFilter(const QString &before, const QString &after)
{
    const QStringList old = splitWords(foldText(before));
    const QStringList now = splitWords(foldText(after));
    return std::all_of(old.begin(), old.end(), [&](const QString &b) {
        return std::any_of(now.begin(), now.end(), [&](const QString &a) { return a.contains(b); });
    });
}

std::vector<std::uint32_t> matchQuickFilter(const QuickFilterText &text, const QList<QByteArray> &words,
                                            const std::vector<std::uint32_t> *within,
                                            const std::atomic<bool> &cancel)
{
    std::vector<std::uint32_t> found;
    if (std::any_of(words.begin(), words.end(), [](const QByteArray &w) { return w.isEmpty(); }))
        return found;
    if (within) {
        for (std::size_t k = 0; k < within->size(); ++k) {
            if (k % kChunk == 0 && cancel.load(std::memory_order_relaxed))
                break;
            if (containsAll(text, (*within)[k], words, -1))
                found.push_back((*within)[k]);
        }
        return found;
    }
    const std::size_t n = text.size();
    if (words.isEmpty()) {
        found.resize(n);
        for (std::size_t i = 0; i < n; ++i)
            found[i] = std::uint32_t(i);
        return found;
    }
    // The longest word is sought through the whole block; the others only in the records
    // that hold it.
    qsizetype lead = 0;
    for (qsizetype w = 1; w < words.size(); ++w)
        if (words[w].size() > words[lead].size())
            lead = w;
    const QByteArray &needle = words[lead];
    const char *base = text.bytes.data();
    for (std::size_t a = 0; a < n && !cancel.load(std::memory_order_relaxed); a += kChunk) {
        const std::size_t b = std::min(n, a + kChunk);
        std::size_t pos = text.starts[a];
        const std::size_t end = text.starts[b];
        std::size_t i = a;
        while (pos < end) {
            const void *hit = memmem(base + pos, end - pos, needle.constData(), std::size_t(needle.size()));
            if (!hit)
                break;
            const auto at = std::size_t(static_cast<const char *>(hit) - base);
            while (text.starts[i + 1] <= at)
                ++i;
            if (containsAll(text, i, words, lead))
                found.push_back(std::uint32_t(i));
            pos = text.starts[i + 1];
        }
    }
    return found;
}

} // namespace kv
