#include "app/workspace/quickfilter.h"

#include <QMetaObject>

namespace kv {

namespace {
// A slice of reading leaves the event loop free again after this long.
constexpr qint64 kSliceMs = 15;
constexpr std::uint32_t kRecordsBetweenClockReads = 2048;
} // namespace

QuickFilter::QuickFilter(Workspace &workspace, QObject *parent) : QObject(parent), ws_(workspace)
{
    slicer_.setInterval(0);
    connect(&slicer_, &QTimer::timeout, this, &QuickFilter::readSlice);
    connect(&ws_.master(), &Table::dataChanged, this, [this] {
        if (applying_)
            return;
        stale_ = true;
        if (slicer_.isActive()) // what was read may no longer hold: start again
            setText(typed_);
    });
    connect(&ws_, &Workspace::viewerChanged, this, [this] {
        stale_ = true;
        if (!typed_.trimmed().isEmpty())
            setText(typed_);
    });
    connect(&ws_, &Workspace::catalogueOpened, this, [this] {
        // Another file: the narrowing's record numbers mean nothing there.
        typed_.clear();
        forget();
        text_.reset();
        stale_ = true;
    });
}

QuickFilter::~QuickFilter() { stopRun(); }

void QuickFilter::stopRun()
{
    if (run_)
        run_->cancel = true;
    if (worker_.joinable())
        worker_.join();
    running_ = false;
    ++generation_;
}

bool QuickFilter::textFresh() const
{
    const Table &t = ws_.master();
    return !stale_ && text_ && text_->codepage == t.codepage() && text_->fields == shownTextFields(t) &&
           lastRecno_ == t.physicalCount();
}

void QuickFilter::setText(const QString &text)
{
    typed_ = text;
    longestSlice_ = 0;
    stopRun();
    slicer_.stop();
    if (typed_.trimmed().isEmpty() || !ws_.master().isOpen()) {
        forget();
        return;
    }
    if (textFresh()) {
        startRun();
        return;
    }
    const Table &t = ws_.master();
    reading_ = std::make_shared<QuickFilterText>();
    reading_->codepage = t.codepage();
    reading_->fields = shownTextFields(t);
    reading_->recnos.reserve(t.physicalCount());
    reading_->starts.reserve(std::size_t(t.physicalCount()) + 1);
    nextRecno_ = 1;
    lastRecno_ = t.physicalCount();
    stale_ = false;
    slicer_.start();
}

void QuickFilter::readSlice()
{
    QElapsedTimer clock;
    clock.start();
    const Table &t = ws_.master();
    if (!t.isOpen()) {
        slicer_.stop();
        return;
    }
    while (nextRecno_ <= lastRecno_ && clock.elapsed() < kSliceMs) {
        const std::uint32_t last = std::min(lastRecno_, nextRecno_ + kRecordsBetweenClockReads - 1);
        appendQuickFilterText(t, nextRecno_, last, *reading_);
        if (nextRecno_ == 1 && last > 0) {
            // Room for the rest as the first records measure it: the text grows without
            // being copied again in one long slice.
            const double perRecord = double(reading_->bytes.size()) / double(last);
            reading_->bytes.reserve(std::size_t(perRecord * 1.15 * double(lastRecno_)) + 4096);
        }
        nextRecno_ = last + 1;
    }
    longestSlice_ = std::max(longestSlice_, clock.elapsed());
    if (nextRecno_ <= lastRecno_)
        return;
    slicer_.stop();
    text_ = std::move(reading_);
    reading_.reset();
    startRun();
}

void QuickFilter::startRun()
{
    const std::shared_ptr<const QuickFilterText> text = text_;
    const QList<QByteArray> words = quickFilterWords(typed_, text->codepage);
    std::shared_ptr<const std::vector<std::uint32_t>> within;
    if (found_ && foundIn_ == text && narrowsQuickFilter(foundFor_, typed_))
        within = found_;
    run_ = std::make_shared<Run>();
    running_ = true;
    const std::uint64_t generation = generation_;
    worker_ = std::thread([this, run = run_, text, words, within, generation] {
        std::vector<std::uint32_t> found = matchQuickFilter(*text, words, within.get(), run->cancel);
        if (run->cancel)
            return;
        // The owner waits for this thread before it goes, so it is there to be posted to.
        QMetaObject::invokeMethod(
            this, [this, generation, found = std::move(found)] { finish(generation, found); },
            Qt::QueuedConnection);
    });
}

void QuickFilter::finish(std::uint64_t generation, const std::vector<std::uint32_t> &found)
{
    if (generation != generation_)
        return; // a newer text has taken over
    if (worker_.joinable())
        worker_.join();
    running_ = false;
    found_ = std::make_shared<const std::vector<std::uint32_t>>(found);
    foundIn_ = text_;
    foundFor_ = typed_;
    // Records added after the text was read are shown until the next run reads them.
    const std::uint32_t readUpTo = lastRecno_;
    auto keep = std::make_shared<std::vector<std::uint8_t>>(std::size_t(readUpTo) + 1, 0);
    for (std::uint32_t i : found)
        (*keep)[text_->recnos[i]] = 1;
    narrow([keep, readUpTo](const RecordRef &r) { return r.recNo() > readUpTo || (*keep)[r.recNo()] != 0; });
}

void QuickFilter::narrow(Table::FilterFunction test)
{
    applying_ = true;
    ws_.attempt([&] { ws_.search().setNarrowing(std::move(test)); });
    applying_ = false;
    ws_.announceCount();
    Q_EMIT applied(ws_.recordCount());
}

void QuickFilter::forget()
{
    found_.reset();
    foundIn_.reset();
    foundFor_.clear();
    if (ws_.search().narrowed())
        narrow({});
    else
        Q_EMIT applied(ws_.recordCount());
}

} // namespace kv
