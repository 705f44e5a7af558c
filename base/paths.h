#pragma once
// The program's folders: configuration (QVRVID.INI) and the program folder
// (MASTER.DBF, QVRVID.URP, the default pick lists, older catalogues).
#include <QString>

namespace kv {

inline constexpr char kApplicationName[] = "kestrova-videos";
inline constexpr char kApplicationTitle[] = "Kestrova Videos 97";

// Sets the application name the folders are derived from; call once after the
// Q(Core)Application exists.
void initApplicationIdentity();

// $XDG_CONFIG_HOME/kestrova-videos, created when missing. No trailing slash.
QString configDir();
// $XDG_DATA_HOME/kestrova-videos, created when missing. No trailing slash.
QString programDir();

// The existing file whose name matches path's file name without regard to case
// (the path itself when it exists or nothing matches). Companion files written by
// other systems may use another letter case.
QString resolveCaseInsensitive(const QString &path);

} // namespace kv
