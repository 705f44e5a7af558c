#include "app/display/mainlayout.h"

#include <algorithm>

namespace kv {

namespace {
constexpr int kNavigatorMargin = 3;
}

ButtonBarMode buttonBarMode(int setting)
{
    switch (setting) {
    case 2: return ButtonBarMode::LetteredButtons;
    case 3: return ButtonBarMode::None;
    default: return ButtonBarMode::SpeedButtons;
    }
}

MainLayout mainLayout(ButtonBarMode mode, int w, int h)
{
    MainLayout l;
    switch (mode) {
    case ButtonBarMode::SpeedButtons:
        l.speedPanel = true;
        l.navigator = QRect(424, 3, 241, 0);
        l.searchOnLabelTop = 44;
        l.countLabelTop = 38;
        l.count2LabelTop = 52;
        l.viewerBevelTop = 34;
        l.viewerBevelHeight = h - 37;
        l.viewerLabelTop = 38;
        l.viewerGridTop = 70;
        l.viewerGridHeight = h - 77;
        break;
    case ButtonBarMode::LetteredButtons:
        l.letteredButtons = true;
        l.navigatorLabel = true;
        l.navigator = QRect(400, 47, 221, 0);
        l.searchOnLabelTop = 96;
        l.countLabelTop = 90;
        l.count2LabelTop = 105;
        l.viewerBevelTop = 86;
        l.viewerBevelHeight = h - 89;
        l.viewerLabelTop = 90;
        l.viewerGridTop = 122;
        l.viewerGridHeight = h - 129;
        break;
    case ButtonBarMode::None:
        l.navigator = QRect(w - 207, 8, 201, 0);
        l.searchOnLabelTop = 14;
        l.countLabelTop = 8;
        l.count2LabelTop = 23;
        l.viewerBevelTop = 4;
        l.viewerBevelHeight = h - 7;
        l.viewerLabelTop = 8;
        l.viewerGridTop = 40;
        l.viewerGridHeight = h - 47;
        break;
    }
    // The navigator keeps its buttons inside a narrow window (640 x 480): they narrow
    // rather than run past the right edge.
    l.navigator.setWidth(std::clamp(w - l.navigator.left() - kNavigatorMargin, 0, l.navigator.width()));
    l.viewerBevelWidth = w - 6;
    l.viewerGridWidth = w - 14;
    return l;
}

int centredLeft(int clientWidth, int width) { return (clientWidth - width) / 2; }

bool isBrowseOnlyArgument(const QStringList &arguments)
{
    return !arguments.isEmpty() && arguments.first().toUpper() == QLatin1String("/BROWSE");
}

} // namespace kv
