#pragma once
// The table object: one dBASE table (.DBF) with its production index (.MDX).
// Records are read through a mapping of the file; the active order is an in-memory
// permutation of record numbers built from the index; a filter runs as one pass.
#include "base/dberror.h"
#include "store/fieldtable.h"
#include "store/index/keyexpr.h"
#include "store/osfile.h"

#include "base/codepage.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <exception>
#include <optional>
#include <vector>

namespace kv {

class MdxFile;
class Table;

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
    // The active index tag; empty for physical order.
    void setIndexName(const QString &name);
    QString indexName() const { return indexName_; }

    void open();
    void close(); // a closed table stays closed
    bool isOpen() const { return state_ != State::Inactive; }
    State state() const { return state_; }

    // Fields in file order, from 0.
    int fieldCount() const { return int(fields_.size()); }
    QString fieldName(int i) const;
    int fieldIndex(const QString &name) const; // without regard to case; -1 when absent
    const FieldLayout &fieldLayout(int i) const { return fields_.at(size_t(i)); }
    const std::vector<FieldLayout> &fieldLayouts() const { return fields_; }
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

    void append();
    void edit();
    void post();
    void cancel();
    void deleteRecord();

    bool locate(const QString &fieldName, const QString &value, Match match, bool caseSensitive, bool fromStart);

    // Records visible through the filter.
    int recordCount() const;
    // Physical records in the file, deleted ones included, and the deleted ones.
    std::uint32_t physicalCount() const { return recordCount_; }
    std::uint32_t deletedCount() const;
    // Re-read the file (another program may have changed it) and redisplay.
    void refresh();

    // Around many appends by one writer (converting, importing): other writers wait until
    // the end, records are written in batches, and the header count and the index tags
    // are brought up to date once at the end. A failed write throws DbError and loses
    // only its own batch; the batches written before it stay.
    void beginBulkAppend();
    void endBulkAppend();
    class BulkAppend {
    public:
        explicit BulkAppend(Table &t) : t_(t), unwinding_(std::uncaught_exceptions()) { t_.beginBulkAppend(); }
        // Throws DbError when the count or the index cannot be written, unless another
        // error is already on its way.
        ~BulkAppend() noexcept(false)
        {
            if (std::uncaught_exceptions() > unwinding_) {
                try {
                    t_.endBulkAppend();
                } catch (const DbError &) {
                }
            } else {
                t_.endBulkAppend();
            }
        }
        BulkAppend(const BulkAppend &) = delete;
        BulkAppend &operator=(const BulkAppend &) = delete;
    private:
        Table &t_;
        int unwinding_;
    };

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

    void setFilterFunction(FilterFunction filter);
    void setFiltered(bool on);
    bool filtered() const { return filtered_; }

    std::uint8_t languageDriver() const { return ldid_; }
    Codepage codepage() const { return codepage_; }
    std::uint8_t versionByte() const { return version_; }

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
    struct Tag {
        QString name;
        KeyExpression expression;
    };

    void requireOpen(const char *operation) const;
    void requireWritable() const;
    void requireEditing() const;
    [[noreturn]] void fail(const QString &message) const;
    QString displayName() const;

    void openFile();
    void readHeader();
    void mapRecords();
    void loadIndex();
    void closeIndex();
    void checkStaleIndex();
    void rebuildView(std::uint32_t keepRecno);
    std::vector<std::uint32_t> orderFromIndex() const;
    std::vector<std::uint8_t> visibleMap() const;
    bool passes(const char *record, std::uint32_t recno) const;
    void settlePending() const;
    std::size_t insertPosition(const char *record, std::uint32_t recno) const;
    bool keyLess(const char *a, std::uint32_t ra, const char *b, std::uint32_t rb) const;
    void placeAfterChange(std::uint32_t recno, bool visible);
    void notify();
    void checkBrowseMode();
    void setCurrent(std::size_t position);

    std::vector<Tag> parseTags() const;
    void writeIndexFile(const std::vector<Tag> &tags);
    void setProductionFlag(bool on);
    void writeHeaderCount(std::uint32_t count);
    void rereadHeaderCount();
    void writeRecords(std::uint32_t first, const QByteArray &records);
    void flushBulk();
    template <typename F> void withExclusiveUse(const char *operation, F &&work);
    void syncIndexWithFile();

    // The record being edited or appended, else the current record; null when none.
    const char *currentData() const;
    void writeField(char *record, int i, const QString &text) const;
    void writeNumber(char *record, int i, double value) const;

    QString directory_;
    QString tableName_;
    bool exclusive_ = false;
    bool readOnly_ = false;
    QString indexName_;

    State state_ = State::Inactive;
    OsFile file_;
    bool writable_ = false;
    std::uint8_t version_ = 0x03;
    std::uint8_t ldid_ = kLdidWindowsAnsi;
    Codepage codepage_ = Codepage::Cp1252;
    std::uint32_t headerLength_ = 0;
    std::uint32_t recordLength_ = 0;
    std::uint32_t recordCount_ = 0;
    const char *data_ = nullptr; // mapping of the whole file
    std::vector<FieldLayout> fields_;
    std::vector<FieldDisplay> display_;

    std::unique_ptr<MdxFile> mdx_;
    OsFile mdxProbe_;           // tells when another program changed the index
    OsFile::Stamp mdxStamp_;
    std::vector<Tag> tags_;        // every tag of the production index, kept current
    QString tagsProblem_;          // why the tags cannot be kept current, if so
    int activeTag_ = -1;

    // The order: visible record numbers; appended records wait in pending_ until the
    // order is next needed, so that bulk appends stay cheap.
    mutable std::vector<std::uint32_t> view_;
    mutable std::vector<std::uint32_t> pending_;
    mutable std::size_t pos_ = 0;
    mutable std::uint32_t currentRecno_ = 0;
    mutable bool positionKnown_ = true;
    bool bof_ = true;
    bool eof_ = true;

    QByteArray buffer_; // the record being edited or appended
    std::uint32_t editRecno_ = 0;

    FilterFunction filter_;
    bool filtered_ = false;
    int suspended_ = 0;
    static constexpr qsizetype kBulkBatchBytes = 1 << 20;
    bool bulk_ = false;
    std::vector<std::uint32_t> bulkAdded_; // appended in bulk, not yet in the index
    QByteArray bulkPending_;               // appended in bulk, not yet written
    std::uint32_t bulkFirst_ = 0;          // record number of the first of them
    QByteArray writeBuffer_;               // a record and the end-of-file mark
    bool changedWhileSuspended_ = false;

    struct FieldDef {
        QString name;
        char type;
        int width;
        int decimals;
    };
    std::vector<FieldDef> fieldDefs_;
};

} // namespace kv
