#pragma once
// Pictures of the windows for the documentation: saved when KV_SCREENSHOT_DIR names a
// folder, else nothing.
#include <QString>
#include <QWidget>

namespace kvtest {

inline void saveShot(QWidget &window, const char *name)
{
    const QString dir = qEnvironmentVariable("KV_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        window.grab().save(dir + QLatin1Char('/') + QLatin1String(name));
}

} // namespace kvtest
