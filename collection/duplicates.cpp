#include "collection/duplicates.h"

#include "search/foldedtext.h"
#include "search/rawtext.h"
#include "store/fieldtable.h"

#include <QHash>

#include <algorithm>
#include <map>

namespace kv {

namespace {
const QStringList kArticles = {QStringLiteral("THE"), QStringLiteral("A"),   QStringLiteral("AN"),
                               QStringLiteral("DER"), QStringLiteral("DIE"), QStringLiteral("DAS"),
                               QStringLiteral("LE"),  QStringLiteral("LA"),  QStringLiteral("LES"),
                               QStringLiteral("EL"),  QStringLiteral("IL")};
} // namespace

QString titleKey(const QString &title)
{
    QString plain;
    const QString folded = foldText(title);
    plain.reserve(folded.size());
    for (const QChar c : folded)
        plain.append(c.isLetterOrNumber() ? c : QChar(u' '));
    QStringList words = plain.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() > 1 && kArticles.contains(words.front()))
        words.removeFirst();
    return words.join(QLatin1Char(' '));
}

std::vector<DuplicateGroup> findDuplicates(const Table &table)
{
    const int title = table.fieldIndex(fieldName(fields::Title));
    const int year = table.fieldIndex(fieldName(fields::Year));
    const int media = table.fieldIndex(fieldName(fields::MediaNum));
    const std::uint8_t *upper = upperTable(table.codepage());
    // Titles are folded once per spelling, and read in full only for the records in a group.
    QHash<QByteArray, int> keyOfSpelling;
    std::map<QString, int> keyIds;
    std::vector<std::vector<std::uint32_t>> byKey;
    std::map<QByteArray, std::vector<std::uint32_t>> byMedia;
    for (int p = 0, n = table.recordCount(); p < n; ++p) {
        const std::uint32_t r = table.recNoAt(p);
        const char *rec = table.recordData(r);
        if (title >= 0) {
            const FieldLayout &f = table.fieldLayout(title);
            const QByteArray raw = QByteArray::fromRawData(rec + f.offset, rawtext::textEnd(rec + f.offset, f.width));
            auto it = keyOfSpelling.constFind(raw);
            if (it == keyOfSpelling.constEnd()) {
                const QString key = titleKey(table.textOf(rec, title));
                int id = -1;
                if (!key.isEmpty()) {
                    id = keyIds.try_emplace(key, int(byKey.size())).first->second;
                    if (id == int(byKey.size()))
                        byKey.emplace_back();
                }
                it = keyOfSpelling.insert(QByteArray(raw.constData(), raw.size()), id);
            }
            if (*it >= 0)
                byKey[size_t(*it)].push_back(r);
        }
        if (media >= 0) {
            const FieldLayout &f = table.fieldLayout(media);
            const char *at = rec + f.offset;
            int end = rawtext::textEnd(at, f.width), begin = 0;
            while (begin < end && at[begin] == ' ')
                ++begin;
            if (begin < end) {
                QByteArray key(at + begin, end - begin);
                for (char &c : key)
                    c = char(upper[std::uint8_t(c)]);
                byMedia[key].push_back(r);
            }
        }
    }
    const auto record = [&](std::uint32_t r) {
        const char *rec = table.recordData(r);
        DuplicateRecord d;
        d.recno = r;
        d.title = title >= 0 ? table.textOf(rec, title) : QString();
        d.year = year >= 0 ? int(table.textOf(rec, year).toDouble()) : 0;
        d.mediaNum = media >= 0 ? table.textOf(rec, media).trimmed() : QString();
        return d;
    };
    const auto byRecno = [](const DuplicateRecord &a, const DuplicateRecord &b) { return a.recno < b.recno; };
    std::vector<DuplicateGroup> groups;
    for (const auto &[key, id] : keyIds) {
        if (byKey[size_t(id)].size() < 2)
            continue;
        std::map<int, std::vector<DuplicateRecord>> byYear; // year 0 holds the records without one
        for (std::uint32_t r : byKey[size_t(id)]) {
            DuplicateRecord d = record(r);
            byYear[d.year].push_back(std::move(d));
        }
        const std::vector<DuplicateRecord> blank = byYear.count(0) ? byYear[0] : std::vector<DuplicateRecord>();
        const bool anyYear = byYear.size() > (blank.empty() ? 0u : 1u);
        for (auto &[y, members] : byYear) {
            if (y == 0 && anyYear)
                continue; // they joined the groups of the years
            std::vector<DuplicateRecord> group = members;
            if (y != 0)
                group.insert(group.end(), blank.begin(), blank.end());
            if (group.size() < 2)
                continue;
            std::sort(group.begin(), group.end(), byRecno);
            groups.push_back({DuplicateGroup::Kind::Title, key, y, std::move(group)});
        }
    }
    for (auto &[key, recnos] : byMedia) {
        if (recnos.size() < 2)
            continue;
        std::sort(recnos.begin(), recnos.end());
        std::vector<DuplicateRecord> members;
        for (std::uint32_t r : recnos)
            members.push_back(record(r));
        groups.push_back({DuplicateGroup::Kind::MediaNumber, members.front().mediaNum, 0, std::move(members)});
    }
    return groups;
}

QString duplicatesText(const std::vector<DuplicateGroup> &groups)
{
    QString out;
    for (const DuplicateGroup &g : groups) {
        if (g.kind == DuplicateGroup::Kind::Title)
            out += g.year ? QStringLiteral("Title \"%1\" (%2)\n").arg(g.key).arg(g.year)
                          : QStringLiteral("Title \"%1\"\n").arg(g.key);
        else
            out += QStringLiteral("Media # \"%1\"\n").arg(g.key);
        for (const DuplicateRecord &d : g.records)
            out += QStringLiteral("  %1\t%2\t%3\t%4\n")
                       .arg(d.recno)
                       .arg(d.title)
                       .arg(d.year ? QString::number(d.year) : QString())
                       .arg(d.mediaNum);
    }
    return out;
}

} // namespace kv
