#include "collection/ui/collectioncommands.h"

#include "app/workspace/workspace.h"
#include "collection/ui/duplicateswindow.h"
#include "collection/ui/statswindow.h"

namespace kv {

std::vector<CommandRow> collectionCommandRows(CommandHost &host, std::function<void()> editCurrent)
{
    CommandRow stats{"MenuStatistics", QString::fromLatin1(kStatisticsItem), "MenuTools", {}, [&host] {
                         TStatistics dialog(host.workspace(), host.commandWindow());
                         dialog.exec();
                     }};
    stats.separatorBefore = true;
    CommandRow duplicates{"MenuDuplicates", QString::fromLatin1(kDuplicatesItem), "MenuTools", {},
                          [&host, editCurrent = std::move(editCurrent)] {
                              TDuplicates dialog(host.workspace(), editCurrent, host.commandWindow());
                              dialog.exec();
                              host.DisplayCount();
                          }};
    // Deleting a duplicate changes the catalogue.
    duplicates.changesData = true;
    return {std::move(stats), std::move(duplicates)};
}

} // namespace kv
