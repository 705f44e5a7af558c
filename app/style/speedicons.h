#pragma once
// The pictures on the main window's speed buttons, one per command of the strip.
#include <QIcon>

namespace kv {

enum class SpeedIcon {
    NewDatabase,
    OpenDatabase,
    AddRecord,
    EditRecord,
    CopyRecord,
    DeleteRecord,
    ImportRecords,
    ExportRecords,
    SearchRecords,
    EndSearch,
    LocateRecord,
    LocateNextRecord,
    Reports,
    ViewerConfiguration,
    SortOrder,
    ColorSetup,
    Help,
};
inline constexpr int kSpeedIconCount = int(SpeedIcon::Help) + 1;

// The command's icon, drawn at 16 and 32 pixels (the larger one for high-DPI screens);
// a disabled button greys it through the icon's own disabled mode. Drawn once, then
// shared. Needs a running QGuiApplication.
QIcon speedIcon(SpeedIcon which);

} // namespace kv
