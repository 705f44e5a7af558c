#include "app/workspace/undohistory.h"

namespace kv {

namespace {
constexpr char kDeletedFlag = '*';

// A record the step added stands, when taken back, as a deleted record: another copy may
// have added records after it, so it cannot leave the file.
QByteArray withFlag(QByteArray record, char flag)
{
    if (!record.isEmpty())
        record[0] = flag;
    return record;
}
} // namespace

UndoHistory::UndoHistory(Table &table, QObject *parent) : QObject(parent), table_(table)
{
    table_.setRecordObserver(this);
}

UndoHistory::~UndoHistory()
{
    if (table_.recordObserver() == this)
        table_.setRecordObserver(nullptr);
}

UndoHistory::Step::Step(UndoHistory *history, const QString &name) : history_(history)
{
    if (!history_ || history_->recording_)
        return;
    outer_ = true;
    history_->recording_ = true;
    history_->open_ = Entry{name, {}};
    history_->openIndex_.clear();
}

UndoHistory::Step::~Step()
{
    if (outer_)
        history_->finishOpen();
}

void UndoHistory::Step::setName(const QString &name)
{
    if (outer_)
        history_->open_.name = name;
}

void UndoHistory::finishOpen()
{
    recording_ = false;
    openIndex_.clear();
    if (open_.changes.empty())
        return;
    undo_.push_back(std::move(open_));
    open_ = Entry();
    redo_.clear();
    Q_EMIT changed();
}

void UndoHistory::recordWritten(std::uint32_t recno, const char *before, const char *after, std::size_t length)
{
    const QByteArray now(after, qsizetype(length));
    if (!recording_) {
        // A write outside any step is a step of its own.
        const bool deleted = before && before[0] != kDeletedFlag && after[0] == kDeletedFlag;
        open_ = Entry{before ? deleted ? QStringLiteral("Delete") : QStringLiteral("Edit") : QStringLiteral("Add"), {}};
        open_.changes.push_back({recno, before ? QByteArray(before, qsizetype(length)) : QByteArray(), now});
        finishOpen();
        return;
    }
    // A record written twice in one step keeps its first picture before and its last after.
    const auto found = openIndex_.constFind(recno);
    if (found != openIndex_.cend()) {
        open_.changes[*found].after = now;
        return;
    }
    openIndex_.insert(recno, open_.changes.size());
    open_.changes.push_back({recno, before ? QByteArray(before, qsizetype(length)) : QByteArray(), now});
}

UndoHistory::Result UndoHistory::apply(std::vector<Entry> &from, std::vector<Entry> &to, bool back)
{
    Result result;
    if (from.empty())
        return result;
    Entry &entry = from.back();
    result.step = entry.name;
    std::vector<Table::RecordPut> puts;
    puts.reserve(entry.changes.size());
    const auto put = [&](const Change &c) {
        const QByteArray before = c.before.isEmpty() ? withFlag(c.after, kDeletedFlag) : c.before;
        puts.push_back(back ? Table::RecordPut{c.recno, c.after, before} : Table::RecordPut{c.recno, before, c.after});
    };
    if (back)
        for (auto it = entry.changes.rbegin(); it != entry.changes.rend(); ++it)
            put(*it);
    else
        for (const Change &c : entry.changes)
            put(c);
    result.refusedRecord = table_.putRecords(puts);
    if (result.refusedRecord != 0)
        return result;
    result.done = true;
    to.push_back(std::move(entry));
    from.pop_back();
    Q_EMIT changed();
    return result;
}

UndoHistory::Result UndoHistory::undo() { return apply(undo_, redo_, true); }

UndoHistory::Result UndoHistory::redo() { return apply(redo_, undo_, false); }

void UndoHistory::clear()
{
    if (undo_.empty() && redo_.empty())
        return;
    undo_.clear();
    redo_.clear();
    Q_EMIT changed();
}

} // namespace kv
