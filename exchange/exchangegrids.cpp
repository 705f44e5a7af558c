// The import and export grids.
#include "exchange/exchangegrids.h"

#include <QCryptographicHash>
#include <algorithm>
#include <utility>

namespace kv {

namespace {
QString yes() { return QString::fromLatin1(kYes); }
QString no() { return QString::fromLatin1(kNo); }
} // namespace

// ---------------------------------------------------------------- import

bool sameFieldName(const QString &a, const QString &b)
{
    const auto folded = [](const QString &s) {
        QString out;
        for (QChar c : s.trimmed().normalized(QString::NormalizationForm_D))
            if (c.category() != QChar::Mark_NonSpacing)
                out += c;
        return out.toCaseFolded();
    };
    return folded(a) == folded(b);
}

ImportMap mapByNames(const QStringList &importNames, const QStringList &captions)
{
    ImportMap map(size_t(importNames.size()), -1);
    std::vector<bool> taken(kFieldCount + 1, false);
    for (qsizetype i = 0; i < importNames.size(); ++i)
        for (int n = 1; n <= kFieldCount; ++n) {
            const bool same = sameFieldName(importNames[i], fieldName(n)) ||
                              (n <= captions.size() && sameFieldName(importNames[i], captions[n - 1]));
            if (same && !taken[size_t(n)]) {
                taken[size_t(n)] = true;
                map[size_t(i)] = n;
                break;
            }
        }
    return map;
}

ImportGrid::ImportGrid(const QStringList &captions, const QStringList &importNames)
    : names_(importNames), captions_(captions)
{
    const int count = std::max<int>(kFieldCount, int(importNames.size()));
    rows_.resize(size_t(count));
    for (int r = 0; r < count; ++r) {
        Row &row = rows_[size_t(r)];
        if (r < kFieldCount && r < captions.size())
            row.kestrovaField = captions.at(r);
        row.importField = r < importNames.size() ? importNames.at(r) : QString::fromLatin1(kEmptyImportRow);
        if (r < importNames.size())
            row.use = yes();
    }
}

void ImportGrid::swap(int a, int b)
{
    std::swap(rows_[size_t(a)].importField, rows_[size_t(b)].importField);
    std::swap(rows_[size_t(a)].use, rows_[size_t(b)].use);
}

bool ImportGrid::moveUp(int r)
{
    if (r <= 0 || r >= rowCount())
        return false;
    swap(r, r - 1);
    return true;
}

bool ImportGrid::moveDown(int r)
{
    if (r < 0 || r >= rowCount() - 1)
        return false;
    swap(r, r + 1);
    return true;
}

void ImportGrid::toggleUse(int r)
{
    QString &use = rows_.at(size_t(r)).use;
    if (use == yes())
        use = no();
    else if (use == no())
        use = yes();
}

int ImportGrid::matchNames()
{
    const ImportMap map = mapByNames(names_, captions_);
    for (Row &row : rows_) {
        row.importField = QString::fromLatin1(kEmptyImportRow);
        row.use.clear();
    }
    std::vector<bool> used(rows_.size(), false);
    int matched = 0;
    for (size_t i = 0; i < map.size(); ++i)
        if (map[i] > 0) {
            rows_[size_t(map[i] - 1)] = {rows_[size_t(map[i] - 1)].kestrovaField, names_[qsizetype(i)], yes()};
            used[size_t(map[i] - 1)] = true;
            ++matched;
        }
    size_t free = 0;
    for (size_t i = 0; i < map.size(); ++i) {
        if (map[i] > 0)
            continue;
        while (used[free])
            ++free;
        rows_[free].importField = names_[qsizetype(i)];
        rows_[free].use = no();
        used[free] = true;
    }
    return matched;
}

ImportMap ImportGrid::fieldMap() const
{
    ImportMap map(size_t(names_.size()), -1);
    for (qsizetype i = 0; i < names_.size(); ++i)
        for (int r = 0; r < kFieldCount && r < rowCount(); ++r)
            if (rows_[size_t(r)].importField == names_.at(i)) {
                map[size_t(i)] = rows_[size_t(r)].use == yes() ? r + 1 : -1;
                break;
            }
    return map;
}

QString importNamesKey(const QStringList &importNames)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(importNames.join(QChar(0x1f)).toUtf8(), QCryptographicHash::Sha1).toHex());
}

