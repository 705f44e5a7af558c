#pragma once
// The previous version's definitions file VIDEO2.CFR: records of 19,831 bytes that
// become new definitions once, at start-up, after which the old file goes.
#include "reports/reportdef.h"
#include "reports/reportfile.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace kv {

inline constexpr char kOldReportFileName[] = "VIDEO2.CFR";
inline constexpr int kOldReportDefSize = 19831;

// The definition an old record becomes; nothing for the old built-in reports, which the
// new ones replace. A field part gets the number of its field name in the field table
// (a totals part that of its totals entry), 0 when the name is no longer known.
// old must hold at least kOldReportDefSize bytes (asserted).
std::optional<TReportDefRec> convertOldReportDef(const QByteArray &old);

// Appends the definitions of the old file's whole records to target and deletes the old
// file. Nothing happens when it cannot be opened. When target cannot be written the old
// file stays for the next start and error says why.
bool convertOldReportFile(const QString &oldPath, ReportFile &target, QString *error = nullptr);

} // namespace kv
