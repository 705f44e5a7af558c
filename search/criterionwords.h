#pragma once
// Query-search criteria given as words (the command line's way of filling the Search
// window's rows): FIELD=TEXT for a text row; FIELD=VALUE, FIELD>VALUE, FIELD<VALUE or
// FIELD>LOW<HIGH for a numeric or date row; "--or" starts the next level, as Find More
// does. FIELD is the dBASE field name in any case.
#include "search/criteria.h"
#include "store/table.h"

#include <QStringList>

namespace kv {

struct CriterionParse {
    Table::FilterFunction filter; // set when the criteria were accepted
    QString error;                // the program's message when they were refused; empty on success
    bool usage = false;           // the words themselves are malformed (error says how)
    CriteriaList criteria;
};

CriterionParse parseCriterionWords(const QStringList &words, const Table &table);

} // namespace kv
