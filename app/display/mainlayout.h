#pragma once
// Where the main window's controls go for each button bar mode, in client coordinates
// of a client area W wide and H high.
#include <QRect>
#include <QStringList>

namespace kv {

enum class ButtonBarMode { SpeedButtons = 1, LetteredButtons = 2, None = 3 };

// The "Button Bar" setting as a mode; other values mean speed buttons.
ButtonBarMode buttonBarMode(int setting);

struct MainLayout {
    bool speedPanel = false;      // the speed-button strip shown and enabled
    bool letteredButtons = false; // the lettered buttons and their frames
    bool navigatorLabel = false;
    int navigatorLabelTop = 20;
    QRect navigator;              // left, top, width (the height is the navigator's own)
    int searchOnLabelTop = 0;
    int countLabelTop = 0;
    int count2LabelTop = 0;
    int viewerBevelTop = 0;
    int viewerBevelHeight = 0;
    int viewerBevelWidth = 0;
    int viewerLabelTop = 0;
    int viewerGridTop = 0;
    int viewerGridHeight = 0;
    int viewerGridWidth = 0;
};

MainLayout mainLayout(ButtonBarMode mode, int clientWidth, int clientHeight);

// The heading's left edge, centred over the client area (rounded towards zero).
int centredLeft(int clientWidth, int width);

// True when the first command-line argument selects browse-only mode.
bool isBrowseOnlyArgument(const QStringList &arguments);

} // namespace kv
