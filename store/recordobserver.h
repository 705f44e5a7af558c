#pragma once
// Told of each record a table writes, so that the change can be taken back later.
#include <cstddef>
#include <cstdint>

namespace kv {

class RecordObserver {
public:
    virtual ~RecordObserver() = default;
    // Record recno now holds after; before is what it held, null for a new record. Both
    // are length bytes, the deleted flag included, valid only during the call.
    virtual void recordWritten(std::uint32_t recno, const char *before, const char *after, std::size_t length) = 0;
};

} // namespace kv
