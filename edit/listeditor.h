#pragma once
// The list editor's rules: the working copy of one pick list with its selection, what
// Add, Delete and Sort do to it and what confirming it changes.
// The window only shows the working copy and passes on the clicks.
#include "base/prompt.h"
#include "edit/picklists.h"

#include <QStringList>

namespace kv {

// "Edit "Producer" List" ... the caption of the editor for list 1 ... 17.
QString listEditorCaption(int listNumber);

class ListEdit {
public:
    ListEdit(int listNumber, const QStringList &entries);

    int listNumber() const { return listNumber_; }
    const QStringList &entries() const { return entries_; }
    // The selected row, -1 for none.
    int selected() const { return selected_; }
    void select(int row);

    // The text without leading and trailing spaces, appended at the end unless nothing
    // is left of it: no duplicate check, no sorting. The selection stays. True when added.
    bool add(const QString &text);
    // Removes the selected entry and selects the one now in its place, or the new last
    // one, or none when the list is empty. Nothing without a selection. True when removed.
    bool deleteSelected();
    // After the question ("Confirm", Yes and No, Yes the default), sorts the entries once
    // alphabetically; the selected entry stays selected. True when sorted.
    bool sort(Prompt &prompt);

private:
    int listNumber_;
    QStringList entries_;
    int selected_ = -1;
};

// Ok: a catalogue list's entries replace the list that the edit window and the viewer
// show; a program-wide list is written to its file in the program folder. Then the
// fifteen catalogue lists are written beside the catalogue at basePath. False when a
// file could not be written (the user has been told which and why).
bool confirmListEdit(PickLists &lists, const QString &basePath, const ListEdit &edit);

inline constexpr char kSortQuestion[] = "Are you sure you want to sort the data?  Sorting cannot be undone.";

} // namespace kv