QString ImportGrid::arrangement() const
{
    std::vector<bool> taken(size_t(names_.size()), false);
    QStringList cells;
    for (const Row &row : rows_) {
        QString cell;
        for (qsizetype i = 0; i < names_.size(); ++i)
            if (!taken[size_t(i)] && names_.at(i) == row.importField && !row.use.isEmpty()) {
                taken[size_t(i)] = true;
                cell = QString::number(i) + (row.use == yes() ? QLatin1Char('Y') : QLatin1Char('N'));
                break;
            }
        cells << cell;
    }
    return cells.join(QLatin1Char(','));
}

bool ImportGrid::restore(const QString &arrangement)
{
    const QStringList cells = arrangement.split(QLatin1Char(','));
    if (cells.size() != rowCount())
        return false;
    std::vector<bool> placed(size_t(names_.size()), false);
    std::vector<Row> rows = rows_;
    for (int r = 0; r < rowCount(); ++r) {
        const QString &cell = cells.at(r);
        Row &row = rows[size_t(r)];
        if (cell.isEmpty()) {
            row.importField = QString::fromLatin1(kEmptyImportRow);
            row.use.clear();
            continue;
        }
        bool ok = false;
        const int i = cell.chopped(1).toInt(&ok);
        const QChar use = cell.back();
        if (!ok || i < 0 || i >= names_.size() || placed[size_t(i)] || (use != QLatin1Char('Y') && use != QLatin1Char('N')))
            return false;
        placed[size_t(i)] = true;
        row.importField = names_.at(i);
        row.use = use == QLatin1Char('Y') ? yes() : no();
    }
    if (std::find(placed.begin(), placed.end(), false) != placed.end())
        return false;
    rows_ = std::move(rows);
    return true;
}

// ---------------------------------------------------------------- export

ExportGrid::ExportGrid(const Settings &settings)
{
    rows_.resize(kFieldCount);
    std::vector<int> misplaced;
    for (int n = 1; n <= kFieldCount; ++n) {
        const FieldSettings &f = settings.field(n);
        const int r = f.exportOrder - 1;
        if (r >= 0 && r < kFieldCount && rows_[size_t(r)].field.isEmpty() && !f.caption.isEmpty())
            rows_[size_t(r)] = {f.caption, f.exported ? yes() : no()};
        else
            misplaced.push_back(n);
    }
    // Orders that clash or are out of range: the fields take the free rows in field order.
    size_t next = 0;
    for (int n : misplaced) {
        while (next < rows_.size() && !rows_[next].field.isEmpty())
            ++next;
        if (next < rows_.size())
            rows_[next] = {settings.field(n).caption, settings.field(n).exported ? yes() : no()};
    }
}

bool ExportGrid::moveUp(int r)
{
    if (r <= 0 || r >= rowCount())
        return false;
    std::swap(rows_[size_t(r)], rows_[size_t(r - 1)]);
    return true;
}

bool ExportGrid::moveDown(int r)
{
    if (r < 0 || r >= rowCount() - 1)
        return false;
    std::swap(rows_[size_t(r)], rows_[size_t(r + 1)]);
    return true;
}

void ExportGrid::setDefaults(const Settings &settings)
{
    for (int n = 1; n <= kFieldCount; ++n)
        rows_[size_t(n - 1)] = {settings.field(n).caption, yes()};
}

void ExportGrid::toggleExport(int r)
{
    QString &it = rows_.at(size_t(r)).exportIt;
    it = it == yes() ? no() : yes();
}

void ExportGrid::storeInto(Settings &settings) const
{
    for (int n = 1; n <= kFieldCount; ++n) {
        FieldSettings &f = settings.field(n);
        for (int r = 0; r < rowCount(); ++r)
            if (rows_[size_t(r)].field == f.caption) {
                f.exportOrder = r + 1;
                f.exported = rows_[size_t(r)].exportIt == yes();
                break;
            }
    }
}

} // namespace kv
