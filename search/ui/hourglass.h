#pragma once
// The hourglass cursor for as long as the scope lasts.
#include <QGuiApplication>

namespace kv {

class HourGlass {
public:
    HourGlass() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~HourGlass() { QGuiApplication::restoreOverrideCursor(); }
    HourGlass(const HourGlass &) = delete;
    HourGlass &operator=(const HourGlass &) = delete;
};

} // namespace kv
