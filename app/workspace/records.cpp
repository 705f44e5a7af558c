#include "app/workspace/records.h"

namespace kv {

bool deleteCurrentRecord(Workspace &ws, Table &table)
{
    bool deleted = false;
    if (ws.prompt().askYesNo(QStringLiteral("Confirm"), QString::fromLatin1(kDeleteQuestion), Answer::Yes))
        deleted = ws.attempt([&] { table.deleteRecord(); });
    ws.announceCount();
    return deleted;
}

} // namespace kv
