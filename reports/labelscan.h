#pragma once
// What a label sheet shows: the media number of each position from the grid, and the
// recordings of the catalogue that carry it (at most six, greatest start counter first).
#include "app/settings/settings.h"
#include "base/prompt.h"
#include "reports/labelstock.h"
#include "store/table.h"

#include <QList>
#include <QString>
#include <functional>

namespace kv {

// One recording on a label, as the table displays it, each text cut to its length.
struct TLabelTitleRec {
    QString title;        // 60
    QString rating;       // 15
    QString mediaNumber;  // 10
    QString startCounter; // 8
    QString stopCounter;  // 8
    QString year;         // 4
    QString playTime;     // 3
    QString category;     // 20
    bool operator==(const TLabelTitleRec &) const = default;
};

inline constexpr int kMediaNumberLength = 10;
inline constexpr int kMaxLabelContents = 6;

struct LabelPosition {
    QString mediaNumber; // at most 10 characters; empty: the position prints nothing
    QList<TLabelTitleRec> contents;
};

// The checks before a run, in order: an item must be on, and a cell of the rows the kind
// and stock show must hold a media number ("*NOT USED*" does not count). Each refusal
// beeps and shows its message.
bool labelRunAllowed(const Settings &s, LabelKind kind, LabelStock stock, Prompt &prompt);

// Positions 1 ... count with the trimmed text of their grid cell, cut to 10 characters.
QList<LabelPosition> labelPositions(const Settings &s, int count);

// Walks every record of the table in its current order, a filter that is on ignored; a
// record whose media number equals a position's exactly joins that position while it
// holds fewer than six recordings (every position with that number collects it). Then
// each position's recordings are sorted by their start counter as text, greatest first.
// keepGoing, when given, is asked at the start and every few thousand records; once it
// says false the walk stops and this returns false.
bool collectLabelContents(const Table &table, QList<LabelPosition> &positions,
                          const std::function<bool()> &keepGoing = {});

} // namespace kv
