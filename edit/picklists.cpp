#include "edit/picklists.h"

#include "base/atomicfile.h"
#include "base/paths.h"
#include "edit/listfile.h"
#include "resources/defaults.h"
#include "store/fieldtable.h"

#include <QFileInfo>

namespace kv {

namespace {

struct ListInfo {
    const char *name;
    int entryLength;
    int field; // the field whose box feeds the list (the first star for list 2); 0 for none
};

constexpr ListInfo kLists[17] = {
    {"Producer", 28, 8},        {"Stars", 25, 2},          {"Director", 28, 9},       {"Released By", 28, 10},
    {"Rating", 15, 13},         {"Category", 20, 14},      {"Picture", 10, 15},       {"Sound", 10, 16},
    {"Format", 15, 17},         {"Laser Format", 12, 27},  {"Personal Rating", 15, 18}, {"Record Speed", 6, 20},
    {"Content", 10, 24},        {"Oscar Names", 110, 0},   {"Checkout Person", 25, 33}, {"Where Purchase", 25, 36},
    {"Miscellaneous", 25, 0},
};

// Load and save order: producer, director, stars, then 4 ... 13, 15 and 16.
constexpr int kCatalogueOrder[15] = {1, 3, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 16};
// The files whose presence tells that a catalogue has lists of its own.
constexpr int kOwnListsTest[4] = {9, 8, 7, 10};

bool valid(int n) { return n >= 1 && n <= 17; }

} // namespace

QString pickListName(int n) { return valid(n) ? QString::fromLatin1(kLists[n - 1].name) : QString(); }
bool isCatalogueList(int n) { return valid(n) && n != kOscarList && n != kMiscList; }
int pickListEntryLength(int n) { return valid(n) ? kLists[n - 1].entryLength : 0; }

QString catalogueListPath(const QString &basePath, int n)
{
    return resolveCaseInsensitive(basePath + QStringLiteral(".%1").arg(n, 3, 10, QLatin1Char('0')));
}

QString defaultListPath(int n)
{
    return resolveCaseInsensitive(programDir() + QLatin1Char('/') + defaultListFileName(n));
}

QStringList readProgramWideList(int n) { return readListFile(defaultListPath(n)); }

QString trimSpaces(const QString &text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

void PickList::setEntries(const QStringList &entries)
{
    entries_ = entries;
    Q_EMIT changed();
}

bool PickList::add(const QString &text)
{
    const QString value = trimSpaces(text);
    if (value.isEmpty() || entries_.contains(value, Qt::CaseSensitive))
        return false;
    entries_ << value;
    Q_EMIT appended(value);
    return true;
}

PickLists::PickLists(Prompt &prompt, QObject *parent) : QObject(parent), prompt_(prompt)
{
    for (int n : kCatalogueOrder)
        lists_[size_t(n - 1)] = std::make_unique<PickList>(this);
}

PickLists::~PickLists() = default;

PickList &PickLists::list(int n)
{
    Q_ASSERT(isCatalogueList(n));
    return *lists_[size_t(n - 1)];
}

const PickList &PickLists::list(int n) const
{
    Q_ASSERT(isCatalogueList(n));
    return *lists_[size_t(n - 1)];
}

void PickLists::load(int n, const QString &path) { list(n).setEntries(readListFile(path)); }

bool PickLists::save(const QString &path, const QStringList &entries, bool tell)
{
    QString error;
    if (writeListFile(path, entries, &error) == ListWrite::Written)
        return true;
    if (tell)
        prompt_.showError(cannotWriteMessage(path, error));
    return false;
}

bool PickLists::saveAll(const QList<QString> &paths)
{
    bool ok = true;
    size_t i = 0;
    for (int n : kCatalogueOrder)
        ok = save(paths.at(qsizetype(i++)), list(n).entries(), ok) && ok;
    return ok;
}

bool PickLists::saveProgramWideList(int n, const QStringList &entries)
{
    Q_ASSERT(n == kOscarList || n == kMiscList);
    return save(defaultListPath(n), entries);
}

void PickLists::LoadAllList(const QString &basePath)
{
    bool own = false;
    for (int n : kOwnListsTest)
        own = own || QFileInfo::exists(catalogueListPath(basePath, n));
    if (!own) {
        LoadDefaultList();
        return;
    }
    for (int n : kCatalogueOrder)
        load(n, catalogueListPath(basePath, n));
}

bool PickLists::SaveAllLists(const QString &basePath)
{
    QList<QString> paths;
    for (int n : kCatalogueOrder)
        paths << catalogueListPath(basePath, n);
    return saveAll(paths);
}

void PickLists::LoadDefaultList()
{
    for (int n : kCatalogueOrder)
        load(n, defaultListPath(n));
}

bool PickLists::SaveDefaultLists()
{
    QList<QString> paths;
    for (int n : kCatalogueOrder)
        paths << defaultListPath(n);
    return saveAll(paths);
}

void PickLists::addTypedValues(const std::array<QString, 41> &textByField)
{
    for (int n : kCatalogueOrder) {
        if (n != kStarList)
            list(n).add(textByField[size_t(kLists[n - 1].field)]);
    }
    // Each star is checked against the list as it stands after the one before, so a star
    // typed into two boxes is added once.
    for (int f = fields::Star1; f < fields::Star1 + 6; ++f)
        list(kStarList).add(textByField[size_t(f)]);
}

namespace {

// The question of both default items: caption "Warning", Yes and No, No the default.
bool askToProceed(Prompt &prompt, const char *question)
{
    return prompt.message(MessageKind::Warning, QStringLiteral("Warning"), QString::fromLatin1(question),
                          Buttons::YesNo, Answer::No) == Answer::Yes;
}

} // namespace

bool saveListsAsDefaults(PickLists &lists, Prompt &prompt)
{
    if (!askToProceed(prompt, kSaveDefaultsQuestion))
        return false;
    return lists.SaveDefaultLists();
}

bool loadListsFromDefaults(PickLists &lists, Prompt &prompt)
{
    if (!askToProceed(prompt, kLoadDefaultsQuestion))
        return false;
    lists.LoadDefaultList();
    return true;
}

} // namespace kv
