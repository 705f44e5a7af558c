#pragma once
// A backup or restore in the open program: the exchange logic with what the open
// workspace adds around it. A table backup ends the search and turns it on again; the
// lists and the settings in memory are written before they are copied. A table restore ends the
// search for good and makes the restored copy the open catalogue; restored lists are
// loaded again, and restored settings of the open catalogue read again and shown.
#include "app/workspace/cataloguesession.h"
#include "app/workspace/workspace.h"
#include "exchange/restore.h"

namespace kv {

ExchangeOutcome backUp(Workspace &workspace, ExchangeKind kind, const QString &folder,
                       const CopyControl &control = {});

RestoreResult restore(Workspace &workspace, ExchangeKind kind, const QString &source,
                      const CopyControl &control = {});

} // namespace kv
