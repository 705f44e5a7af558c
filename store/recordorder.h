#pragma once
// The active order of a table: the record numbers visible through the filter, in index
// order or in physical order, and the place of the current record in it. Appended
// records wait aside until the order is next needed, so that many appends stay cheap.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace kv {

// The filter pass: one sequential scan over count records of recordLength bytes from
// first on; entry r (1 ... count) tells whether visible(record bytes, r) holds.
template <typename Visible>
std::vector<std::uint8_t> filterPass(const char *first, std::size_t recordLength, std::uint32_t count,
                                     Visible &&visible)
{
    // The filter works on each record for a while: the records some places ahead are
    // fetched meanwhile, their start and the line after it. Far enough ahead that a pass
    // that only looks at the deleted mark does not wait for memory at every record.
    constexpr std::uint32_t kAhead = 16;
    std::vector<std::uint8_t> map(std::size_t(count) + 1, 0);
    const char *p = first;
    for (std::uint32_t r = 1; r <= count; ++r, p += recordLength) {
        if (r + kAhead <= count) {
            __builtin_prefetch(p + kAhead * recordLength);
            __builtin_prefetch(p + kAhead * recordLength + 64);
        }
        map[r] = visible(p, r) ? 1 : 0;
    }
    return map;
}

class RecordOrder {
public:
    // Whether record a comes before record b in the key order (equal keys by record
    // number); empty for physical order.
    using KeyLess = std::function<bool(std::uint32_t a, std::uint32_t b)>;
    void setKeyOrder(KeyLess less) { less_ = std::move(less); }

    // A new order; the record keep stays current where it is in it. The storage of
    // the old order can be taken first and filled again, which spares large allocations.
    std::vector<std::uint32_t> takeStorage();
    void assign(std::vector<std::uint32_t> order, std::uint32_t keep);
    void clear();

    // Records in the order, waiting ones included.
    std::size_t size() const { return view_.size() + pending_.size(); }
    // Of them, the records appended since the order was last settled.
    std::size_t waiting() const { return pending_.size(); }
    // Merges the waiting records and finds the current record's place again.
    void settle();
    // After settle(): the record at a place, the current place, and moving it (clamped;
    // false when the order is empty).
    std::uint32_t at(std::size_t position) const { return view_[position]; }
    std::size_t position() const { return pos_; }
    bool moveTo(std::size_t position);
    // The current record, also while records wait; 0 when there is none.
    std::uint32_t current() const;

    // A new visible record becomes the current one.
    void appended(std::uint32_t recno);
    // The current record leaves the order (the next one takes its place), or moves to
    // where its new key puts it; both return its place before moveTo().
    std::size_t removeCurrent();
    std::size_t replaceCurrent(std::uint32_t recno);

private:
    std::size_t insertPosition(std::uint32_t recno) const;

    KeyLess less_;
    std::vector<std::uint32_t> view_;
    std::vector<std::uint32_t> pending_;
    std::size_t pos_ = 0;
    std::uint32_t currentRecno_ = 0;
    bool positionKnown_ = true;
};

} // namespace kv
