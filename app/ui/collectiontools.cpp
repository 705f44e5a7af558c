#include "app/ui/collectiontools.h"

#include "app/ui/windowstyle.h"
#include "app/workspace/workspace.h"
#include "collection/ui/duplicateswindow.h"
#include "collection/ui/statswindow.h"

#include <QAction>
#include <QMenu>

namespace kv {

void addCollectionTools(QMenu *tools, QWidget *window, Workspace &workspace, std::function<void()> editCurrent)
{
    tools->addSeparator();
    QAction *stats = tools->addAction(QString::fromLatin1(kStatisticsItem));
    stats->setObjectName(QStringLiteral("MenuStatistics"));
    QObject::connect(stats, &QAction::triggered, window, [window, &workspace] { showStatistics(window, workspace); });
    QAction *duplicates = tools->addAction(QString::fromLatin1(kDuplicatesItem));
    duplicates->setObjectName(QStringLiteral("MenuDuplicates"));
    QObject::connect(duplicates, &QAction::triggered, window, [window, &workspace, editCurrent] {
        showDuplicates(window, workspace, editCurrent);
    });
}

void showStatistics(QWidget *window, Workspace &workspace)
{
    TStatistics dialog(workspace, window);
    dialog.setStyler([&workspace](QWidget *w) { styleWindow(w, WindowFamily::Configure, workspace.settings()); });
    dialog.exec();
}

void showDuplicates(QWidget *window, Workspace &workspace, std::function<void()> editCurrent)
{
    TDuplicates dialog(workspace, std::move(editCurrent), window);
    dialog.setStyler([&workspace](QWidget *w) { styleWindow(w, WindowFamily::Configure, workspace.settings()); });
    dialog.exec();
    workspace.announceCount();
}

} // namespace kv
