#pragma once
// The quick filter of the main window: the master table narrowed, as the user types, to the
// records whose shown text fields contain every typed word. The folded text of the records
// is read once, in slices between events, and kept until the records or the shown fields
// change; each text is then sought on another thread, and a run for an older text is
// stopped. The search mode is left as it is: the narrowing holds beside it.
#include "app/workspace/workspace.h"
#include "search/quickfilter.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace kv {

class QuickFilter : public QObject {
    Q_OBJECT
public:
    explicit QuickFilter(Workspace &workspace, QObject *parent = nullptr);
    ~QuickFilter() override;

    // Returns at once; applied() follows when the master table shows the records. An empty
    // text shows every record again.
    void setText(const QString &text);
    QString text() const { return typed_; }
    // Reading the records or seeking a text.
    bool busy() const { return slicer_.isActive() || running_; }
    // The longest the event loop waited for a slice of reading since the last setText().
    qint64 longestSliceMs() const { return longestSlice_; }

Q_SIGNALS:
    // The narrowing for the current text is in force; count records are left.
    void applied(int count);

private:
    struct Run {
        std::atomic<bool> cancel{false};
    };
    void stopRun();
    bool textFresh() const;
    void readSlice();
    void startRun();
    void finish(std::uint64_t generation, const std::vector<std::uint32_t> &found);
    void narrow(Table::FilterFunction test);
    void forget();

    Workspace &ws_;
    QString typed_;
    std::shared_ptr<const QuickFilterText> text_;
    std::shared_ptr<QuickFilterText> reading_;
    std::uint32_t nextRecno_ = 0;
    std::uint32_t lastRecno_ = 0;
    QTimer slicer_;
    qint64 longestSlice_ = 0;
    bool stale_ = true;
    bool applying_ = false; // our own narrowing changes the table's view, not its records

    // The last result, for a text that narrows it.
    QString foundFor_;
    std::shared_ptr<const std::vector<std::uint32_t>> found_;
    std::shared_ptr<const QuickFilterText> foundIn_;

    std::shared_ptr<Run> run_;
    std::thread worker_;
    std::uint64_t generation_ = 0;
    bool running_ = false;
};

} // namespace kv
