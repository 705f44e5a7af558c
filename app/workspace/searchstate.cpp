#include "app/workspace/searchstate.h"

#include "search/recordtest.h"

namespace kv {

SearchState::SearchState(Table &master, QObject *parent) : QObject(parent), master_(master) {}

void SearchState::setOn(bool on)
{
    master_.setFiltered(on);
    const bool changed = on != on_;
    on_ = on;
    if (changed)
        Q_EMIT this->changed(on);
}

// One filter pass: a new routine while on, or the filter turned on.
void SearchState::install(Table::FilterFunction filter)
{
    filter_ = std::move(filter);
    master_.setFilterFunction(filter_);
    setOn(true);
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
    if (on_)
        setOn(false);
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
