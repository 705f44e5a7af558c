#include "edit/listeditor.h"

#include "edit/listorder.h"

namespace kv {

QString listEditorCaption(int n) { return QStringLiteral("Edit \"%1\" List").arg(pickListName(n)); }

ListEdit::ListEdit(int listNumber, const QStringList &entries) : listNumber_(listNumber), entries_(entries) {}

void ListEdit::select(int row) { selected_ = row >= 0 && row < entries_.size() ? row : -1; }

bool ListEdit::add(const QString &text)
{
    const QString entry = trimSpaces(text);
    if (entry.isEmpty())
        return false;
    entries_ << entry;
    return true;
}

bool ListEdit::deleteSelected()
{
    if (selected_ < 0)
        return false;
    entries_.removeAt(selected_);
    select(std::min<int>(selected_, int(entries_.size()) - 1));
    return true;
}

bool ListEdit::sort(Prompt &prompt)
{
    if (prompt.message(MessageKind::Confirm, QStringLiteral("Confirm"), QString::fromLatin1(kSortQuestion),
                       Buttons::YesNo, Answer::Yes) != Answer::Yes)
        return false;
    const QString chosen = selected_ >= 0 ? entries_.at(selected_) : QString();
    // The same entry may stand several times: the selection follows the one chosen.
    const int copiesBefore = selected_ >= 0 ? int(entries_.mid(0, selected_).count(chosen)) : 0;
    sortAlphabetically(entries_);
    if (selected_ >= 0) {
        const int first = int(entries_.indexOf(chosen));
        select(first + copiesBefore);
    }
    return true;
}

bool confirmListEdit(PickLists &lists, const QString &basePath, const ListEdit &edit)
{
    const int n = edit.listNumber();
    bool ok = true;
    if (isCatalogueList(n))
        lists.list(n).setEntries(edit.entries());
    else
        ok = lists.saveProgramWideList(n, edit.entries());
    return lists.SaveAllLists(basePath) && ok;
}

} // namespace kv
