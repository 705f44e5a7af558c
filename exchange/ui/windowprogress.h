#pragma once
// Progress of an import or export shown while it runs: the window repaints and takes
// its keys between records, so that the count moves and Escape or Cancel can stop it.
#include "exchange/progress.h"

#include <QElapsedTimer>
#include <functional>

namespace kv {

class WindowProgress : public ExchangeProgress {
public:
    // show gets the number done now and then, and once more at the end.
    explicit WindowProgress(std::function<void(qint64)> show) : show_(std::move(show)) { timer_.start(); }
    bool advance(qint64 done) override;
    // Shows the last number done.
    void finish() { show_(last_); }
    void cancel() { cancelled_ = true; }
    bool cancelled() const { return cancelled_; }

private:
    std::function<void(qint64)> show_;
    QElapsedTimer timer_;
    bool cancelled_ = false;
    qint64 last_ = 0;
};

} // namespace kv
