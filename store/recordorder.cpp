#include "store/recordorder.h"

#include <algorithm>
#include <utility>

namespace kv {

std::vector<std::uint32_t> RecordOrder::takeStorage()
{
    std::vector<std::uint32_t> storage = std::move(view_);
    storage.clear();
    view_.clear();
    return storage;
}

void RecordOrder::assign(std::vector<std::uint32_t> order, std::uint32_t keep)
{
    view_ = std::move(order);
    pending_.clear();
    std::size_t position = 0;
    if (keep != 0) {
        const auto it = std::find(view_.begin(), view_.end(), keep);
        position = it != view_.end() ? std::size_t(it - view_.begin()) : std::min(pos_, view_.size());
    }
    pos_ = std::min(position, view_.empty() ? 0 : view_.size() - 1);
    currentRecno_ = view_.empty() ? 0 : view_[pos_];
    positionKnown_ = true;
}

void RecordOrder::clear()
{
    view_.clear();
    pending_.clear();
    pos_ = 0;
    currentRecno_ = 0;
    positionKnown_ = true;
}

std::size_t RecordOrder::insertPosition(std::uint32_t recno) const
{
    std::size_t lo = 0, hi = view_.size();
    while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        if (less_(view_[mid], recno))
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

void RecordOrder::settle()
{
    if (!pending_.empty()) {
        // Appended records join the order in one merge.
        std::vector<std::pair<std::size_t, std::uint32_t>> places;
        places.reserve(pending_.size());
        for (std::uint32_t r : pending_)
            places.emplace_back(insertPosition(r), r);
        std::sort(places.begin(), places.end(), [&](const auto &a, const auto &b) {
            if (a.first != b.first)
                return a.first < b.first;
            return less_(a.second, b.second);
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
            if (less_)
                at = insertPosition(currentRecno_);
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

bool RecordOrder::moveTo(std::size_t position)
{
    if (view_.empty()) {
        pos_ = 0;
        currentRecno_ = 0;
        return false;
    }
    pos_ = std::min(position, view_.size() - 1);
    currentRecno_ = view_[pos_];
    return true;
}

std::uint32_t RecordOrder::current() const
{
    if (!positionKnown_ || !pending_.empty())
        return currentRecno_;
    return view_.empty() ? 0 : view_[pos_];
}

void RecordOrder::appended(std::uint32_t recno)
{
    if (less_) {
        pending_.push_back(recno);
        positionKnown_ = false;
    } else {
        settle();
        view_.push_back(recno);
        pos_ = view_.size() - 1;
    }
    currentRecno_ = recno;
}

std::size_t RecordOrder::removeCurrent()
{
    view_.erase(view_.begin() + std::ptrdiff_t(pos_));
    return pos_;
}

std::size_t RecordOrder::replaceCurrent(std::uint32_t recno)
{
    view_.erase(view_.begin() + std::ptrdiff_t(pos_));
    const std::size_t at = insertPosition(recno);
    view_.insert(view_.begin() + std::ptrdiff_t(at), recno);
    return at;
}

} // namespace kv
