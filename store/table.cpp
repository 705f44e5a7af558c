#include "table.h"

#include "store/index/mdx.h"
#include "store/mastertable.h"

#include "base/dateformat.h"
#include "base/numbertext.h"
#include "base/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <numeric>
#include <unistd.h>

namespace kv {

namespace {

constexpr std::uint8_t kDeletedFlag = '*';
constexpr std::uint8_t kLiveFlag = ' ';
constexpr char kEofMarker = 0x1A;
constexpr int kMaxKey = 128;

std::uint16_t u16(const unsigned char *p) { return std::uint16_t(p[0] | (p[1] << 8)); }
std::uint32_t u32(const unsigned char *p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}
void put16(unsigned char *p, std::uint32_t v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
void put32(unsigned char *p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = std::uint8_t(v >> (8 * i));
}

// Header bytes 1..3: the date of the last update, year counted from 1900.
void putToday(unsigned char *p)
{
    const QDate today = QDate::currentDate();
    p[0] = std::uint8_t(today.year() - 1900);
    p[1] = std::uint8_t(today.month());
    p[2] = std::uint8_t(today.day());
}

QString baseName(const QString &tableName)
{
    const qsizetype dot = tableName.indexOf(QLatin1Char('.'));
    return dot < 0 ? tableName : tableName.left(dot);
}

// Trimmed bounds of a space-padded field.
void trimmed(const char *p, int width, int &begin, int &end)
{
    begin = 0;
    end = width;
    while (begin < end && (p[begin] == ' ' || p[begin] == '\0'))
        ++begin;
    while (end > begin && (p[end - 1] == ' ' || p[end - 1] == '\0'))
        --end;
}

std::optional<double> parseStoredNumber(const char *p, int width)
{
    int b, e;
    trimmed(p, width, b, e);
    if (b >= e || p[b] == '*')
        return std::nullopt;
    char buf[64];
    const int n = std::min(e - b, 63);
    std::memcpy(buf, p + b, size_t(n));
    buf[n] = '\0';
    for (int i = 0; i < n; ++i)
        if (buf[i] == ',')
            buf[i] = '.';
    const char *first = buf[0] == '+' ? buf + 1 : buf;
    double value = 0;
    auto [ptr, ec] = std::from_chars(first, buf + n, value);
    if (ec != std::errc() || ptr != buf + n)
        return std::nullopt;
    return value;
}

// A number typed as text: optional sign, digits, optional point and digits, optional
// exponent; blanks around it are ignored.
std::optional<double> parseTypedNumber(const QString &text)
{
    const QByteArray t = text.trimmed().toLatin1();
    if (t.isEmpty())
        return std::nullopt;
    const char *first = t.constData();
    const char *last = first + t.size();
    if (*first == '+')
        ++first;
    double value = 0;
    auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString stripZeros(QByteArray text)
{
    if (text.contains('.')) {
        while (text.endsWith('0'))
            text.chop(1);
        if (text.endsWith('.'))
            text.chop(1);
    }
    if (text == "-0")
        text = "0";
    return QString::fromLatin1(text);
}

QDate storedDate(const char *p, int width)
{
    if (width != 8)
        return QDate();
    int v[8];
    for (int i = 0; i < 8; ++i) {
        if (p[i] < '0' || p[i] > '9')
            return QDate();
        v[i] = p[i] - '0';
    }
    return QDate(v[0] * 1000 + v[1] * 100 + v[2] * 10 + v[3], v[4] * 10 + v[5], v[6] * 10 + v[7]);
}

// Holds the lock that serialises writers for one change.
class WriteGuard {
public:
    explicit WriteGuard(OsFile &f) : f_(f) { f_.lockWrites(); }
    ~WriteGuard() { f_.unlockWrites(); }
private:
    OsFile &f_;
};

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

QString Table::mdxPath() const
{
    return mdxPathFor(filePath());
}

QString Table::displayName() const { return QDir::toNativeSeparators(filePath()); }

void Table::setExclusive(bool on)
{
    if (isOpen() && on != exclusive_) {
        // Giving up exclusive use of an open table keeps it open: the lock turns shared
        // in one step, so no other program can slip in between.
        if (on)
            fail(QStringLiteral("Cannot change the exclusive use of an open table."));
        file_.lockUse(OsFile::Lock::Shared);
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
    if (!writable_)
        fail(QStringLiteral("The table \"%1\" is read only.").arg(displayName()));
    if (!tagsProblem_.isEmpty())
        fail(tagsProblem_);
}

void Table::requireEditing() const
{
    if (state_ != State::Edit && state_ != State::Insert)
        fail(QStringLiteral("The table \"%1\" is not in edit or insert mode.").arg(tableName_));
}

// ---------------------------------------------------------------- open and close

void Table::open()
{
    if (isOpen())
        return;
    try {
        openFile();
        readHeader();
        mapRecords();
        loadIndex();
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

void Table::openFile()
{
    const QString path = filePath();
    if (!QFileInfo::exists(path))
        fail(QStringLiteral("The table \"%1\" does not exist.").arg(QDir::toNativeSeparators(path)));
    // Exclusive use needs a write lock, so the file is opened for writing whenever it can be.
    if (!file_.open(path, true) && !file_.open(path, false))
        fail(QStringLiteral("Cannot open the table \"%1\": %2.")
                 .arg(QDir::toNativeSeparators(path), file_.errorText()));
    writable_ = file_.writable() && !readOnly_;
    if (file_.lockUse(exclusive_ ? OsFile::Lock::Exclusive : OsFile::Lock::Shared) == OsFile::LockResult::Busy) {
        file_.close();
        fail(QStringLiteral("The table \"%1\" is in use by another program.").arg(QDir::toNativeSeparators(path)));
    }
}

void Table::readHeader()
{
    const QString notDbase =
        QStringLiteral("The file \"%1\" is not a dBASE table.").arg(displayName());
    const QString damaged = QStringLiteral("The table \"%1\" is damaged: %2.");
    const std::int64_t size = file_.size();
    unsigned char head[32];
    if (size < 32 || !file_.readAt(0, head, 32))
        fail(notDbase);
    version_ = head[0];
    if (version_ == 0x04 || version_ == 0x8C)
        fail(QStringLiteral("The table \"%1\" is a dBASE 7 table, which this program cannot read.").arg(displayName()));
    const bool known = (version_ & 0x07) == 0x03 || version_ == 0x02 || version_ == 0x30 || version_ == 0x31 ||
                       version_ == 0x32 || version_ == 0xF5 || version_ == 0xFB;
    if (!known)
        fail(notDbase);
    headerLength_ = u16(head + 8);
    recordLength_ = u16(head + 10);
    if (headerLength_ < 33 || recordLength_ < 2)
        fail(notDbase);
    if (headerLength_ > size)
        fail(damaged.arg(displayName(), QStringLiteral("its header is cut short")));
    ldid_ = head[29];
    codepage_ = codepageForLdid(ldid_);

    QByteArray desc(int(headerLength_ - 32), '\0');
    if (!file_.readAt(32, desc.data(), size_t(desc.size())))
        fail(damaged.arg(displayName(), QStringLiteral("its header cannot be read")));
    fields_.clear();
    int offset = 1;
    bool terminated = false;
    for (int at = 0; at + 32 <= desc.size() || (at < desc.size() && desc[at] == 0x0D); at += 32) {
        const auto *d = reinterpret_cast<const unsigned char *>(desc.constData() + at);
        if (d[0] == 0x0D) {
            terminated = true;
            break;
        }
        FieldLayout f;
        int nameLength = 0;
        while (nameLength < 11 && d[nameLength] != 0)
            ++nameLength;
        f.name = QByteArray(reinterpret_cast<const char *>(d), nameLength).trimmed();
        f.type = char(d[11]);
        f.width = d[16];
        f.decimals = d[17];
        if (f.type == 'C' && version_ != 0x03 && (version_ & 0x07) != 0x03)
            f.width += d[17] * 256; // FoxPro keeps long text widths in the decimals byte
        if (f.type == 'C')
            f.decimals = 0;
        f.offset = offset;
        if (f.width <= 0 || f.name.isEmpty())
            fail(damaged.arg(displayName(), QStringLiteral("field %1 has no name or width").arg(fields_.size() + 1)));
        offset += f.width;
        fields_.push_back(f);
    }
    if (!terminated && fields_.empty())
        fail(notDbase);
    if (fields_.empty())
        fail(damaged.arg(displayName(), QStringLiteral("it has no fields")));
    if (std::uint32_t(offset) > recordLength_)
        fail(damaged.arg(displayName(), QStringLiteral("its fields do not fit its record length")));

    // Trust only the records that are whole in the file.
    const std::uint32_t headerCount = u32(head + 4);
    const std::uint64_t whole = (std::uint64_t(size) - headerLength_) / recordLength_;
    recordCount_ = std::uint32_t(std::min<std::uint64_t>(headerCount, whole));

    display_.assign(fields_.size(), FieldDisplay());
    for (size_t i = 0; i < fields_.size(); ++i) {
        display_[i].title = QString::fromLatin1(fields_[i].name);
        display_[i].position = int(i);
        display_[i].width = fields_[i].width;
    }
}

void Table::mapRecords()
{
    const std::int64_t needed = std::int64_t(headerLength_) + std::int64_t(recordCount_) * recordLength_;
    data_ = file_.map(std::max<std::int64_t>(needed, 1));
    if (!data_)
        fail(QStringLiteral("Cannot read the table \"%1\".").arg(displayName()));
}

const char *Table::recordData(std::uint32_t recno) const
{
    // Records of a bulk append wait in memory until their batch is written.
    if (recno >= bulkFirst_ && !bulkPending_.isEmpty())
        return bulkPending_.constData() + std::size_t(recno - bulkFirst_) * recordLength_;
    return data_ + headerLength_ + std::size_t(recno - 1) * recordLength_;
}

void Table::loadIndex()
{
    closeIndex();
    unsigned char flag = 0;
    file_.readAt(28, &flag, 1);
    const QString path = mdxPath();
    if (flag != 0 && QFileInfo::exists(path)) {
        mdx_ = std::make_unique<MdxFile>();
        mdx_->open(path, writable_ || exclusive_);
        try {
            tags_ = parseTags();
        } catch (const DbError &e) {
            tagsProblem_ = e.message();
        }
    }
    if (!indexName_.isEmpty()) {
        activeTag_ = mdx_ ? mdx_->findTag(indexName_.toLatin1()) : -1;
        if (activeTag_ < 0)
            fail(QStringLiteral("The index tag \"%1\" does not exist for the table \"%2\".")
                     .arg(indexName_, displayName()));
    }
}

void Table::closeIndex()
{
    mdx_.reset();
    mdxProbe_.close();
    mdxStamp_ = {};
    tags_.clear();
    tagsProblem_.clear();
    activeTag_ = -1;
}

std::vector<Table::Tag> Table::parseTags() const
{
    std::vector<Tag> tags;
    if (!mdx_)
        return tags;
    for (int i = 0; i < mdx_->tagCount(); ++i) {
        const MdxTagInfo &info = mdx_->tag(i);
        try {
            tags.push_back({QString::fromLatin1(info.name),
                            KeyExpression::parse(QString::fromLatin1(info.expression), fields_, upperTable(codepage_))});
        } catch (const DbError &e) {
            fail(QStringLiteral("The index tag \"%1\" of \"%2\" cannot be kept up to date by this program (%3).")
                     .arg(QString::fromLatin1(info.name), displayName(), e.message()));
        }
    }
    return tags;
}

void Table::close()
{
    if (state_ == State::Inactive)
        return;
    if (bulk_) {
        try {
            endBulkAppend();
        } catch (const DbError &) {
            // Only a failing disk refuses the few bytes of the count; closing must
            // still close. Whoever began the bulk append ends it first and hears of it.
        }
    }
    buffer_.clear();
    closeIndex();
    file_.close();
    data_ = nullptr;
    fields_.clear();
    display_.clear();
    view_.clear();
    pending_.clear();
    recordCount_ = 0;
    pos_ = 0;
    currentRecno_ = 0;
    positionKnown_ = true;
    bof_ = eof_ = true;
    state_ = State::Inactive;
    notify();
}

// ---------------------------------------------------------------- order and filter

bool Table::passes(const char *record, std::uint32_t recno) const
{
    if (std::uint8_t(record[0]) == kDeletedFlag)
        return false;
    if (filtered_ && filter_)
        return filter_(RecordRef(*this, record, recno));
    return true;
}

std::vector<std::uint8_t> Table::visibleMap() const
{
    std::vector<std::uint8_t> map(std::size_t(recordCount_) + 1, 0);
    const char *p = data_ + headerLength_;
    for (std::uint32_t r = 1; r <= recordCount_; ++r, p += recordLength_)
        map[r] = passes(p, r) ? 1 : 0;
    return map;
}

// Sorts record numbers by a key expression: returns the order and, when asked, the keys
// laid out in that order.
static std::vector<std::uint32_t> sortByKey(const Table &table, std::uint32_t count, const KeyExpression &expr,
                                            std::vector<char> *sortedKeys)
{
    const int len = expr.keyLength();
    std::vector<char> keys(std::size_t(count) * std::size_t(len));
    for (std::uint32_t r = 1; r <= count; ++r)
        expr.evaluate(table.recordData(r), keys.data() + std::size_t(r - 1) * std::size_t(len));
    // Sort on the first eight key bytes as one number, the rest only on ties.
    struct Item {
        std::uint64_t prefix;
        std::uint32_t recno;
    };
    std::vector<Item> items(count);
    const int prefixLength = std::min(len, 8);
    for (std::uint32_t r = 1; r <= count; ++r) {
        const auto *k = reinterpret_cast<const unsigned char *>(keys.data() + std::size_t(r - 1) * std::size_t(len));
        std::uint64_t prefix = 0;
        for (int i = 0; i < 8; ++i)
            prefix = (prefix << 8) | (i < prefixLength ? k[i] : 0);
        items[r - 1] = {prefix, r};
    }
    const char *base = keys.data();
    std::sort(items.begin(), items.end(), [&](const Item &a, const Item &b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        if (len > 8) {
            const int c = std::memcmp(base + std::size_t(a.recno - 1) * std::size_t(len) + 8,
                                      base + std::size_t(b.recno - 1) * std::size_t(len) + 8, std::size_t(len - 8));
            if (c != 0)
                return c < 0;
        }
        return a.recno < b.recno;
    });
    std::vector<std::uint32_t> order(count);
    for (std::uint32_t i = 0; i < count; ++i)
        order[i] = items[i].recno;
    if (sortedKeys) {
        sortedKeys->resize(keys.size());
        for (std::uint32_t i = 0; i < count; ++i)
            std::memcpy(sortedKeys->data() + std::size_t(i) * std::size_t(len),
                        base + std::size_t(order[i] - 1) * std::size_t(len), std::size_t(len));
    }
    return order;
}

std::vector<std::uint32_t> Table::orderFromIndex() const
{
    std::vector<std::uint32_t> order = mdx_->readOrder(activeTag_);
    bool whole = order.size() == recordCount_;
    if (whole) {
        std::vector<std::uint8_t> seen(std::size_t(recordCount_) + 1, 0);
        for (std::uint32_t r : order) {
            if (r == 0 || r > recordCount_ || seen[r]) {
                whole = false;
                break;
            }
            seen[r] = 1;
        }
    }
    if (whole || activeTag_ >= int(tags_.size()))
        return order;
    // The index does not match the table (another program changed one without the other):
    // order the records from their keys, which is what the index should say.
    return sortByKey(*this, recordCount_, tags_[size_t(activeTag_)].expression, nullptr);
}

void Table::rebuildView(std::uint32_t keepRecno)
{
    const std::vector<std::uint8_t> visible = visibleMap();
    view_.clear();
    pending_.clear();
    if (activeTag_ >= 0) {
        const std::vector<std::uint32_t> order = orderFromIndex();
        view_.reserve(order.size());
        for (std::uint32_t r : order)
            if (r >= 1 && r <= recordCount_ && visible[r])
                view_.push_back(r);
    } else {
        for (std::uint32_t r = 1; r <= recordCount_; ++r)
            if (visible[r])
                view_.push_back(r);
    }
    std::size_t position = 0;
    if (keepRecno != 0) {
        const auto it = std::find(view_.begin(), view_.end(), keepRecno);
        position = it != view_.end() ? std::size_t(it - view_.begin()) : std::min(pos_, view_.size());
    }
    pos_ = std::min(position, view_.empty() ? 0 : view_.size() - 1);
    currentRecno_ = view_.empty() ? 0 : view_[pos_];
    positionKnown_ = true;
}

bool Table::keyLess(const char *a, std::uint32_t ra, const char *b, std::uint32_t rb) const
{
    const KeyExpression &e = tags_[size_t(activeTag_)].expression;
    char ka[kMaxKey], kb[kMaxKey];
    e.evaluate(a, ka);
    e.evaluate(b, kb);
    const int c = std::memcmp(ka, kb, size_t(e.keyLength()));
    return c != 0 ? c < 0 : ra < rb;
}

std::size_t Table::insertPosition(const char *record, std::uint32_t recno) const
{
    std::size_t lo = 0, hi = view_.size();
    while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        if (keyLess(recordData(view_[mid]), view_[mid], record, recno))
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

void Table::settlePending() const
{
    if (!pending_.empty()) {
        // Appended records join the order in one merge.
        std::vector<std::pair<std::size_t, std::uint32_t>> places;
        places.reserve(pending_.size());
        for (std::uint32_t r : pending_)
            places.emplace_back(insertPosition(recordData(r), r), r);
        std::sort(places.begin(), places.end(), [&](const auto &a, const auto &b) {
            if (a.first != b.first)
                return a.first < b.first;
            return keyLess(recordData(a.second), a.second, recordData(b.second), b.second);
        });
        std::vector<std::uint32_t> merged;
        merged.reserve(view_.size() + places.size());
        std::size_t from = 0;
        for (const auto &[at, r] : places) {
            merged.insert(merged.end(), view_.begin() + std::ptrdiff_t(from), view_.begin() + std::ptrdiff_t(at));
            merged.push_back(r);
            from = at;
        }
        merged.insert(merged.end(), view_.begin() + std::ptrdiff_t(from), view_.end());
        view_.swap(merged);
        pending_.clear();
    }
    if (!positionKnown_) {
        std::size_t at = view_.size();
        if (currentRecno_ != 0) {
            if (activeTag_ >= 0 && activeTag_ < int(tags_.size()))
                at = insertPosition(recordData(currentRecno_), currentRecno_);
            else
                at = std::size_t(std::lower_bound(view_.begin(), view_.end(), currentRecno_) - view_.begin());
        }
        if (at >= view_.size() || view_[at] != currentRecno_) {
            const auto it = std::find(view_.begin(), view_.end(), currentRecno_);
            at = it != view_.end() ? std::size_t(it - view_.begin()) : std::min(pos_, view_.size());
        }
        pos_ = view_.empty() ? 0 : std::min(at, view_.size() - 1);
        currentRecno_ = view_.empty() ? 0 : view_[pos_];
        positionKnown_ = true;
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
    if (name.compare(indexName_, Qt::CaseInsensitive) == 0 && name.size() == indexName_.size())
        return;
    if (!isOpen()) {
        indexName_ = name;
        return;
    }
    checkBrowseMode();
    int tag = -1;
    if (!name.isEmpty()) {
        tag = mdx_ ? mdx_->findTag(name.toLatin1()) : -1;
        if (tag < 0)
            fail(QStringLiteral("The index tag \"%1\" does not exist for the table \"%2\".").arg(name, displayName()));
    }
    const std::uint32_t keep = recNo();
    indexName_ = name;
    activeTag_ = tag;
    rebuildView(keep);
    notify();
}

// ---------------------------------------------------------------- fields

QString Table::fieldName(int i) const { return QString::fromLatin1(fields_.at(size_t(i)).name); }

int Table::fieldIndex(const QString &name) const
{
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (QString::fromLatin1(fields_[i].name).compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

QString Table::textOf(const char *record, int i) const
{
    const FieldLayout &f = fields_.at(size_t(i));
    const char *p = record + f.offset;
    switch (f.type) {
    case 'N':
    case 'F': {
        int b, e;
        trimmed(p, f.width, b, e);
        if (b >= e || p[b] == '*')
            return QString();
        const auto value = parseStoredNumber(p, f.width);
        if (!value)
            return decode(p + b, e - b, codepage_);
        bool plain = true;
        for (int k = b; k < e && plain; ++k)
            plain = (p[k] >= '0' && p[k] <= '9') || (k == b && p[k] == '-');
        if (plain)
            return QString::fromLatin1(p + b, e - b);
        return stripZeros(decimalText(*value, std::max(f.decimals, 0) + 0));
    }
    case 'D': {
        const QDate d = storedDate(p, f.width);
        if (d.isValid())
            return formatDate(d);
        int b, e;
        trimmed(p, f.width, b, e);
        return b >= e || QByteArray(p + b, e - b).count('0') == e - b ? QString() : decode(p + b, e - b, codepage_);
    }
    case 'L':
        switch (p[0]) {
        case 'T': case 't': case 'Y': case 'y': return QStringLiteral("True");
        case 'F': case 'f': case 'N': case 'n': return QStringLiteral("False");
        default: return QString();
        }
    case 'M':
        return QString();
    default: {
        int end = f.width;
        while (end > 0 && (p[end - 1] == ' ' || p[end - 1] == '\0'))
            --end;
        return decode(p, end, codepage_);
    }
    }
}

QString Table::fieldText(int i) const
{
    const char *rec = currentData();
    return rec ? textOf(rec, i) : QString();
}

QString Table::fieldText(const QString &name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        fail(QStringLiteral("Field \"%1\" not found in the table \"%2\".").arg(name, tableName_));
    return fieldText(i);
}

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
    if (!rec)
        return 0;
    const FieldLayout &f = fields_.at(size_t(i));
    return parseStoredNumber(rec + f.offset, f.width).value_or(0.0);
}

QDate Table::fieldDate(int i) const
{
    const char *rec = currentData();
    if (!rec)
        return QDate();
    const FieldLayout &f = fields_.at(size_t(i));
    return f.type == 'D' ? storedDate(rec + f.offset, f.width) : QDate();
}

void Table::writeNumber(char *record, int i, double value) const
{
    const FieldLayout &f = fields_.at(size_t(i));
    QByteArray text = decimalText(value, f.decimals);
    if (text.size() > f.width)
        fail(QStringLiteral("The value %1 does not fit the field %2, which holds %3 characters.")
                 .arg(QString::fromLatin1(text), QString::fromLatin1(f.name))
                 .arg(f.width));
    std::memset(record + f.offset, ' ', size_t(f.width - text.size()));
    std::memcpy(record + f.offset + f.width - text.size(), text.constData(), size_t(text.size()));
}

void Table::writeField(char *record, int i, const QString &text) const
{
    const FieldLayout &f = fields_.at(size_t(i));
    char *p = record + f.offset;
    const QString name = QString::fromLatin1(f.name);
    switch (f.type) {
    case 'N':
    case 'F': {
        if (text.trimmed().isEmpty()) {
            std::memset(p, ' ', size_t(f.width));
            return;
        }
        const auto value = parseTypedNumber(text);
        if (!value)
            fail(QStringLiteral("'%1' is not a valid number for the field %2.").arg(text.trimmed(), name));
        if (f.decimals == 0 && *value != std::trunc(*value))
            fail(QStringLiteral("'%1' is not a valid whole number for the field %2.").arg(text.trimmed(), name));
        writeNumber(record, i, *value);
        return;
    }
    case 'D': {
        const auto date = parseDate(text);
        if (!date)
            fail(QStringLiteral("'%1' is not a valid date for the field %2.").arg(text.trimmed(), name));
        if (date->isNull() || f.width != 8) {
            std::memset(p, ' ', size_t(f.width));
        } else {
            if (date->year() < 1 || date->year() > 9999)
                fail(QStringLiteral("'%1' is not a valid date for the field %2.").arg(text.trimmed(), name));
            const QByteArray digits = date->toString(QStringLiteral("yyyyMMdd")).toLatin1();
            std::memcpy(p, digits.constData(), 8);
        }
        return;
    }
    case 'L': {
        const QString t = text.trimmed().toUpper();
        if (t.isEmpty())
            p[0] = ' ';
        else if (t == QLatin1String("T") || t == QLatin1String("TRUE") || t == QLatin1String("Y") ||
                 t == QLatin1String("YES"))
            p[0] = 'T';
        else if (t == QLatin1String("F") || t == QLatin1String("FALSE") || t == QLatin1String("N") ||
                 t == QLatin1String("NO"))
            p[0] = 'F';
        else
            fail(QStringLiteral("'%1' is not a valid logical value for the field %2.").arg(text.trimmed(), name));
        return;
    }
    case 'C': {
        QByteArray bytes = encode(text, codepage_);
        while (bytes.endsWith(' '))
            bytes.chop(1);
        if (bytes.size() > f.width)
            fail(QStringLiteral("The text for the field %1 is %2 characters long; the field holds %3.")
                     .arg(name)
                     .arg(bytes.size())
                     .arg(f.width));
        std::memcpy(p, bytes.constData(), size_t(bytes.size()));
        std::memset(p + bytes.size(), ' ', size_t(f.width - bytes.size()));
        return;
    }
    default:
        fail(QStringLiteral("The field %1 has a type (%2) this program cannot write.").arg(name, QChar::fromLatin1(f.type)));
    }
}

void Table::setFieldText(int i, const QString &text)
{
    requireEditing();
    writeField(buffer_.data(), i, text);
}

void Table::copyField(int i, const Table &source, int sourceField)
{
    requireEditing();
    const FieldLayout &to = fields_.at(size_t(i));
    const FieldLayout &from = source.fieldLayout(sourceField);
    const char *rec = source.currentData();
    if (rec && to.type == 'C' && from.type == 'C' && to.width == from.width && codepage_ == source.codepage_) {
        char *p = buffer_.data() + to.offset;
        std::memcpy(p, rec + from.offset, size_t(to.width));
        // Trailing NULs read as blanks, so they are written as blanks.
        if (std::memchr(p, '\0', size_t(to.width))) {
            for (int k = to.width; k > 0 && (p[k - 1] == ' ' || p[k - 1] == '\0'); --k)
                p[k - 1] = ' ';
        }
        return;
    }
    writeField(buffer_.data(), i, rec ? source.textOf(rec, sourceField) : QString());
}

void Table::setFieldText(const QString &name, const QString &text)
{
    requireEditing();
    const int i = fieldIndex(name);
    if (i < 0)
        fail(QStringLiteral("Field \"%1\" not found in the table \"%2\".").arg(name, tableName_));
    writeField(buffer_.data(), i, text);
}

void Table::setFieldNumber(int i, double value)
{
    requireEditing();
    const FieldLayout &f = fields_.at(size_t(i));
    if (f.type != 'N' && f.type != 'F')
        fail(QStringLiteral("The field %1 is not a number field.").arg(QString::fromLatin1(f.name)));
    writeNumber(buffer_.data(), i, value);
}

void Table::setFieldDate(int i, const QDate &date)
{
    requireEditing();
    const FieldLayout &f = fields_.at(size_t(i));
    if (f.type != 'D')
        fail(QStringLiteral("The field %1 is not a date field.").arg(QString::fromLatin1(f.name)));
    char *p = buffer_.data() + f.offset;
    if (!date.isValid())
        std::memset(p, ' ', 8);
    else
        std::memcpy(p, date.toString(QStringLiteral("yyyyMMdd")).toLatin1().constData(), 8);
}

void Table::clearField(int i)
{
    requireEditing();
    const FieldLayout &f = fields_.at(size_t(i));
    std::memset(buffer_.data() + f.offset, ' ', size_t(f.width));
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
    if (view_.empty()) {
        pos_ = 0;
        currentRecno_ = 0;
        bof_ = eof_ = true;
        return;
    }
    pos_ = std::min(position, view_.size() - 1);
    currentRecno_ = view_[pos_];
    if (suspended_ == 0)
        Q_EMIT currentChanged();
}

void Table::first()
{
    requireOpen("move to the first record");
    checkBrowseMode();
    setCurrent(0);
    bof_ = true;
    eof_ = view_.empty();
}

void Table::last()
{
    requireOpen("move to the last record");
    checkBrowseMode();
    settlePending();
    setCurrent(view_.empty() ? 0 : view_.size() - 1);
    eof_ = true;
    bof_ = view_.empty();
}

void Table::next()
{
    requireOpen("move to the next record");
    checkBrowseMode();
    settlePending();
    if (!view_.empty() && pos_ + 1 < view_.size()) {
        setCurrent(pos_ + 1);
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
    if (!view_.empty() && pos_ > 0) {
        setCurrent(pos_ - 1);
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
    bof_ = eof_ = view_.empty();
}

std::uint32_t Table::recNo() const
{
    if (!isOpen())
        return 0;
    if (state_ == State::Insert)
        return 0;
    if (!positionKnown_ || !pending_.empty())
        return currentRecno_;
    return view_.empty() ? 0 : view_[pos_];
}

int Table::position() const
{
    if (!isOpen())
        return -1;
    settlePending();
    return view_.empty() ? -1 : int(pos_);
}

std::uint32_t Table::recNoAt(int position) const
{
    settlePending();
    if (position < 0 || std::size_t(position) >= view_.size())
        return 0;
    return view_[size_t(position)];
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
    return int(view_.size() + pending_.size());
}

std::uint32_t Table::deletedCount() const
{
    if (!isOpen())
        return 0;
    std::uint32_t n = 0;
    const char *p = data_ + headerLength_;
    for (std::uint32_t r = 0; r < recordCount_; ++r, p += recordLength_)
        n += std::uint8_t(*p) == kDeletedFlag;
    return n;
}

bool Table::locate(const QString &fieldName, const QString &value, Match match, bool caseSensitive, bool fromStart)
{
    requireOpen("locate a record");
    checkBrowseMode();
    const int field = fieldIndex(fieldName);
    if (field < 0)
        fail(QStringLiteral("Field \"%1\" not found in the table \"%2\".").arg(fieldName, tableName_));
    settlePending();
    if (view_.empty())
        return false;
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (std::size_t p = fromStart ? 0 : pos_ + 1; p < view_.size(); ++p) {
        const QString text = textOf(recordData(view_[p]), field);
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
    unsigned char head[8];
    if (file_.readAt(0, head, 8)) {
        const std::int64_t size = file_.size();
        const std::uint64_t whole = size > headerLength_ ? (std::uint64_t(size) - headerLength_) / recordLength_ : 0;
        recordCount_ = std::uint32_t(std::min<std::uint64_t>(u32(head + 4), whole));
        mapRecords();
    }
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

// ---------------------------------------------------------------- changing records

void Table::append()
{
    requireWritable();
    checkBrowseMode();
    buffer_ = QByteArray(int(recordLength_), ' ');
    editRecno_ = 0;
    state_ = State::Insert;
}

void Table::edit()
{
    requireWritable();
    if (bulk_)
        fail(QStringLiteral("Cannot change a record of the table \"%1\" while records are being added.").arg(displayName()));
    if (state_ == State::Edit || state_ == State::Insert)
        return;
    const std::uint32_t r = recNo();
    if (r == 0)
        fail(QStringLiteral("There is no record to edit in the table \"%1\".").arg(tableName_));
    buffer_ = QByteArray(recordData(r), int(recordLength_));
    editRecno_ = r;
    state_ = State::Edit;
}

void Table::cancel()
{
    if (state_ != State::Edit && state_ != State::Insert)
        return;
    buffer_.clear();
    state_ = State::Browse;
}

void Table::rereadHeaderCount()
{
    // Another program sharing the table may have appended since we looked.
    unsigned char count[4];
    if (file_.readAt(4, count, 4)) {
        const std::uint64_t whole = (std::uint64_t(file_.size()) - headerLength_) / recordLength_;
        recordCount_ = std::uint32_t(std::min<std::uint64_t>(u32(count), whole));
    }
}

void Table::writeRecords(std::uint32_t first, const QByteArray &records)
{
    // The records are written whole, with the end mark after them, before the header
    // counts them; a failed write leaves the file as it was.
    const std::int64_t offset = std::int64_t(headerLength_) + std::int64_t(first - 1) * recordLength_;
    writeBuffer_.resize(records.size() + 1);
    std::memcpy(writeBuffer_.data(), records.constData(), size_t(records.size()));
    writeBuffer_[records.size()] = kEofMarker;
    if (!file_.writeAt(offset, writeBuffer_.constData(), size_t(writeBuffer_.size()))) {
        const QString why = file_.errorText();
        file_.truncate(offset);
        file_.writeAt(offset, &kEofMarker, 1);
        fail(QStringLiteral("Cannot add the record to the table \"%1\": %2.").arg(displayName(), why));
    }
}

void Table::flushBulk()
{
    if (bulkPending_.isEmpty())
        return;
    const QByteArray batch = std::move(bulkPending_);
    bulkPending_ = QByteArray();
    bulkPending_.reserve(kBulkBatchBytes + qsizetype(recordLength_));
    try {
        writeRecords(bulkFirst_, batch);
    } catch (const DbError &) {
        // The batch is not in the file: it leaves the count, the index and the order.
        recordCount_ = bulkFirst_ - 1;
        std::erase_if(bulkAdded_, [&](std::uint32_t r) { return r >= bulkFirst_; });
        rebuildView(0);
        throw;
    }
    mapRecords();
}

void Table::beginBulkAppend()
{
    requireWritable();
    if (bulk_)
        return;
    file_.lockWrites();
    syncIndexWithFile();
    rereadHeaderCount();
    bulk_ = true;
    bulkAdded_.clear();
    bulkPending_.clear();
    bulkPending_.reserve(kBulkBatchBytes + qsizetype(recordLength_));
}

void Table::endBulkAppend()
{
    if (!bulk_)
        return;
    if (state_ == State::Insert)
        cancel();
    struct Unlock {
        OsFile &f;
        ~Unlock() { f.unlockWrites(); }
    } unlock{file_};
    try {
        flushBulk();
    } catch (const DbError &) {
        bulk_ = false;
        bulkPending_ = QByteArray();
        writeHeaderCount(recordCount_);
        throw;
    }
    bulk_ = false;
    bulkPending_ = QByteArray();
    const std::vector<std::uint32_t> added = std::move(bulkAdded_);
    bulkAdded_.clear();
    writeHeaderCount(recordCount_);
    if (added.empty() || !mdx_)
        return;
    // Many new keys go faster into a freshly written index than one by one.
    if (added.size() > 2000 && tagsProblem_.isEmpty()) {
        const std::vector<Tag> tags = tags_;
        writeIndexFile(tags);
    } else {
        for (std::uint32_t recno : added)
            for (size_t t = 0; t < tags_.size(); ++t)
                mdx_->insert(int(t), tags_[t].expression.evaluate(recordData(recno)).constData(), recno);
    }
    if (mdxProbe_.isOpen())
        mdxStamp_ = mdxProbe_.stamp();
}

void Table::writeHeaderCount(std::uint32_t count)
{
    unsigned char bytes[7];
    putToday(bytes);
    put32(bytes + 3, count);
    if (!file_.writeAt(1, bytes, 7))
        fail(QStringLiteral("Cannot write to the table \"%1\": %2.").arg(displayName(), file_.errorText()));
}

// Another program sharing the table may have changed the index since we last wrote it.
void Table::syncIndexWithFile()
{
    if (!mdx_)
        return;
    if (!mdxProbe_.isOpen() && !mdxProbe_.open(mdxPath(), false))
        return;
    const OsFile::Stamp now = mdxProbe_.stamp();
    if (mdxStamp_.size < 0) {
        mdxStamp_ = now;
        return;
    }
    if (now == mdxStamp_)
        return;
    mdx_->close();
    mdx_->open(mdxPath(), writable_ || exclusive_);
    if (!indexName_.isEmpty())
        activeTag_ = mdx_->findTag(indexName_.toLatin1());
    mdxStamp_ = now;
}

void Table::post()
{
    if (state_ != State::Edit && state_ != State::Insert)
        return;
    requireWritable();
    const std::uint32_t keep = recNo();
    Q_UNUSED(keep);
    std::uint32_t recno = 0;
    bool keyChanged = false;
    {
        // In a bulk append the write lock is held from its beginning.
        std::optional<WriteGuard> guard;
        if (!bulk_) {
            guard.emplace(file_);
            syncIndexWithFile();
        }
        if (state_ == State::Insert) {
            buffer_[0] = char(kLiveFlag);
            if (bulk_) {
                recno = recordCount_ + 1;
                if (bulkPending_.isEmpty())
                    bulkFirst_ = recno;
                bulkPending_.append(buffer_);
                recordCount_ = recno;
                if (!tags_.empty())
                    bulkAdded_.push_back(recno);
                if (bulkPending_.size() >= kBulkBatchBytes)
                    flushBulk();
            } else {
                rereadHeaderCount();
                recno = recordCount_ + 1;
                writeRecords(recno, buffer_);
                recordCount_ = recno;
                mapRecords();
                writeHeaderCount(recno);
                for (size_t t = 0; t < tags_.size(); ++t)
                    mdx_->insert(int(t), tags_[t].expression.evaluate(recordData(recno)).constData(), recno);
            }
        } else {
            recno = editRecno_;
            const QByteArray old(recordData(recno), int(recordLength_));
            const std::int64_t offset = std::int64_t(headerLength_) + std::int64_t(recno - 1) * recordLength_;
            if (!file_.writeAt(offset, buffer_.constData(), size_t(buffer_.size())))
                fail(QStringLiteral("Cannot save the record in the table \"%1\": %2.")
                         .arg(displayName(), file_.errorText()));
            writeHeaderCount(recordCount_);
            for (size_t t = 0; t < tags_.size(); ++t) {
                const QByteArray before = tags_[t].expression.evaluate(old.constData());
                const QByteArray after = tags_[t].expression.evaluate(recordData(recno));
                if (before != after) {
                    mdx_->remove(int(t), before.constData(), recno);
                    mdx_->insert(int(t), after.constData(), recno);
                    keyChanged = keyChanged || int(t) == activeTag_;
                }
            }
        }
        if (mdx_ && mdxProbe_.isOpen())
            mdxStamp_ = mdxProbe_.stamp();
    }
    const bool inserted = state_ == State::Insert;
    buffer_.clear();
    state_ = State::Browse;
    const bool visible = passes(recordData(recno), recno);
    if (inserted) {
        if (visible) {
            if (activeTag_ >= 0 && activeTag_ < int(tags_.size())) {
                pending_.push_back(recno);
                positionKnown_ = false;
            } else {
                settlePending();
                view_.push_back(recno);
                pos_ = view_.size() - 1;
            }
            currentRecno_ = recno;
            bof_ = eof_ = false;
        }
    } else {
        settlePending();
        if (!visible) {
            view_.erase(view_.begin() + std::ptrdiff_t(pos_));
            setCurrent(pos_);
        } else if (keyChanged) {
            view_.erase(view_.begin() + std::ptrdiff_t(pos_));
            const std::size_t at = insertPosition(recordData(recno), recno);
            view_.insert(view_.begin() + std::ptrdiff_t(at), recno);
            setCurrent(at);
        }
    }
    notify();
}

void Table::deleteRecord()
{
    requireWritable();
    if (bulk_)
        fail(QStringLiteral("Cannot delete a record of the table \"%1\" while records are being added.").arg(displayName()));
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    cancel();
    settlePending();
    const std::uint32_t r = recNo();
    if (r == 0)
        fail(QStringLiteral("There is no record to delete in the table \"%1\".").arg(tableName_));
    const char flag = char(kDeletedFlag);
    const std::int64_t offset = std::int64_t(headerLength_) + std::int64_t(r - 1) * recordLength_;
    {
        WriteGuard guard(file_);
        if (!file_.writeAt(offset, &flag, 1))
            fail(QStringLiteral("Cannot delete the record in the table \"%1\": %2.").arg(displayName(), file_.errorText()));
        writeHeaderCount(recordCount_);
    }
    view_.erase(view_.begin() + std::ptrdiff_t(pos_));
    setCurrent(pos_);
    if (view_.empty())
        bof_ = eof_ = true;
    notify();
}

// ---------------------------------------------------------------- creating

void Table::clearFieldDefs() { fieldDefs_.clear(); }
void Table::clearIndexDefs() {}

void Table::addFieldDef(const QString &name, FieldKind kind, int size, bool required)
{
    Q_UNUSED(required); // dBASE tables know no required fields
    switch (kind) {
    case FieldKind::Text: addFieldDef(name, 'C', size, 0); break;
    case FieldKind::Integer: addFieldDef(name, 'N', 11, 0); break;
    case FieldKind::Real: addFieldDef(name, 'N', 20, 4); break;
    case FieldKind::Date: addFieldDef(name, 'D', 8, 0); break;
    }
}

void Table::addFieldDef(const QString &name, char type, int width, int decimals)
{
    const QString upper = name.trimmed().toUpper();
    bool ok = !upper.isEmpty() && upper.size() <= 10 && upper.at(0).isLetter() && upper.at(0).unicode() < 128;
    for (QChar c : upper)
        ok = ok && c.unicode() < 128 && (c.isLetterOrNumber() || c == QLatin1Char('_'));
    if (!ok)
        fail(QStringLiteral("\"%1\" is not a valid dBASE field name.").arg(name));
    for (const FieldDef &d : fieldDefs_)
        if (d.name == upper)
            fail(QStringLiteral("The field name \"%1\" is used twice.").arg(name));
    bool sizeOk = false;
    switch (type) {
    case 'C': sizeOk = width >= 1 && width <= 254 && decimals == 0; break;
    case 'N': case 'F': sizeOk = width >= 1 && width <= 20 && decimals >= 0 && (decimals == 0 || decimals <= width - 2); break;
    case 'D': sizeOk = width == 8 && decimals == 0; break;
    case 'L': sizeOk = width == 1 && decimals == 0; break;
    default: fail(QStringLiteral("The field type '%1' of \"%2\" is not supported.").arg(QChar::fromLatin1(type), name));
    }
    if (!sizeOk)
        fail(QStringLiteral("The field \"%1\" has an invalid size.").arg(name));
    fieldDefs_.push_back({upper, type, width, decimals});
}

void Table::createTable()
{
    if (isOpen())
        fail(QStringLiteral("Cannot create the table \"%1\" while it is open.").arg(tableName_));
    if (fieldDefs_.empty())
        fail(QStringLiteral("Cannot create the table \"%1\" without fields.").arg(tableName_));
    if (fieldDefs_.size() > 255)
        fail(QStringLiteral("A dBASE table holds at most 255 fields."));
    const QString path = filePath();
    const QString native = QDir::toNativeSeparators(path);

    // Nobody may have the old file open while it is replaced.
    OsFile old;
    if (QFileInfo::exists(path)) {
        if (!old.open(path, true) && !old.open(path, false))
            fail(QStringLiteral("Cannot replace the table \"%1\": %2.").arg(native, old.errorText()));
        if (old.lockUse(OsFile::Lock::Exclusive) == OsFile::LockResult::Busy)
            fail(QStringLiteral("The table \"%1\" is in use by another program.").arg(native));
    }

    const int n = int(fieldDefs_.size());
    const int headerLength = 32 + 32 * n + 1;
    int recordLength = 1;
    for (const FieldDef &d : fieldDefs_)
        recordLength += d.width;
    if (recordLength > 65535)
        fail(QStringLiteral("The records of the table \"%1\" would be too long.").arg(native));
    QByteArray bytes(headerLength + 1, '\0');
    auto *h = reinterpret_cast<unsigned char *>(bytes.data());
    h[0] = 0x03;
    putToday(h + 1);
    put32(h + 4, 0);
    put16(h + 8, std::uint32_t(headerLength));
    put16(h + 10, std::uint32_t(recordLength));
    h[29] = kLdidWindowsAnsi;
    for (int i = 0; i < n; ++i) {
        unsigned char *d = h + 32 + 32 * i;
        const QByteArray name = fieldDefs_[size_t(i)].name.toLatin1();
        std::memcpy(d, name.constData(), size_t(name.size()));
        d[11] = std::uint8_t(fieldDefs_[size_t(i)].type);
        d[16] = std::uint8_t(fieldDefs_[size_t(i)].width);
        d[17] = std::uint8_t(fieldDefs_[size_t(i)].decimals);
    }
    h[headerLength - 1] = 0x0D;
    h[headerLength] = std::uint8_t(kEofMarker);

    const QString temp = path + QStringLiteral(".new-%1").arg(::getpid());
    {
        OsFile out;
        QFile::remove(temp);
        if (!out.open(temp, true, true) || !out.writeAt(0, bytes.constData(), size_t(bytes.size())) || !out.sync()) {
            const QString why = out.errorText();
            out.close();
            QFile::remove(temp);
            fail(QStringLiteral("Cannot create the table \"%1\": %2.").arg(native, why));
        }
    }
    if (::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) != 0) {
        const QString why = systemError(errno);
        QFile::remove(temp);
        fail(QStringLiteral("Cannot create the table \"%1\": %2.").arg(native, why));
    }
    // The new table has no index; an old production index belongs to the old table.
    const QString mdx = mdxPath();
    if (QFileInfo::exists(mdx))
        QFile::remove(mdx);
}

// ---------------------------------------------------------------- index tags and maintenance

template <typename F> void Table::withExclusiveUse(const char *operation, F &&work)
{
    if (isOpen()) {
        if (!exclusive_)
            fail(QStringLiteral("Cannot %1: it needs exclusive use of the table \"%2\".")
                     .arg(QLatin1String(operation), displayName()));
        if (!file_.writable())
            fail(QStringLiteral("Cannot %1: the table \"%2\" is read only.").arg(QLatin1String(operation), displayName()));
        checkBrowseMode();
        const std::uint32_t keep = recNo();
        work();
        rebuildView(keep);
        notify();
        return;
    }
    const bool wasExclusive = exclusive_;
    const QString wasIndex = indexName_;
    exclusive_ = true;
    indexName_.clear();
    try {
        open();
        if (!file_.writable())
            fail(QStringLiteral("Cannot %1: the table \"%2\" is read only.").arg(QLatin1String(operation), displayName()));
        work();
    } catch (...) {
        close();
        exclusive_ = wasExclusive;
        indexName_ = wasIndex;
        throw;
    }
    close();
    exclusive_ = wasExclusive;
    indexName_ = wasIndex;
}

QStringList Table::indexNames() const
{
    QStringList names;
    if (mdx_) {
        for (int i = 0; i < mdx_->tagCount(); ++i)
            names << QString::fromLatin1(mdx_->tag(i).name);
    }
    return names;
}

QString Table::indexExpression(const QString &name) const
{
    if (!mdx_)
        return QString();
    const int i = mdx_->findTag(name.toLatin1());
    return i < 0 ? QString() : QString::fromLatin1(mdx_->tag(i).expression);
}

void Table::setProductionFlag(bool on)
{
    const unsigned char flag = on ? 1 : 0;
    if (!file_.writeAt(28, &flag, 1))
        fail(QStringLiteral("Cannot write to the table \"%1\": %2.").arg(displayName(), file_.errorText()));
}

void Table::writeIndexFile(const std::vector<Tag> &tags)
{
    const QString oldPath = mdxPath();
    const QString base = baseName(QFileInfo(filePath()).fileName());
    const QString path = QFileInfo::exists(oldPath) ? oldPath : directory_ + base + QStringLiteral(".MDX");
    mdx_.reset();
    activeTag_ = -1;
    if (tags.empty()) {
        setProductionFlag(false);
        QFile::remove(path);
    } else {
        std::vector<std::vector<char>> keys(tags.size());
        std::vector<std::vector<std::uint32_t>> orders(tags.size());
        std::vector<MdxTagData> data(tags.size());
        for (size_t t = 0; t < tags.size(); ++t) {
            orders[t] = sortByKey(*this, recordCount_, tags[t].expression, &keys[t]);
            data[t].info.name = tags[t].name.toUpper().toLatin1();
            data[t].info.expression = tags[t].expression.text().toLatin1();
            data[t].info.keyLength = tags[t].expression.keyLength();
            data[t].info.keyType = 'C';
            data[t].keys = keys[t].data();
            data[t].recnos = orders[t].data();
            data[t].count = orders[t].size();
        }
        MdxFile::write(path, base.toUpper().toLatin1(), ldid_, data);
        setProductionFlag(true);
    }
    loadIndex();
    syncIndexWithFile();
}

void Table::addIndex(const QString &name, const QString &expression)
{
    const QString tagName = name.trimmed().toUpper();
    bool ok = !tagName.isEmpty() && tagName.size() <= 10 && tagName.at(0).isLetter();
    for (QChar c : tagName)
        ok = ok && c.unicode() < 128 && (c.isLetterOrNumber() || c == QLatin1Char('_'));
    if (!ok)
        fail(QStringLiteral("\"%1\" is not a valid index tag name.").arg(name));
    withExclusiveUse("add an index", [&] {
        if (!tagsProblem_.isEmpty())
            fail(tagsProblem_);
        std::vector<Tag> tags;
        for (const Tag &t : tags_)
            if (t.name.compare(tagName, Qt::CaseInsensitive) != 0)
                tags.push_back(t);
        tags.push_back({tagName, KeyExpression::parse(expression, fields_, upperTable(codepage_))});
        writeIndexFile(tags);
    });
}

void Table::deleteIndex(const QString &name)
{
    withExclusiveUse("delete an index", [&] {
        if (!mdx_ || mdx_->findTag(name.toLatin1()) < 0)
            fail(QStringLiteral("The index tag \"%1\" does not exist for the table \"%2\".").arg(name, displayName()));
        if (!tagsProblem_.isEmpty())
            fail(tagsProblem_);
        std::vector<Tag> tags;
        for (const Tag &t : tags_)
            if (t.name.compare(name, Qt::CaseInsensitive) != 0)
                tags.push_back(t);
        if (indexName_.compare(name, Qt::CaseInsensitive) == 0)
            indexName_.clear();
        writeIndexFile(tags);
    });
}

void Table::regenerateIndexes()
{
    withExclusiveUse("rebuild the indexes", [&] {
        if (!mdx_)
            return;
        if (!tagsProblem_.isEmpty())
            fail(tagsProblem_);
        const std::vector<Tag> tags = tags_;
        writeIndexFile(tags);
    });
}

void Table::pack()
{
    withExclusiveUse("pack the table", [&] {
        if (!tagsProblem_.isEmpty())
            fail(tagsProblem_);
        const std::vector<Tag> tags = tags_;
        const QString path = filePath();
        const QString temp = path + QStringLiteral(".pack-%1").arg(::getpid());
        QFile::remove(temp);
        OsFile out;
        if (!out.open(temp, true, true))
            fail(QStringLiteral("Cannot pack the table \"%1\": %2.").arg(displayName(), out.errorText()));
        out.lockUse(OsFile::Lock::Exclusive);
        auto abandon = [&](const QString &why) {
            out.close();
            QFile::remove(temp);
            fail(QStringLiteral("Cannot pack the table \"%1\": %2.").arg(displayName(), why));
        };
        QByteArray header(data_, int(headerLength_));
        std::uint32_t live = 0;
        const std::size_t chunk = std::max<std::size_t>(recordLength_, 4u << 20);
        std::string buffer;
        buffer.reserve(chunk + recordLength_);
        std::int64_t at = headerLength_;
        for (std::uint32_t r = 1; r <= recordCount_; ++r) {
            const char *rec = recordData(r);
            if (std::uint8_t(rec[0]) == kDeletedFlag)
                continue;
            buffer.append(rec, recordLength_);
            ++live;
            if (buffer.size() >= chunk) {
                if (!out.writeAt(at, buffer.data(), buffer.size()))
                    abandon(out.errorText());
                at += std::int64_t(buffer.size());
                buffer.clear();
            }
        }
        buffer.push_back(kEofMarker);
        if (!out.writeAt(at, buffer.data(), buffer.size()))
            abandon(out.errorText());
        auto *h = reinterpret_cast<unsigned char *>(header.data());
        putToday(h + 1);
        put32(h + 4, live);
        if (!out.writeAt(0, header.constData(), size_t(header.size())) || !out.sync())
            abandon(out.errorText());
        if (::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) != 0)
            abandon(systemError(errno));
        // The packed file is already locked for our exclusive use under its new name.
        file_ = std::move(out);
        recordCount_ = live;
        mapRecords();
        if (mdx_ || !tags.empty())
            writeIndexFile(tags);
    });
}

} // namespace kv
