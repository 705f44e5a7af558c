#include "exchange/ui/windowprogress.h"

#include <QCoreApplication>

namespace kv {

namespace {
constexpr qint64 kRepaintMs = 40;
} // namespace

bool WindowProgress::advance(qint64 done)
{
    last_ = done;
    // Looking at the clock on every record would cost more than the record.
    if ((done & 63) == 0 && timer_.elapsed() >= kRepaintMs) {
        show_(done);
        QCoreApplication::processEvents();
        timer_.restart();
    }
    return !cancelled_;
}

} // namespace kv
