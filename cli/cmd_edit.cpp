// The record-editing commands: lists (a catalogue's pick lists as the program loads them)
// and set (a record changed as the edit window changes it).
#include "commands.h"

#include "base/codepage.h"
#include "base/paths.h"
#include "edit/picklists.h"
#include "resources/defaults.h"
#include "store/cataloguepaths.h"

#include <QFileInfo>

namespace kvcli {

namespace {

// The program installs its delivered lists at every start; a catalogue without lists of
// its own gets those.
void installDeliveredLists()
{
    QString error;
    if (!kv::installDefaultLists(kv::programDir(), &error))
        printError(error);
}

QStringList loadedList(const kv::PickLists &lists, int n)
{
    return kv::isCatalogueList(n) ? lists.entries(n) : kv::readProgramWideList(n);
}

int runLists(const QStringList &args)
{
    bool ok = true;
    const int only = args.size() == 2 ? args[1].toInt(&ok) : 0;
    if (args.isEmpty() || args.size() > 2 || !ok || (args.size() == 2 && (only < 1 || only > kv::kPickListCount)))
        return usageError("lists");
    if (!QFileInfo(args[0]).isFile()) {
        printError(QStringLiteral("The table \"%1\" does not exist.").arg(args[0]));
        return kExitRefused;
    }
    installDeliveredLists();
    StderrPrompt prompt;
    kv::PickLists lists(prompt);
    lists.LoadAllList(kv::CataloguePaths::of(args[0]).basePath);
    if (only > 0) {
        for (const QString &entry : loadedList(lists, only))
            writeOut(kv::encode(entry) + '\n');
        return kExitOk;
    }
    for (int n = 1; n <= kv::kPickListCount; ++n)
        printLine(QStringLiteral("%1 %2: %3").arg(n).arg(kv::pickListName(n)).arg(loadedList(lists, n).size()));
    return kExitOk;
}

const Registrar regLists({"lists", "FILE.DBF [N]",
                          "the pick lists as the program loads them for a catalogue: \"N NAME: COUNT\" for each "
                          "list, or the entries of list N",
                          &runLists});

} // namespace

} // namespace kvcli
