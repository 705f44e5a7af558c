#pragma once
// Search and replace: one field set to a new value in every record of the catalogue whose
// value in that field equals a given one (text without regard to letter case), run on the
// table opened exclusively, in file order, without its sort tag; the tag is built again
// afterwards from the sort expression.
#include "base/prompt.h"
#include "store/table.h"

#include <functional>

namespace kv {

inline constexpr char kNoFieldSelected[] = "No field has been selected.";
inline constexpr char kBadSearchValue[] = "Invalid search value entered.  Please correct.";
inline constexpr char kBadReplacementValue[] = "Invalid replacement value entered.  Please correct.";
inline constexpr char kBadSearchDate[] = "Invalid search date entered.  Please correct.";
inline constexpr char kBadReplacementDate[] = "Invalid replacement date entered.  Please correct.";
inline constexpr char kReplaceInUse[] =
    "Search and Replace requires exclusive use of the DBase File.  Make sure that the DBase File is not in use by "
    "another program  or that no other users are running the software or that no other copies of the software are "
    "in use.";
inline constexpr char kReplaceAborted[] = "Error in running search and replace.  Search and replace will be aborted.";
inline constexpr char kReplaceComplete[] = "Global Search and Replace Complete.";

struct ReplaceRequest {
    int field = 0; // 1 ... 40; 0 for none chosen
    QString search;
    QString replacement;
    bool confirm = false;
};

// Whether the two texts suit the field; the message and the box at fault when not.
struct ReplaceCheck {
    enum Box { None, Field, Search, Replacement } box = None;
    QString message;
    bool ok() const { return message.isEmpty(); }
};
ReplaceCheck checkReplace(const ReplaceRequest &request);

struct ReplaceCounters {
    int processed = 0;
    int found = 0;
    int changed = 0;
};

// What the run asks of the program around it.
struct ReplaceHooks {
    std::function<bool()> endSearch;      // ends a query search that is on; true when one was
    std::function<void()> restartSearch;  // turns it on again
    std::function<void()> viewerChanged;  // the viewer set up again on the reopened table
    std::function<void(const ReplaceCounters &)> progress;
};

enum class ReplaceResult { Done, Refused, InUse, Failed };

// The whole run on the master table (open, shared) with its messages; check is the table
// object the in-use test uses. The master table is open, shared, when it returns.
ReplaceResult searchAndReplace(Table &master, Table &check, const QString &sortExpression,
                               const ReplaceRequest &request, Prompt &prompt, const ReplaceHooks &hooks,
                               ReplaceCounters &counters);

} // namespace kv
