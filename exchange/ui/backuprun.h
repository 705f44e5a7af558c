#pragma once
// A backup or restore in the open program: the exchange logic with what the open
// workspace adds around it. A table backup ends the search and turns it on again; the
// lists and the settings in memory are written before they are copied. A table restore ends the
// search for good and makes the restored copy the open catalogue; restored lists are
// loaded again, and restored settings of the open catalogue read again and shown.
#include "app/workspace/workspace.h"
#include "exchange/restore.h"

namespace kv {

// Told after a table restore that put another file in use than the one open before.
inline constexpr char kRestoredIsOpen[] =
    "The restored database \"%1\" is now open in place of \"%2\", which is left as it was.";

ExchangeOutcome backUp(Workspace &workspace, ExchangeKind kind, const QString &folder,
                       const CopyControl &control = {});

RestoreResult restore(Workspace &workspace, ExchangeKind kind, const QString &source,
                      const CopyControl &control = {});

} // namespace kv
