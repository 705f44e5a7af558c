// The table object: where the table is, opening and closing, its fields, the active
// order and filter, and navigation. Changing records: tablechanges.cpp; creating,
// index tags and pack: tablemaintenance.cpp.
#include "store/table.h"

#include "store/tablewriters.h"

#include "store/dbf/companion.h"
#include "store/index/collation.h"
#include "store/index/keysort.h"

#include "base/paths.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <bit>
#include <numeric>
#include <utility>

namespace kv {

namespace {
constexpr char kDeletedFlag = '*';
constexpr int kMaxKey = 128;
} // namespace

// ---------------------------------------------------------------- RecordRef

QString RecordRef::text(int field) const { return table_.textOf(data_, field); }

QString RecordRef::text(const QString &fieldName) const
{
    const int i = table_.fieldIndex(fieldName);
    return i < 0 ? QString() : table_.textOf(data_, i);
}

// ---------------------------------------------------------------- location

Table::Table(QObject *parent) : QObject(parent) {}

Table::~Table()
{
    close();
}

void Table::setDirectory(const QString &directory)
{
    directory_ = QDir::fromNativeSeparators(directory);
    if (!directory_.isEmpty() && !directory_.endsWith(QLatin1Char('/')))
        directory_ += QLatin1Char('/');
}

void Table::setTableName(const QString &name) { tableName_ = name; }

void Table::setPath(const QString &path)
{
    const QFileInfo info(QDir::fromNativeSeparators(path));
    setDirectory(info.absolutePath());
    setTableName(info.fileName());
}

QString Table::filePath() const
{
    QString name = tableName_;
    if (!name.contains(QLatin1Char('.')))
        name += QStringLiteral(".DBF");
    return resolveCaseInsensitive(directory_ + name);
}

QString Table::mdxPath() const { return mdxPathFor(filePath()); }

QString Table::displayName() const { return QDir::toNativeSeparators(filePath()); }

void Table::setExclusive(bool on)
{
    if (isOpen() && on != exclusive_) {
        // Giving up exclusive use of an open table keeps it open: the lock turns shared
        // in one step, so no other program can slip in between.
        if (on)
            fail(QStringLiteral("Cannot change the exclusive use of an open table."));
        dbf_.os().lockUse(OsFile::Lock::Shared);
    }
    exclusive_ = on;
}

void Table::setReadOnly(bool on)
{
    if (isOpen() && on != readOnly_)
        fail(QStringLiteral("Cannot change the read-only flag of an open table."));
    readOnly_ = on;
}

void Table::fail(const QString &message) const { throw DbError(message); }

void Table::requireOpen(const char *operation) const
{
    if (!isOpen())
        fail(QStringLiteral("Cannot %1: the table \"%2\" is not open.")
                 .arg(QLatin1String(operation), tableName_));
}

void Table::requireWritable() const
{
    requireOpen("change records");
    requireSound();
    if (!writable_)
        fail(QStringLiteral("The table \"%1\" is read only.").arg(displayName()));
    if (!index_.problem().isEmpty())
        fail(index_.problem());
    if (indexStale_)
        fail(QStringLiteral("The index of the table \"%1\" is behind its records and could not be rebuilt; "
                            "open the table again to retry.").arg(displayName()));
    if (!indexUnsound_.isEmpty())
        fail(indexUnsound_);
}

// A table whose header disagrees with itself is left byte for byte as it is.
void Table::requireSound() const
{
    if (!damage().isEmpty())
        fail(damage() + QStringLiteral("\nIt is left as it is: nothing was changed."));
}

void Table::requireEditing() const
{
    if (state_ != State::Edit && state_ != State::Insert)
        fail(QStringLiteral("The table \"%1\" is not in edit or insert mode.").arg(tableName_));
}

int Table::requireField(const QString &name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        fail(QStringLiteral("Field \"%1\" not found in the table \"%2\".").arg(name, tableName_));
    return i;
}

// ---------------------------------------------------------------- open and close

void Table::open()
{
    if (isOpen())
        return;
    try {
        dbf_.open(filePath(), exclusive_);
        if (readAhead_)
            dbf_.os().adviseSequential(dbf_.header().recordOffset(dbf_.count() + 1));
        writable_ = dbf_.writable() && !readOnly_ && damage().isEmpty();
        const DbfHeader &h = dbf_.header();
        codec_ = RecordCodec(h.fields, h.codepage);
        display_.assign(h.fields.size(), FieldDisplay());
        for (size_t i = 0; i < h.fields.size(); ++i) {
            display_[i].title = QString::fromLatin1(h.fields[i].name);
            display_[i].position = int(i);
            display_[i].width = h.fields[i].width;
        }
        if (mayRepair())
            dbf_.removeLeftovers();
        loadIndex();
        repairPendingIndex();
        mendUnsoundIndex();
        state_ = State::Browse;
        rebuildView(0);
        setCurrent(0);
    } catch (...) {
        state_ = State::Browse;
        close();
        throw;
    }
    notify();
}

const char *Table::recordData(std::uint32_t recno) const
{
    // Records of a bulk append wait in memory until their batch is written.
    if (bulk_)
        if (const char *waiting = bulk_->waiting(recno))
            return waiting;
    return dbf_.record(recno);
}

void Table::loadIndex()
{
    closeIndex();
    const QString path = mdxPath();
    if (dbf_.productionFlag() && QFileInfo::exists(path))
        index_.open(path, writable_ || (exclusive_ && damage().isEmpty()), codec_, displayName());
    if (!indexName_.isEmpty()) {
        const int tag = index_.find(indexName_);
        if (tag < 0 && indexOptional_)
            indexName_.clear();
        else if (tag < 0)
            fail(QStringLiteral("The index tag \"%1\" does not exist for the table \"%2\".")
                     .arg(indexName_, displayName()));
        else
            setActiveTag(tag);
    }
}

// What a stopped run left behind is put right by any open that can write the file, one
// that only reads included (the listing after a killed pack is such an open): the run's
// records stand, and the index and the temporary files are the run's unfinished part.
bool Table::mayRepair() const { return dbf_.writable() && damage().isEmpty(); }

// A run that stopped between changing the records and writing the index left the table
// saying so: the index is written again from the records, without a question. A file we
// cannot write is shown in the order of its keys until someone who can repairs it.
void Table::repairPendingIndex()
{
    indexStale_ = false;
    if (!dbf_.indexPending())
        return;
    if (!mayRepair()) {
        indexStale_ = index_.isOpen();
        return;
    }
    WriteGuard guard(dbf_.os());
    if (!dbf_.indexPending())
        return; // another program repaired it meanwhile
    // When the index cannot be written now (a full disk), the table is still shown, in
    // the order of its keys, and the next open tries again.
    try {
        rereadCountUnderLock();
        if (index_.isOpen() && index_.problem().isEmpty())
            writeIndexFile(index_.tags());
        dbf_.setIndexPending(false);
    } catch (const DbError &) {
        indexStale_ = index_.isOpen();
    }
}

// An index whose tags do not list each record once (another program changed the table
// without it, or the file is damaged) would take new keys wrongly or fail halfway
// through a change: an open that may write rebuilds it from the records first and says
// so. Where that fails the table is still shown, and refuses every change.
void Table::mendUnsoundIndex()
{
    indexUnsound_.clear();
    if (!writable_ || indexStale_ || !index_.isOpen() || index_.tags().empty())
        return;
    // Looked at first without the lock: another writer may be between its record and
    // its key, or halfway through writing a page, which the look under the lock waits for.
    try {
        if (index_.verifyEntries(dbf_.count()).isEmpty())
            return;
    } catch (const DbError &) {
    }
    WriteGuard guard(dbf_.os());
    try {
        rereadCountUnderLock();
        syncIndexWithFile();
        mendIndexUnderLock();
    } catch (const DbError &) {
        // indexUnsound_ says why changes are refused.
    }
}

// Under the write lock, with the count and the index as the file has them now.
void Table::mendIndexUnderLock()
{
    const QString problem = index_.verifyEntries(dbf_.count());
    if (problem.isEmpty())
        return;
    try {
        writeIndexFile(index_.tags());
    } catch (const DbError &e) {
        indexUnsound_ = problem + QStringLiteral("\n") + e.message();
        throw DbError(indexUnsound_);
    }
    indexNotice_ += (indexNotice_.isEmpty() ? QString() : QStringLiteral("\n")) + problem +
                    QStringLiteral("  It was rebuilt from the records.");
}

QString Table::takeIndexNotice() { return std::exchange(indexNotice_, QString()); }

void Table::closeIndex()
{
    index_.close();
    setActiveTag(-1);
}

// The order follows the active tag's keys where this program can evaluate them.
void Table::setActiveTag(int tag)
{
    activeTag_ = tag;
    if (tag >= 0 && tag < int(index_.tags().size()))
        order_.setKeyOrder([this](std::uint32_t a, std::uint32_t b) { return keyLess(a, b); });
    else
        order_.setKeyOrder(nullptr);
}

// Another program sharing the table may have changed the index since we last wrote it.
void Table::syncIndexWithFile()
{
    if (index_.sync(writable_ || (exclusive_ && damage().isEmpty())) && !indexName_.isEmpty())
        setActiveTag(index_.find(indexName_));
}

void Table::close()
{
    if (state_ == State::Inactive)
        return;
    endChanges(false);
    rollbackBulkAppend();
    buffer_.clear();
    closeIndex();
    dbf_.close();
    codec_ = RecordCodec();
    display_.clear();
    order_.clear();
    bof_ = eof_ = true;
    state_ = State::Inactive;
    notify();
}

// ---------------------------------------------------------------- order and filter

bool Table::passes(const char *record, std::uint32_t recno) const
{
    if (record[0] == kDeletedFlag)
        return false;
    if (filtered_ && filter_)
        return filter_(RecordRef(*this, record, recno));
    return true;
}

bool Table::keyLess(std::uint32_t a, std::uint32_t b) const
{
    const KeyExpression &e = index_.tags()[size_t(activeTag_)].expression;
    char ka[kMaxKey];
    e.evaluate(recordData(a), ka);
    if (!settling_ || b != probeRecno_) {
        e.evaluate(recordData(b), probeKey_.data());
        probeRecno_ = settling_ ? b : 0;
    }
    const int c = compareKeys(ka, probeKey_.data(), size_t(e.keyLength()));
    return c != 0 ? c < 0 : a < b;
}

void Table::settlePending() const
{
    if (order_.waiting() > 0 && settleFromIndex())
        return;
    struct Settling {
        const Table &t;
        Settling(const Table &table) : t(table) { t.settling_ = true; }
        ~Settling()
        {
            t.settling_ = false;
            t.probeRecno_ = 0;
        }
    } settling(*this);
    order_.settle();
}

// Each appended record finds its place with about log2(n) keys made, while the index
// already holds every one of them: after many appends one pass over the index and the
// records costs less. The order is taken only when it lists each counted record once,
// in the key order; records another program appended meanwhile are left out, as they
// would be otherwise. False when the index cannot serve, and nothing changes.
bool Table::settleFromIndex() const
{
    // Records of a bulk append reach the index only when it ends.
    if (activeTag_ < 0 || activeTag_ >= int(index_.tags().size()) || indexStale_ || bulk_)
        return false;
    const std::size_t total = order_.size();
    if (order_.waiting() * std::size_t(std::bit_width(total)) * 6 < total)
        return false;
    const std::uint32_t count = dbf_.count();
    std::vector<std::uint32_t> order;
    bool inKeyOrder = true;
    try {
        order = index_.readOrder(activeTag_, &inKeyOrder);
    } catch (const DbError &) {
        return false; // the one-by-one way below does without the index
    }
    if (!inKeyOrder)
        return false;
    // With no filter on, the deleted mark alone decides.
    const bool tested = filtered_ && filter_;
    const std::vector<std::uint8_t> visible =
        tested ? filterPass(dbf_.record(1), dbf_.header().recordLength, count,
                            [this](const char *record, std::uint32_t recno) { return passes(record, recno); })
               : filterPass(dbf_.record(1), dbf_.header().recordLength, count,
                            [](const char *record, std::uint32_t) { return record[0] != kDeletedFlag; });
    std::vector<std::uint8_t> seen(std::size_t(count) + 1, 0);
    std::uint32_t listed = 0;
    std::vector<std::uint32_t> view;
    view.reserve(total);
    for (std::uint32_t r : order) {
        if (r == 0 || r > count)
            continue;
        if (seen[r])
            return false;
        seen[r] = 1;
        ++listed;
        if (visible[r])
            view.push_back(r);
    }
    if (listed != count)
        return false;
    order_.assign(std::move(view), order_.current());
    return true;
}

// The active tag's order. Where the index does not match the table (another program
// changed one without the other), or its keys are not in the key order (it was written
// in byte order), the order comes from the keys instead, and rewrite says whether the
// index should be written again.
std::vector<std::uint32_t> Table::orderFromIndex(bool &rewrite) const
{
    const std::uint32_t count = dbf_.count();
    bool inKeyOrder = true;
    std::vector<std::uint32_t> order = indexStale_ ? std::vector<std::uint32_t>() : index_.readOrder(activeTag_, &inKeyOrder);
    bool whole = !indexStale_ && order.size() == count;
    if (whole) {
        std::vector<std::uint8_t> seen(std::size_t(count) + 1, 0);
        for (std::uint32_t r : order) {
            if (r == 0 || r > count || seen[r]) {
                whole = false;
                break;
            }
            seen[r] = 1;
        }
    }
    const bool keyed = activeTag_ < int(index_.tags().size());
    rewrite = keyed && (!whole || !inKeyOrder);
    if ((whole && inKeyOrder) || !keyed)
        return order;
    return sortByKey(count, [this](std::uint32_t r) { return recordData(r); },
                     index_.tags()[size_t(activeTag_)].expression);
}

// Under the write lock, with the file's count: whether the active tag, read again, lists
// every record once in the key order (a writer may have finished since we looked).
bool Table::indexSoundUnderLock()
{
    if (indexStale_)
        return false;
    syncIndexWithFile();
    if (activeTag_ < 0 || activeTag_ >= int(index_.tags().size()))
        return true;
    bool inKeyOrder = true;
    const std::vector<std::uint32_t> order = index_.readOrder(activeTag_, &inKeyOrder);
    const std::uint32_t count = dbf_.count();
    if (!inKeyOrder || order.size() != count)
        return false;
    std::vector<std::uint8_t> seen(std::size_t(count) + 1, 0);
    for (std::uint32_t r : order) {
        if (r == 0 || r > count || seen[r])
            return false;
        seen[r] = 1;
    }
    return true;
}

void Table::rebuildView(std::uint32_t keepRecno)
{
    const std::uint32_t count = dbf_.count();
    // With no filter on, the deleted mark alone decides.
    const bool tested = filtered_ && filter_;
    const std::vector<std::uint8_t> visible =
        tested ? filterPass(dbf_.record(1), dbf_.header().recordLength, count,
                            [this](const char *record, std::uint32_t recno) { return passes(record, recno); })
               : filterPass(dbf_.record(1), dbf_.header().recordLength, count,
                            [](const char *record, std::uint32_t) { return record[0] != kDeletedFlag; });
    std::vector<std::uint32_t> view = order_.takeStorage();
    bool rewrite = false;
    if (activeTag_ >= 0) {
        const std::vector<std::uint32_t> order = orderFromIndex(rewrite);
        view.reserve(order.size());
        for (std::uint32_t r : order)
            if (r >= 1 && r <= count && visible[r])
                view.push_back(r);
    } else {
        for (std::uint32_t r = 1; r <= count; ++r)
            if (visible[r])
                view.push_back(r);
    }
    order_.assign(std::move(view), keepRecno);
    // An index in byte order is written again in the key order when we may; where it
    // cannot be written, the order above still holds and the next open tries again.
    // Another program that added records meanwhile has put them in the index; then the
    // file is left to the next open.
    if (rewrite && writable_ && !bulk_ && state_ == State::Browse) {
        try {
            WriteGuard guard(dbf_.os());
            const std::uint32_t seen = dbf_.count();
            dbf_.rereadCount();
            if (dbf_.count() == seen && !indexSoundUnderLock())
                writeIndexFile(index_.tags());
            dbf_.setCount(seen);
        } catch (const DbError &) {
        }
    }
}

void Table::setFilterFunction(FilterFunction filter)
{
    filter_ = std::move(filter);
    if (filtered_ && isOpen()) {
        checkBrowseMode();
        rebuildView(recNo());
        notify();
    }
}

void Table::setFiltered(bool on)
{
    if (on == filtered_)
        return;
    filtered_ = on;
    if (isOpen()) {
        checkBrowseMode();
        rebuildView(recNo());
        notify();
    }
}

void Table::setIndexName(const QString &name)
{
    indexOptional_ = false;
    if (name.compare(indexName_, Qt::CaseInsensitive) == 0 && name.size() == indexName_.size())
        return;
    if (!isOpen()) {
        indexName_ = name;
        return;
    }
    checkBrowseMode();
    int tag = -1;
    if (!name.isEmpty()) {
        tag = index_.find(name);
        if (tag < 0)
            fail(QStringLiteral("The index tag \"%1\" does not exist for the table \"%2\".").arg(name, displayName()));
    }
    const std::uint32_t keep = recNo();
    indexName_ = name;
    setActiveTag(tag);
    rebuildView(keep);
    notify();
}

// ---------------------------------------------------------------- fields

QString Table::fieldName(int i) const { return QString::fromLatin1(codec_.field(i).name); }

int Table::fieldIndex(const QString &name) const { return codec_.indexOf(name); }

QString Table::textOf(const char *record, int i) const { return codec_.text(record, i); }

QString Table::fieldText(int i) const
{
    const char *rec = currentData();
    return rec ? textOf(rec, i) : QString();
}

QString Table::fieldText(const QString &name) const { return fieldText(requireField(name)); }

const char *Table::currentData() const
{
    if (state_ == State::Edit || state_ == State::Insert)
        return buffer_.constData();
    const std::uint32_t r = recNo();
    return r != 0 ? recordData(r) : nullptr;
}

double Table::fieldNumber(int i) const
{
    const char *rec = currentData();
    return rec ? codec_.number(rec, i) : 0.0;
}

QDate Table::fieldDate(int i) const
{
    const char *rec = currentData();
    return rec ? codec_.date(rec, i) : QDate();
}

// ---------------------------------------------------------------- navigation

void Table::notify()
{
    if (suspended_ > 0) {
        changedWhileSuspended_ = true;
        return;
    }
    Q_EMIT dataChanged();
}

void Table::checkBrowseMode()
{
    if (state_ == State::Edit || state_ == State::Insert)
        post();
}

void Table::setCurrent(std::size_t position)
{
    settlePending();
    if (!order_.moveTo(position)) {
        bof_ = eof_ = true;
        return;
    }
    if (suspended_ == 0)
        Q_EMIT currentChanged();
}

void Table::first()
{
    requireOpen("move to the first record");
    checkBrowseMode();
    setCurrent(0);
    bof_ = true;
    eof_ = order_.size() == 0;
}

void Table::last()
{
    requireOpen("move to the last record");
    checkBrowseMode();
    settlePending();
    setCurrent(order_.size() == 0 ? 0 : order_.size() - 1);
    eof_ = true;
    bof_ = order_.size() == 0;
}

void Table::next()
{
    requireOpen("move to the next record");
    checkBrowseMode();
    settlePending();
    if (order_.position() + 1 < order_.size()) {
        setCurrent(order_.position() + 1);
        bof_ = eof_ = false;
    } else {
        eof_ = true;
    }
}

void Table::prior()
{
    requireOpen("move to the prior record");
    checkBrowseMode();
    settlePending();
    if (order_.size() != 0 && order_.position() > 0) {
        setCurrent(order_.position() - 1);
        bof_ = eof_ = false;
    } else {
        bof_ = true;
    }
}

void Table::moveTo(int position)
{
    requireOpen("move");
    checkBrowseMode();
    setCurrent(std::size_t(std::max(position, 0)));
    bof_ = eof_ = order_.size() == 0;
}

std::uint32_t Table::recNo() const
{
    if (!isOpen() || state_ == State::Insert)
        return 0;
    return order_.current();
}

int Table::position() const
{
    if (!isOpen())
        return -1;
    settlePending();
    return order_.size() == 0 ? -1 : int(order_.position());
}

std::uint32_t Table::recNoAt(int position) const
{
    settlePending();
    if (position < 0 || std::size_t(position) >= order_.size())
        return 0;
    return order_.at(size_t(position));
}

std::vector<std::uint32_t> Table::orderIgnoringFilter() const
{
    std::vector<std::uint32_t> order;
    if (!isOpen())
        return order;
    if (!filtered_ || !filter_) {
        settlePending();
        order.reserve(order_.size());
        for (std::size_t p = 0; p < order_.size(); ++p)
            order.push_back(order_.at(p));
        return order;
    }
    const std::uint32_t count = dbf_.count();
    if (activeTag_ >= 0) {
        bool rewrite = false; // left to the next change of the order
        order = orderFromIndex(rewrite);
    } else {
        order.resize(count);
        std::iota(order.begin(), order.end(), 1u);
    }
    std::erase_if(order, [&](std::uint32_t r) { return r < 1 || r > count || recordData(r)[0] == kDeletedFlag; });
    return order;
}

QString Table::fieldTextAt(int position, int field) const
{
    const std::uint32_t r = recNoAt(position);
    return r == 0 ? QString() : textOf(recordData(r), field);
}

int Table::recordCount() const
{
    if (!isOpen())
        return 0;
    return int(order_.size());
}

std::uint32_t Table::deletedCount() const
{
    if (!isOpen())
        return 0;
    std::uint32_t n = 0;
    for (std::uint32_t r = 1; r <= dbf_.count(); ++r)
        n += recordData(r)[0] == kDeletedFlag;
    return n;
}

bool Table::locate(const QString &fieldName, const QString &value, Match match, bool caseSensitive, bool fromStart)
{
    requireOpen("locate a record");
    checkBrowseMode();
    const int field = requireField(fieldName);
    settlePending();
    if (order_.size() == 0)
        return false;
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (std::size_t p = fromStart ? 0 : order_.position() + 1; p < order_.size(); ++p) {
        const QString text = textOf(recordData(order_.at(p)), field);
        bool hit = false;
        switch (match) {
        case Match::Exact: hit = text.compare(value, cs) == 0; break;
        case Match::PartialAtStart: hit = text.startsWith(value, cs); break;
        case Match::PartialAnywhere: hit = text.contains(value, cs); break;
        }
        if (hit) {
            setCurrent(p);
            bof_ = eof_ = false;
            return true;
        }
    }
    return false;
}

void Table::refresh()
{
    if (!isOpen())
        return;
    // The file does not hold a bulk append's records yet; they are shown as they are.
    if (bulk_) {
        notify();
        return;
    }
    checkBrowseMode();
    const std::uint32_t keep = recNo();
    dbf_.rereadCount();
    dbf_.remap();
    syncIndexWithFile();
    rebuildView(keep);
    notify();
}

void Table::suspendDisplay() { ++suspended_; }

void Table::resumeDisplay()
{
    if (suspended_ > 0 && --suspended_ == 0 && changedWhileSuspended_) {
        changedWhileSuspended_ = false;
        Q_EMIT dataChanged();
    }
}

} // namespace kv
