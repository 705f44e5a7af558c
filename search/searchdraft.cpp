#include "search/searchdraft.h"

namespace kv {

QString SearchDraft::header() const { return QStringLiteral(" SEARCH CRITERIA    (Level %1)").arg(level_); }

void SearchDraft::emptyCells()
{
    for (SearchRow &row : rows)
        row.text.clear();
}

void SearchDraft::clear()
{
    emptyCells();
    criteria_.clear();
    level_ = 1;
    findMoreEnabled_ = true;
}

bool SearchDraft::save()
{
    badRow_ = 0;
    const SaveOutcome outcome = SaveFields(rows, criteria_);
    if (outcome.result == SaveOutcome::Saved)
        return true;
    prompt_.showError(outcome.message());
    if (outcome.result == SaveOutcome::TooMany)
        clear();
    badRow_ = outcome.row;
    return false;
}

bool SearchDraft::ok(const std::function<bool(const CriteriaList &)> &apply)
{
    findMoreEnabled_ = true;
    if (!save())
        return false;
    if (apply(criteria_))
        return true;
    prompt_.message(MessageKind::Information, QString::fromLatin1(kNoticeCaption), QString::fromLatin1(kNoMatches),
                    Buttons::Ok, Answer::Ok);
    clear();
    return false;
}

bool SearchDraft::findMore()
{
    if (!save())
        return false;
    emptyCells();
    ++level_;
    findMoreEnabled_ = level_ <= kMaxSearchLevels - 1;
    return true;
}

} // namespace kv
