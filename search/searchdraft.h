#pragma once
// The Search window's work, without its widgets: the rows being typed, the levels saved
// so far, and what Ok, Find More and Clear Search do with them.
#include "base/prompt.h"
#include "search/criteria.h"

#include <functional>

namespace kv {

class SearchDraft {
public:
    explicit SearchDraft(Prompt &prompt) : prompt_(prompt) {}

    // The criterion cells and operators of the level being typed.
    SearchRows rows;

    int level() const { return level_; }
    bool findMoreEnabled() const { return findMoreEnabled_; }
    const CriteriaList &criteria() const { return criteria_; }
    // The criteria column's title.
    QString header() const;
    // After a refused save: the row to make current (the invalid one), or 0.
    int badRow() const { return badRow_; }

    // Saves the level and applies the criteria saved so far. True when the search found
    // records (the window closes). A refused save shows its message; a search that finds
    // nothing says so and clears the window.
    bool ok(const std::function<bool(const CriteriaList &)> &apply);
    // Saves the level and starts the next one; false when the save was refused.
    bool findMore();
    // Empties every cell and forgets the saved levels; the operators stay.
    void clear();
    // Leaving with Exit.
    void exit() { findMoreEnabled_ = true; }

private:
    bool save();
    void emptyCells();

    Prompt &prompt_;
    CriteriaList criteria_;
    int level_ = 1;
    bool findMoreEnabled_ = true;
    int badRow_ = 0;
};

// The captions of the Search window's buttons and messages.
inline constexpr char kSearchCaption[] = "Search";
inline constexpr char kNoticeCaption[] = "Notice";
inline constexpr char kErrorCaption[] = "Error";

} // namespace kv
