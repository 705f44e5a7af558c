#pragma once
// Search mode: whether the master table shows only the records that meet the search
// criteria. The mode is the program's, not a window's: export, reports, labels, backup,
// replace and Update Database end it and turn it on again through these calls.
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

    // Filters the master table through the criteria's routine.
    void start(Table::FilterFunction filter);
    // Shows every record again; the criteria are kept for restart().
    void end();
    // On again with the criteria of the last search (nothing when there are none).
    void restart();
    // Forgets the criteria (and ends the search).
    void clear();

Q_SIGNALS:
    void changed(bool on);

private:
    void setOn(bool on);

    Table &master_;
    Table::FilterFunction filter_;
    bool on_ = false;
};

} // namespace kv
