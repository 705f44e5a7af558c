#pragma once
// The questions the edit window asks before what is typed could be lost: moving to the
// previous or next record, starting a new or copied record, leaving.
#include "base/prompt.h"
#include "edit/recordform.h"

#include <functional>

namespace kv {

enum class Step { Previous, Next };

// The question before a step, or empty when none is asked: in modes 1 and 3 always, in
// mode 2 when the values changed; never in browse-only mode.
QString stepQuestion(Step step, EditMode mode, bool changed, bool browseOnly);

inline constexpr char kNewRecordQuestion[] = "Data has changed.  Update this record before creating new one?";
inline constexpr char kCopyRecordQuestion[] =
    "Data has changed.  Update this record before creating new one with the current data?";
inline constexpr char kExitQuestion[] = "Data has changed.  Do you want to exit without updating?";

// Asks question (caption "Warning", Yes, No and Cancel, No the default). True to go on:
// No, or Yes with a successful update. An empty question asks nothing and goes on.
bool settleChanges(Prompt &prompt, const QString &question, const std::function<bool()> &update);
// Leaving: unless browse-only, when the values changed, "Data has changed.  Do you want
// to exit without updating?" (Yes and No, No the default). True to close.
bool confirmExit(Prompt &prompt, bool changed, bool browseOnly);

// One record back or forward in the active order; at either end the cursor stays.
void stepRecord(Table &table, Step step);

} // namespace kv
