#pragma once
// Told of each record a table writes, so that the change can be taken back later.
#include <QHashFunctions>

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

// A fingerprint of a record's bytes, to tell later whether the record still holds them.
inline std::size_t recordFingerprint(const char *record, std::size_t length)
{
    return qHashBits(record, length, 0x4b56u);
}

} // namespace kv
