#pragma once
// The table object: one dBASE table (.DBF) with its production index (.MDX), the one
// class callers use. A facade over its parts: the file, header and record codec
// (dbf/), the production index kept current (indextags.h), and the active order with
// its filter (recordorder.h).
#include "base/dberror.h"
#include "store/dbf/dbffile.h"
#include "store/dbf/recordcodec.h"
#include "store/fieldtable.h"
#include "store/indextags.h"
#include "store/recordobserver.h"
#include "store/recordorder.h"

#include "base/codepage.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace kv {

class Table;

inline constexpr char kDeletedByOtherMessage[] = "The record was deleted by another user.";

// One record as the filter routine sees it.
class RecordRef {
public:
    RecordRef(const Table &table, const char *data, std::uint32_t recno) : table_(table), data_(data), recno_(recno) {}
    QString text(int field) const;
    QString text(const QString &fieldName) const;
    std::uint32_t recNo() const { return recno_; }
    const char *data() const { return data_; }
private:
    const Table &table_;
    const char *data_;
    std::uint32_t recno_;
};

class Table : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    enum class Match { Exact, PartialAtStart, PartialAnywhere };
    using FilterFunction = std::function<bool(const RecordRef &)>;

    struct FieldDisplay {
        bool visible = true;
        QString title;
        int position = 0; // column index in the viewer
        int width = 0;    // in characters
    };

    explicit Table(QObject *parent = nullptr);
    ~Table() override;

    // Where the table is. The directory ends with a '/'; the table name is the file name
    // with or without its extension (".DBF" is assumed when it has none).
    void setDirectory(const QString &directory);
    QString directory() const { return directory_; }
    void setTableName(const QString &name);
    QString tableName() const { return tableName_; }
    // Directory and table name from a full path.
    void setPath(const QString &path);
    // The .DBF path, found without regard to letter case when the file exists.
    QString filePath() const;
    QString mdxPath() const;
    static QString tableType() { return QStringLiteral("DBASE"); }

    // An open table can give up exclusive use (it stays open, shared); taking it needs
    // the table closed.
    void setExclusive(bool on);
    bool exclusive() const { return exclusive_; }
    void setReadOnly(bool on);
    bool readOnly() const { return readOnly_; }
    // Set before open() by work that reads the whole table once from start to end: the
    // file is read ahead in large steps instead of a page at a time as records are met.
    void setReadAhead(bool on) { readAhead_ = on; }
    // Empty, or why the open table's header cannot be trusted: it is then only read.
    const QString &damage() const { return dbf_.header().damage; }
    // The active index tag; empty for physical order.
    void setIndexName(const QString &name);
    QString indexName() const { return indexName_; }
    // Before open(): open in the order of this tag when the table has it, else in physical
    // order; one pass over the records where open() and setIndexName() make two.
    void setIndexNameIfPresent(const QString &name)
    {
        setIndexName(name);
        indexOptional_ = true;
    }

    void open();
    void close(); // a closed table stays closed
    bool isOpen() const { return state_ != State::Inactive; }
    State state() const { return state_; }

    // Fields in file order, from 0.
    int fieldCount() const { return codec_.count(); }
    QString fieldName(int i) const;
    int fieldIndex(const QString &name) const; // without regard to case; -1 when absent
    const FieldLayout &fieldLayout(int i) const { return codec_.field(i); }
    const std::vector<FieldLayout> &fieldLayouts() const { return codec_.fields(); }
    FieldDisplay &fieldDisplay(int i) { return display_.at(size_t(i)); }
    const FieldDisplay &fieldDisplay(int i) const { return display_.at(size_t(i)); }

    // The current record's field as text: text without trailing blanks, numbers without
    // padding, dates in the program's date format, blanks as "".
    QString fieldText(int i) const;
    QString fieldText(const QString &name) const;
    double fieldNumber(int i) const; // blank reads as 0
    QDate fieldDate(int i) const;    // blank reads as a null date
    // Set a field of the record being edited or appended; throws DbError when the text
    // does not convert or does not fit.
    void setFieldText(int i, const QString &text);
    void setFieldText(const QString &name, const QString &text);
    // Sets field i of the record being edited from a field of another table's current
    // record, as setFieldText(i, source.fieldText(sourceField)) would; text of the same
    // width and code page is copied as it is stored, which keeps bulk copies fast.
    void copyField(int i, const Table &source, int sourceField);
    void setFieldNumber(int i, double value);
    void setFieldDate(int i, const QDate &date);
    void clearField(int i);

    // Navigation in the active order through the filter.
    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    // 1-based record number of the current record, 0 when there is none.
    std::uint32_t recNo() const;
    // The current record's place in the order, from 0; -1 when there is none.
    int position() const;
    void moveTo(int position);
    // A field of the record at a place in the order, without moving (for the viewer).
    QString fieldTextAt(int position, int field) const;
    std::uint32_t recNoAt(int position) const;
    // The record numbers of the active order as they would be with the filter off, the
    // filter left as it is: for work that looks at the whole table during a search.
    std::vector<std::uint32_t> orderIgnoringFilter() const;

    void append();
    void edit();
    void post();
    void cancel();
    void deleteRecord();

    bool locate(const QString &fieldName, const QString &value, Match match, bool caseSensitive, bool fromStart);

    // Records visible through the filter.
    int recordCount() const;
    // Physical records in the file, deleted ones included, and the deleted ones.
    std::uint32_t physicalCount() const { return dbf_.count(); }
    std::uint32_t deletedCount() const;
    // Re-read the file (another program may have changed it) and redisplay.
    void refresh();

    // Around many appends by one writer (converting, importing): other writers wait until
    // the end and records are written in batches. The records become part of the table
    // only at commit(), which brings the header count and the index tags up to date once.
    // A bulk append that ends without commit (an error on its way, or the table closed)
    // takes its records out of the file again and leaves the count and the index as they
    // were.
    void beginBulkAppend();
    // Throws DbError when the records, the count or the index cannot be written; the
    // records are kept once the count is written.
    void commitBulkAppend();
    void rollbackBulkAppend() noexcept;
    class BulkAppend {
    public:
        explicit BulkAppend(Table &t) : t_(t) { t_.beginBulkAppend(); }
        ~BulkAppend() { t_.rollbackBulkAppend(); }
        void commit() { t_.commitBulkAppend(); }
        BulkAppend(const BulkAppend &) = delete;
        BulkAppend &operator=(const BulkAppend &) = delete;
    private:
        Table &t_;
    };

    // Around many changes of existing records by one writer (search and replace): the
    // write lock, the check that our picture of the file is fresh and the header are
    // taken once for a chunk of changes instead of once for each record, and the viewer
    // is told once at the end. Records are written whole as they are posted, so a run
    // that stops midway leaves each record old or new; keys are moved in the index only
    // where they changed, and while a chunk has moved keys the table says that its index
    // may be behind (repaired at the next open if the run is killed). Between chunks the
    // lock is let go: other writers may take their turn, and the next change sees what
    // they did. chunk: changes in a chunk, at least 1.
    void beginChanges(int chunk = 4096);
    // Posts a record still being edited, then ends the chunk; throws DbError when the
    // record cannot be written. endChanges(false) posts nothing and throws nothing.
    void endChanges(bool postEdit = true);
    class Changes {
    public:
        explicit Changes(Table &t, int chunk = 4096) : t_(t) { t_.beginChanges(chunk); }
        ~Changes() { t_.endChanges(false); }
        void commit() { t_.endChanges(); }
        Changes(const Changes &) = delete;
        Changes &operator=(const Changes &) = delete;
    private:
        Table &t_;
    };

    // Every record this table object writes from now on is told to observer (none: null);
    // the caller keeps it alive while it is set.
    void setRecordObserver(RecordObserver *observer) { observer_ = observer; }
    RecordObserver *recordObserver() const { return observer_; }

    // Records given new bytes from offset on, all under one lock: each only when the
    // file's record still has the fingerprint expected (recordFingerprint()), checked for
    // every one before any is written. Keys move in the index as for any change. Returns
    // 0 when all were written, else the first record that differs, and nothing was
    // written. The observer is not told.
    struct RecordPut {
        std::uint32_t recno = 0;
        std::size_t expected = 0;
        std::uint32_t offset = 0;
        QByteArray bytes;
    };
    std::uint32_t putRecords(const std::vector<RecordPut> &puts);

    // Around bulk changes: the viewer stops following until the matching resume.
    void suspendDisplay();
    void resumeDisplay();
    bool displaySuspended() const { return suspended_ > 0; }

    // Creating a table.
    void clearFieldDefs();
    void addFieldDef(const QString &name, FieldKind kind, int size = 0, bool required = false);
    // A field of any dBASE type letter (C, N, F, D, L) with its width and decimals.
    void addFieldDef(const QString &name, char type, int width, int decimals);
    void clearIndexDefs();
    // Creates the file from the field definitions, replacing an existing one (and its
    // index) unless another program has it open.
    void createTable();

    // Index tags of the production index. Adding, deleting, packing and regenerating
    // need the table to ourselves: the table is open exclusively, or closed (then it is
    // opened exclusively for the operation and closed again).
    QStringList indexNames() const;
    QString indexExpression(const QString &name) const;
    void addIndex(const QString &name, const QString &expression);
    void deleteIndex(const QString &name);
    void pack();
    void regenerateIndexes();
    // Empty when every tag of the open table's index lists each record once with the
    // key the record gives; else what is wrong.
    QString indexProblem() const;
    // What a writer found wrong with the index and put right by rebuilding it from the
    // records (an open that may write, a bulk append), for the caller to tell the user;
    // taking it empties it. Empty when nothing was rebuilt.
    QString takeIndexNotice();

    void setFilterFunction(FilterFunction filter);
    void setFiltered(bool on);
    bool filtered() const { return filtered_; }

    std::uint8_t languageDriver() const { return dbf_.header().ldid; }
    Codepage codepage() const { return codec_.codepage(); }
    std::uint8_t versionByte() const { return dbf_.header().version; }

    // Text conversion of one field of raw record bytes (shared by the record views).
    QString textOf(const char *record, int field) const;
    // Raw bytes of record recno (1-based); valid until the next change of the file.
    const char *recordData(std::uint32_t recno) const;

