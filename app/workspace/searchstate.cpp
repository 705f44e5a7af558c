#include "app/workspace/searchstate.h"

#include "search/recordtest.h"

namespace kv {

SearchState::SearchState(Table &master, QObject *parent) : QObject(parent), master_(master) {}

// One filter pass: a new routine while on, or the filter turned on.
void SearchState::install(Table::FilterFunction filter)
{
    filter_ = std::move(filter);
    const bool was = on_;
    on_ = true; // the combined test reads it
    master_.setFilterFunction(combined());
    master_.setFiltered(true);
    if (!was)
        Q_EMIT changed(true);
}

// The master table's filter: the search's test while it is on, and the narrowing.
Table::FilterFunction SearchState::combined() const
{
    if (!narrowing_)
        return filter_;
    return [search = on_ ? filter_ : Table::FilterFunction(), narrow = narrowing_](const RecordRef &r) {
        return (!search || search(r)) && narrow(r);
    };
}

void SearchState::setNarrowing(Table::FilterFunction narrowing)
{
    narrowing_ = std::move(narrowing);
    master_.setFilterFunction(combined());
    master_.setFiltered(on_ || narrowing_);
}

bool SearchState::apply(const CriteriaList &criteria)
{
    criteria_ = criteria;
    install(MyTableFilter(criteria_, master_));
    if (master_.recordCount() > 0) {
        master_.first();
        return true;
    }
    clear();
    return false;
}

void SearchState::start(Table::FilterFunction filter)
{
    criteria_.clear();
    install(std::move(filter));
}

void SearchState::end()
{
    if (!on_)
        return;
    on_ = false;
    if (narrowing_)
        master_.setFilterFunction(combined());
    master_.setFiltered(bool(narrowing_));
    Q_EMIT changed(false);
}

void SearchState::restart()
{
    if (!criteria_.empty())
        filter_ = MyTableFilter(criteria_, master_);
    if (filter_)
        install(filter_);
}

void SearchState::clear()
{
    end();
    filter_ = {};
    criteria_.clear();
}

} // namespace kv
