#include "app/workspace/undohistory.h"

namespace kv {

namespace {
constexpr char kDeletedFlag = '*';

// What a record added by a step holds once the step is taken back.
QByteArray asDeleted(const char *record, std::size_t length)
{
    QByteArray bytes(record, qsizetype(length));
    bytes[0] = kDeletedFlag;
    return bytes;
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
    cleared_.clear();
    Q_EMIT changed();
}

UndoHistory::Change UndoHistory::changeOf(std::uint32_t recno, const char *before, const char *after,
                                          std::size_t length)
{
    QByteArray added;
    if (!before) {
        added = asDeleted(after, length);
        before = added.constData();
    }
    std::size_t from = 0, to = length;
    while (from < to && before[from] == after[from])
        ++from;
    while (to > from && before[to - 1] == after[to - 1])
        --to;
    return {recno,
            recordFingerprint(before, length),
            recordFingerprint(after, length),
            std::uint32_t(from),
            QByteArray(before + from, qsizetype(to - from)),
            QByteArray(after + from, qsizetype(to - from))};
}

void UndoHistory::recordWritten(std::uint32_t recno, const char *before, const char *after, std::size_t length)
{
    if (!recording_) {
        // A write outside any step is a step of its own.
        const bool deleted = before && before[0] != kDeletedFlag && after[0] == kDeletedFlag;
        open_ = Entry{before ? deleted ? QStringLiteral("Delete") : QStringLiteral("Edit") : QStringLiteral("Add"), {}};
        open_.changes.push_back(changeOf(recno, before, after, length));
        finishOpen();
        return;
    }
    // A record written twice in one step: from what it held before the first write to
    // what it holds after the last.
    const auto found = openIndex_.constFind(recno);
    if (found == openIndex_.cend()) {
        openIndex_.insert(recno, open_.changes.size());
        open_.changes.push_back(changeOf(recno, before, after, length));
        return;
    }
    Change &first = open_.changes[*found];
    QByteArray original = before ? QByteArray(before, qsizetype(length)) : asDeleted(after, length);
    original.replace(qsizetype(first.offset), first.after.size(), first.before);
    first = changeOf(recno, original.constData(), after, length);
}

UndoHistory::Result UndoHistory::apply(std::vector<Entry> &from, std::vector<Entry> &to, bool back)
{
    // A record still being edited is written first, as a step of its own.
    if (table_.state() == Table::State::Edit || table_.state() == Table::State::Insert)
        table_.post();
    Result result;
    if (from.empty())
        return result;
    Entry &entry = from.back();
    result.step = entry.name;
    std::vector<Table::RecordPut> puts;
    puts.reserve(entry.changes.size());
    const auto put = [&](const Change &c) {
        puts.push_back(back ? Table::RecordPut{c.recno, c.afterPrint, c.offset, c.before}
                            : Table::RecordPut{c.recno, c.beforePrint, c.offset, c.after});
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

void UndoHistory::clear(const QString &why)
{
    if (undo_.empty() && redo_.empty() && cleared_ == why)
        return;
    undo_.clear();
    redo_.clear();
    cleared_ = why;
    Q_EMIT changed();
}

} // namespace kv
