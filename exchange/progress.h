#pragma once
// How long work on many records reports its way and learns that it should stop, and
// keeps the viewer from following the table meanwhile.
#include "store/table.h"

#include <QtGlobal>

namespace kv {

class ExchangeProgress {
public:
    virtual ~ExchangeProgress() = default;
    // Called after each record with the number done so far; false stops the work, which
    // keeps what it has written.
    virtual bool advance(qint64 done) = 0;
};

// The viewer does not follow the table until the end of the scope.
class SuspendedDisplay {
public:
    explicit SuspendedDisplay(Table &table) : t_(table) { t_.suspendDisplay(); }
    ~SuspendedDisplay() { t_.resumeDisplay(); }
    SuspendedDisplay(const SuspendedDisplay &) = delete;
    SuspendedDisplay &operator=(const SuspendedDisplay &) = delete;

private:
    Table &t_;
};

} // namespace kv
