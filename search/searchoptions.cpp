#include "search/searchoptions.h"

#include "edit/recordform.h"
#include "store/fieldtable.h"

namespace kv {

bool hasSearchOptions(int number) { return rowType(number) != RowType::Text || field(number).pickList; }

QStringList searchOptionItems(int number, const PickLists &lists)
{
    if (rowType(number) != RowType::Text) {
        QStringList items;
        for (const char *text : kOperatorTexts)
            items << QString::fromLatin1(text);
        return items;
    }
    if (number == fields::CheckOut || number == fields::Viewed)
        return {QStringLiteral("YES"), QStringLiteral("NO")};
    int list = editBoxOf(number).list;
    if (number == fields::Miscellane)
        list = kMiscList;
    else if (number == fields::OscarNom || number == fields::OscarAward)
        list = kOscarList;
    if (list == 0)
        return {};
    if (isCatalogueList(list))
        return lists.entries(list);
    QStringList items;
    for (const QString &line : readProgramWideList(list))
        if (!line.trimmed().isEmpty())
            items << line;
    return items;
}

} // namespace kv
