#pragma once
// Search mode: whether the master table shows only the records that meet the search
// criteria. The mode is the program's, not a window's: export, reports, labels, backup,
// replace and Update Database end it and turn it on again through these calls.
#include "search/criteria.h"
#include "store/table.h"

#include <QObject>

namespace kv {

class SearchState : public QObject {
    Q_OBJECT
public:
    explicit SearchState(Table &master, QObject *parent = nullptr);

    bool isOn() const { return on_; }
    // The criteria were met by at least one search since they were last cleared.
    bool hasCriteria() const { return bool(filter_); }
    // The criteria of the query search in force (empty for a search by a routine).
    const CriteriaList &criteria() const { return criteria_; }

    // Applies a query search: the master table shows the records that meet the
    // criteria, from its first one. When none does, the search ends and the criteria
    // are forgotten: false.
    bool apply(const CriteriaList &criteria);
    // Filters the master table through a routine of the caller's.
    void start(Table::FilterFunction filter);
    // Shows every record again; the criteria are kept for restart().
    void end();
    // On again with the criteria of the last search (nothing when there are none); the
    // master table may have been closed and opened again meanwhile.
    void restart();
    // Forgets the criteria (and ends the search).
    void clear();

    // A second test the master table's records must also pass, whether the search is on
    // or off (the quick filter's); an empty one lets every record through. It leaves the
    // search mode as it is.
    void setNarrowing(Table::FilterFunction narrowing);
    bool narrowed() const { return bool(narrowing_); }

Q_SIGNALS:
    void changed(bool on);

private:
    void install(Table::FilterFunction filter);
    Table::FilterFunction combined() const;

    Table &master_;
    Table::FilterFunction filter_;
    Table::FilterFunction narrowing_;
    CriteriaList criteria_;
    bool on_ = false;
};

} // namespace kv
