#include "app/workspace/searchstate.h"

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

void SearchState::start(Table::FilterFunction filter)
{
    filter_ = std::move(filter);
    master_.setFilterFunction(filter_);
    setOn(true);
}

void SearchState::end()
{
    if (on_)
        setOn(false);
}

void SearchState::restart()
{
    if (!filter_)
        return;
    master_.setFilterFunction(filter_);
    setOn(true);
}

void SearchState::clear()
{
    end();
    filter_ = {};
}

} // namespace kv
