#include "app/display/screensize.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace kv {

namespace {

struct ModeRow {
    int mode;
    double factor;
    QSize minimum;
};

const ModeRow kModes[] = {
    {640, 1.0, QSize()},
    {800, 1.25, QSize(800, 600)},
    {1024, 1.6, QSize(1024, 768)},
    {1280, 2.0, QSize(1280, 1024)},
};

const ModeRow *rowOf(int mode)
{
    for (const ModeRow &row : kModes)
        if (row.mode == mode)
            return &row;
    return nullptr;
}

} // namespace

double screenFactor(int mode)
{
    const ModeRow *row = rowOf(mode);
    return row ? row->factor : 1.0;
}

QSize minimumScreenSize(int mode)
{
    const ModeRow *row = rowOf(mode);
    return row ? row->minimum : QSize();
}

bool isWindowSizeMode(int mode) { return rowOf(mode) != nullptr; }

bool screenSupports(int mode, QSize screen)
{
    const ModeRow *row = rowOf(mode);
    if (!row)
        return false;
    return row->minimum.isEmpty()
           || (screen.width() >= row->minimum.width() && screen.height() >= row->minimum.height());
}

int startupWindowSize(int storedMode, QSize screen)
{
    return screenSupports(storedMode, screen) ? storedMode : kDefaultWindowSize;
}

QString screenSizeRefusedMessage(int mode)
{
    const QSize needed = minimumScreenSize(mode);
    if (needed.isEmpty())
        return QString();
    return QStringLiteral("Your current screen resolution does not support %1 x %2 pixels.")
        .arg(needed.width())
        .arg(needed.height());
}

int scaleLength(int length, double factor)
{
    const long long percent = std::lround(factor * 100);
    return int(std::llround(double(length) * double(percent) / 100.0));
}

QSize scaleSize(QSize size, double factor)
{
    return QSize(scaleLength(size.width(), factor), scaleLength(size.height(), factor));
}

QSize primaryScreenSize()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(640, 480);
}

} // namespace kv
