#include "edit/oscaritems.h"

#include "edit/listorder.h"
#include "edit/picklists.h"
#include "store/fieldtable.h"

namespace kv {

QString oscarCaption(OscarMode mode)
{
    switch (mode) {
    case OscarMode::Awards: return QStringLiteral("Oscar Awards");
    case OscarMode::Nominations: return QStringLiteral("Oscar Nominations");
    case OscarMode::Miscellaneous: break;
    }
    return QStringLiteral("Miscellaneous");
}

int oscarListNumber(OscarMode mode) { return mode == OscarMode::Miscellaneous ? kMiscList : kOscarList; }

int oscarTargetField(OscarMode mode)
{
    switch (mode) {
    case OscarMode::Awards: return fields::OscarAward;
    case OscarMode::Nominations: return fields::OscarNom;
    case OscarMode::Miscellaneous: break;
    }
    return fields::Miscellane;
}

QStringList oscarItems(const QString &text)
{
    QStringList items;
    QString rest = text;
    while (!rest.isEmpty()) {
        const qsizetype comma = rest.indexOf(QLatin1Char(','));
        const QString item = comma < 0 ? rest : rest.left(comma);
        rest = comma < 0 ? QString() : trimSpaces(rest.mid(comma + 1));
        // A stray comma ("A, , B") would otherwise add an empty entry and select it.
        if (!trimSpaces(item).isEmpty())
            items << item;
    }
    return items;
}

int FindMisc(const QStringList &entries, const QString &item) { return int(entries.indexOf(item)); }

OscarChoice oscarChoice(OscarMode mode, const QStringList &entries, const QString &targetText)
{
    OscarChoice choice{entries, {}};
    sortAlphabetically(choice.entries);
    choice.selected.assign(size_t(choice.entries.size()), false);
    if (mode != OscarMode::Miscellaneous)
        return choice;
    for (const QString &item : oscarItems(targetText)) {
        int row = FindMisc(choice.entries, item);
        if (row < 0) {
            row = int(alphabeticalPlace(choice.entries, item));
            choice.entries.insert(row, item);
            choice.selected.insert(choice.selected.begin() + row, false);
        }
        choice.selected[size_t(row)] = true;
    }
    return choice;
}

QString oscarResult(const OscarChoice &choice)
{
    QString text;
    for (qsizetype i = 0; i < choice.entries.size() && text.size() < kOscarTextLength; ++i) {
        if (choice.selected[size_t(i)])
            text += choice.entries.at(i) + QLatin1String(", ");
    }
    text.truncate(kOscarTextLength);
    text.chop(2);
    return text;
}

} // namespace kv
