#pragma once
// The undo history of one table: each step holds, for every record it wrote, the bytes
// that changed as they were before and after, and a fingerprint of the whole record both
// times, so that Undo puts back exactly what was there and Redo what the step wrote. A
// step is refused whole when another copy changed one of its records since.
#include "store/recordobserver.h"
#include "store/table.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <vector>

namespace kv {

class UndoHistory : public QObject, private RecordObserver {
    Q_OBJECT
public:
    // Listens to the table's writes until destroyed.
    explicit UndoHistory(Table &table, QObject *parent = nullptr);
    ~UndoHistory() override;

    // The writes made while a Step lives form one step of the history, when they changed
    // anything; a null history records nothing. Writes outside a step become a step each,
    // named after what they did.
    class Step {
    public:
        Step(UndoHistory *history, const QString &name);
        ~Step();
        void setName(const QString &name);
        Step(const Step &) = delete;
        Step &operator=(const Step &) = delete;
    private:
        UndoHistory *history_;
        bool outer_ = false;
    };

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    // The name of the step Undo or Redo would take back or do again; empty when none.
    QString undoName() const { return undo_.empty() ? QString() : undo_.back().name; }
    QString redoName() const { return redo_.empty() ? QString() : redo_.back().name; }

    struct Result {
        bool done = false;        // the step was taken back (or done again)
        std::uint32_t refusedRecord = 0; // else: the record another copy changed since
        QString step;             // the step's name
    };
    // Throw DbError when the table cannot be written; the step stays where it was then.
    Result undo();
    Result redo();
    // Emptied; why, when given, is kept until the next step (clearedBecause()).
    void clear(const QString &why = QString());
    const QString &clearedBecause() const { return cleared_; }

Q_SIGNALS:
    // What Undo and Redo would do changed.
    void changed();

private:
    // A record the step added stands, when taken back, as a deleted record: another copy
    // may have added records after it, so it cannot leave the file.
    struct Change {
        std::uint32_t recno = 0;
        std::size_t beforePrint = 0;
        std::size_t afterPrint = 0;
        std::uint32_t offset = 0; // where the bytes that changed start
        QByteArray before;        // those bytes before the step
        QByteArray after;         // and after it
    };
    static Change changeOf(std::uint32_t recno, const char *before, const char *after, std::size_t length);
    struct Entry {
        QString name;
        std::vector<Change> changes;
    };

    void recordWritten(std::uint32_t recno, const char *before, const char *after, std::size_t length) override;
    void finishOpen();
    Result apply(std::vector<Entry> &from, std::vector<Entry> &to, bool back);

    Table &table_;
    std::vector<Entry> undo_;
    std::vector<Entry> redo_;
    QString cleared_;
    bool recording_ = false;
    Entry open_;
    QHash<std::uint32_t, std::size_t> openIndex_; // record -> its change in open_
};

} // namespace kv