Q_SIGNALS:
    // Records, their order or the filter changed: anything showing the table re-reads it.
    void dataChanged();
    // The current record moved to another place in the order.
    void currentChanged();

private:
    void requireOpen(const char *operation) const;
    void requireWritable() const;
    void requireSound() const;
    void requireEditing() const;
    [[noreturn]] void fail(const QString &message) const;
    QString displayName() const;
    int requireField(const QString &name) const;

    void loadIndex();
    void closeIndex();
    void setActiveTag(int tag);
    void syncIndexWithFile();
    bool mayRepair() const;
    void repairPendingIndex();
    void mendUnsoundIndex();
    void mendIndexUnderLock();
    bool indexSoundUnderLock();
    // sorted, when given: the tags' keys over the table's records, already sorted.
    void writeIndexFile(std::vector<IndexTags::Tag> tags, const IndexTags::Sorted *sorted = nullptr);
    template <typename F> void withExclusiveUse(const char *operation, bool reorders, F &&work);

    void rebuildView(std::uint32_t keepRecno);
    std::vector<std::uint32_t> orderFromIndex(bool &rewrite) const;
    bool passes(const char *record, std::uint32_t recno) const;
    bool keyLess(std::uint32_t a, std::uint32_t b) const;
    void settlePending() const;
    bool settleFromIndex() const;
    void notify();
    void checkBrowseMode();
    void setCurrent(std::size_t position);

    void rereadCountUnderLock();
    // Takes the writers' lock, with the count and the index as the file has them now;
    // lets go again when they cannot be read.
    void lockWritesFresh();
    // One record written on its own, under the lock for that write; its record number.
    std::uint32_t postOne(bool inserted, bool &keyChanged);
    void appendOne();
    bool rewriteOne(std::uint32_t recno);
    // The record being edited or appended, else the current record; null when none.
    const char *currentData() const;

    QString directory_;
    QString tableName_;
    bool exclusive_ = false;
    bool readOnly_ = false;
    QString indexName_;

    State state_ = State::Inactive;
    DbfFile dbf_;
    bool readAhead_ = false;
    bool indexOptional_ = false; // a missing tag of indexName_ means physical order
    RecordCodec codec_;
    bool writable_ = false;
    std::vector<FieldDisplay> display_;

    IndexTags index_;
    int activeTag_ = -1;
    bool indexStale_ = false; // a stopped run left it behind the records; we cannot repair it
    QString indexUnsound_;    // its entries do not list the records and it could not be rebuilt
    QString indexNotice_;     // see takeIndexNotice()

    mutable RecordOrder order_;
    // While the order settles, each new record is compared with many others in a row:
    // its key is made once.
    mutable bool settling_ = false;
    mutable std::uint32_t probeRecno_ = 0;
    mutable std::array<char, 128> probeKey_{};
    bool bof_ = true;
    bool eof_ = true;

    QByteArray buffer_; // the record being edited or appended
    std::uint32_t editRecno_ = 0;

    FilterFunction filter_;
    bool filtered_ = false;
    int suspended_ = 0;
    bool changedWhileSuspended_ = false;

    // The bulk append or the batch of changes running, if any (tablewriters.h).
    class BulkWriter;
    class ChangeBatch;
    std::unique_ptr<BulkWriter> bulk_;
    std::unique_ptr<ChangeBatch> batch_;

    std::vector<FieldDef> fieldDefs_;
    RecordObserver *observer_ = nullptr;
};

} // namespace kv
