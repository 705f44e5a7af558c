#pragma once
// Whole-file writes that never leave a truncated file behind: the bytes go to a
// temporary file in the same folder, which is renamed over the old one only once it is
// complete. A crash or a full disk leaves the old file as it was.
#include <QByteArray>
#include <QString>

namespace kv {

// False, with the reason in error (when given), when the file could not be written.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr);

} // namespace kv
