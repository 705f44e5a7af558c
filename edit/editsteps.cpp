#include "edit/editsteps.h"

namespace kv {

QString stepQuestion(Step step, EditMode mode, bool changed, bool browseOnly)
{
    if (browseOnly || (mode == EditMode::Edit && !changed))
        return QString();
    const QString where = step == Step::Previous ? QStringLiteral("previous") : QStringLiteral("next");
    const QString opening = mode == EditMode::Edit ? QStringLiteral("Data has changed.")
                                                   : QStringLiteral("This record has not been updated yet.");
    return QStringLiteral("%1  Update this record before moving to the %2 record?").arg(opening, where);
}

bool settleChanges(Prompt &prompt, const QString &question, const std::function<bool()> &update)
{
    if (question.isEmpty())
        return true;
    switch (prompt.message(MessageKind::Warning, QStringLiteral("Warning"), question, Buttons::YesNoCancel,
                           Answer::No)) {
    case Answer::Yes: return update();
    case Answer::No: return true;
    default: return false;
    }
}

bool confirmExit(Prompt &prompt, bool changed, bool browseOnly)
{
    if (browseOnly || !changed)
        return true;
    return prompt.message(MessageKind::Warning, QStringLiteral("Warning"), QString::fromLatin1(kExitQuestion),
                          Buttons::YesNo, Answer::No) == Answer::Yes;
}

void stepRecord(Table &table, Step step)
{
    const int position = table.position();
    const int count = table.recordCount();
    if (count == 0)
        return;
    const int target = step == Step::Previous ? qMax(0, position - 1) : qMin(count - 1, position + 1);
    if (target != position)
        table.moveTo(target);
}

} // namespace kv
