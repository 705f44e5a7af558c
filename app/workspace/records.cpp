#include "app/workspace/records.h"

#include "store/fieldtable.h"

namespace kv {

namespace {

QString postName(const Table &table)
{
    return table.state() == Table::State::Insert ? QStringLiteral("Add") : QStringLiteral("Edit");
}

// The record by its number and, when the catalogue has one, its title.
QString recordName(const Table &table, std::uint32_t recno)
{
    QString name = QStringLiteral("Record %1").arg(recno);
    const int title = table.fieldIndex(fieldName(fields::Title));
    if (title >= 0 && recno >= 1 && recno <= table.physicalCount()) {
        const QString text = table.textOf(table.recordData(recno), title);
        if (!text.isEmpty())
            name += QStringLiteral(" (\"%1\")").arg(text);
    }
    return name;
}

bool takeStep(Workspace &ws, bool back)
{
    UndoHistory *history = ws.undoHistory();
    if (!history || ws.browseOnly() || !(back ? history->canUndo() : history->canRedo()))
        return false;
    UndoHistory::Result result;
    const bool ok = ws.attempt([&] { result = back ? history->undo() : history->redo(); });
    ws.announceCount();
    if (ok && !result.done && result.refusedRecord != 0)
        ws.prompt().showError(QStringLiteral("%1 was changed by another user since: \"%2 %3\" is not possible.")
                                  .arg(recordName(ws.master(), result.refusedRecord),
                                       back ? QStringLiteral("Undo") : QStringLiteral("Redo"), result.step));
    return ok && result.done;
}

} // namespace

QString recordsStepName(const char *what, qint64 count)
{
    return QStringLiteral("%1: %2 %3")
        .arg(QLatin1String(what))
        .arg(count)
        .arg(count == 1 ? QStringLiteral("record") : QStringLiteral("records"));
}

bool deleteCurrentRecord(Workspace &ws, Table &table)
{
    bool deleted = false;
    if (ws.prompt().askYesNo(QStringLiteral("Confirm"), QString::fromLatin1(kDeleteQuestion), Answer::Yes)) {
        UndoHistory::Step step(ws.undoHistory(), QStringLiteral("Delete"));
        deleted = ws.attempt([&] { table.deleteRecord(); });
    }
    ws.announceCount();
    return deleted;
}

void postRecord(Workspace &ws, Table &table)
{
    UndoHistory::Step step(ws.undoHistory(), postName(table));
    table.post();
}

UpdateOutcome updateMasterRecord(Workspace &ws, EditMode &mode, const RecordForm &form)
{
    Table &master = ws.master();
    UndoHistory::Step step(ws.undoHistory(),
                           mode != EditMode::Edit || master.recordCount() == 0 ? QStringLiteral("Add")
                                                                                : QStringLiteral("Edit"));
    return updateRecord(master, ws.pickLists(), ws.prompt(), mode, form);
}

ReplaceResult replaceInMaster(Workspace &ws, const ReplaceRequest &request, const ReplaceHooks &hooks,
                              ReplaceCounters &counters)
{
    UndoHistory::Step step(ws.undoHistory(), QStringLiteral("Replace"));
    const ReplaceResult result =
        searchAndReplace(ws.master(), ws.check(), ws.sortExpression(), request, ws.prompt(), hooks, counters);
    step.setName(recordsStepName("Replace", counters.changed));
    return result;
}

ImportResult importIntoMaster(Workspace &ws, const ImportRequest &request, ExchangeProgress *progress)
{
    UndoHistory::Step step(ws.undoHistory(), QStringLiteral("Import"));
    const ImportResult result = importRecords(ws.master(), request, progress);
    step.setName(recordsStepName("Import", result.imported));
    return result;
}

bool undoLastStep(Workspace &ws) { return takeStep(ws, true); }

bool redoLastStep(Workspace &ws) { return takeStep(ws, false); }

} // namespace kv
