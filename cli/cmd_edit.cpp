// The record-editing commands: lists (a catalogue's pick lists as the program loads them),
// editlist (a list changed as the list editor changes it) and set (a record changed as the
// edit window changes it).
#include "commands.h"
#include "storecommands.h"
#include "terminaltext.h"

#include "app/workspace/cataloguesession.h"
#include "base/codepage.h"
#include "base/paths.h"
#include "edit/listeditor.h"
#include "edit/picklists.h"
#include "edit/recordform.h"
#include "resources/defaults.h"
#include "store/cataloguepaths.h"

#include <QFileInfo>
#include <optional>
#include <vector>

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

bool tableExists(const QString &path)
{
    if (QFileInfo(path).isFile())
        return true;
    printError(QStringLiteral("The table \"%1\" does not exist.").arg(path));
    return false;
}

QStringList loadedList(const kv::PickLists &lists, int n)
{
    return kv::isCatalogueList(n) ? lists.entries(n) : kv::readProgramWideList(n);
}

int runLists(const QStringList &given)
{
    QStringList args = given;
    const std::optional<kv::TextEncoding> encoding = takeTerminalEncoding(args);
    if (!encoding)
        return usageError("lists");
    bool ok = true;
    const int only = args.size() == 2 ? args[1].toInt(&ok) : 0;
    if (args.isEmpty() || args.size() > 2 || !ok || (args.size() == 2 && (only < 1 || only > kv::kPickListCount)))
        return usageError("lists");
    if (!tableExists(args[0]))
        return kExitRefused;
    installDeliveredLists();
    StderrPrompt prompt;
    kv::PickLists lists(prompt);
    lists.LoadAllList(kv::CataloguePaths::of(args[0]).basePath);
    if (only > 0) {
        for (const QString &entry : loadedList(lists, only))
            writeOut((*encoding == kv::TextEncoding::Utf8 ? entry.toUtf8() : kv::encode(entry)) + '\n');
        return kExitOk;
    }
    for (int n = 1; n <= kv::kPickListCount; ++n)
        printLine(QStringLiteral("%1 %2: %3").arg(n).arg(kv::pickListName(n)).arg(loadedList(lists, n).size()));
    return kExitOk;
}

// The list editor's steps in order, then Ok: "add TEXT", "delete ROW" (1 is the first
// entry), "sort" (its question takes its default, Yes).
int runEditList(const QStringList &args)
{
    bool ok = true;
    const int n = args.size() >= 2 ? args[1].toInt(&ok) : 0;
    if (args.size() < 2 || !ok || n < 1 || n > kv::kPickListCount)
        return usageError("editlist");
    for (qsizetype i = 2; i < args.size(); ++i) {
        const QString &step = args[i];
        const bool takesValue = step == QLatin1String("add") || step == QLatin1String("delete");
        if (!takesValue && step != QLatin1String("sort"))
            return usageError("editlist", QStringLiteral("unknown step \"%1\"").arg(step));
        if (takesValue && ++i >= args.size())
            return usageError("editlist", QStringLiteral("\"%1\" needs a value").arg(step));
        if (step == QLatin1String("delete") && args[i].toInt() < 1)
            return usageError("editlist", QStringLiteral("\"delete\" needs a row number from 1"));
    }
    if (!tableExists(args[0]))
        return kExitRefused;
    installDeliveredLists();
    StderrPrompt prompt;
    kv::PickLists lists(prompt);
    const QString base = kv::CataloguePaths::of(args[0]).basePath;
    lists.LoadAllList(base);
    kv::ListEdit edit(n, loadedList(lists, n));
    for (qsizetype i = 2; i < args.size(); ++i) {
        if (args[i] == QLatin1String("sort")) {
            edit.sort(prompt);
        } else if (args[i++] == QLatin1String("add")) {
            // As typed into the entry box: no more than the list's entry length.
            edit.add(args[i].left(kv::pickListEntryLength(n)));
        } else {
            edit.select(args[i].toInt() - 1);
            if (!edit.deleteSelected()) {
                printError(QStringLiteral("There is no entry %1: the list has %2.").arg(args[i]).arg(edit.entries().size()));
                return kExitRefused;
            }
        }
    }
    return kv::confirmListEdit(lists, base, edit) ? kExitOk : kExitRefused;
}

struct Typed {
    int field;
    QString text;
};

// FIELD=TEXT arguments; nothing when one names no field or gives a tick other than Yes or No.
std::optional<std::vector<Typed>> typedValues(const QStringList &args)
{
    std::vector<Typed> typed;
    for (const QString &arg : args) {
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        const int field = eq > 0 ? kv::fieldNumber(arg.left(eq)) : 0;
        if (field == 0)
            return std::nullopt;
        const QString text = arg.mid(eq + 1);
        if (kv::editBoxOf(field).kind == kv::BoxKind::Check && text != QLatin1String("Yes") &&
            text != QLatin1String("No"))
            return std::nullopt;
        typed.push_back({field, text});
    }
    return typed;
}

// Each box gets its text as a person types it: no more than the box takes; ticking or
// unticking "Checked Out" runs the box's action on the check-out date and person.
void typeInto(kv::RecordForm &form, kv::CheckOutStash &stash, const Typed &typed)
{
    const kv::EditBox &box = kv::editBoxOf(typed.field);
    if (box.kind != kv::BoxKind::Check) {
        form.text[size_t(typed.field)] = typed.text.left(kv::boxMaxLength(typed.field));
        return;
    }
    const bool tick = typed.text == QLatin1String("Yes");
    if (typed.field == kv::fields::Viewed)
        form.viewed = tick;
    else if (tick != form.checkOut)
        tick ? stash.tick(form) : stash.untick(form);
}

int runSet(const QStringList &args)
{
    bool ok = false;
    const bool isNew = args.size() >= 2 && args[1] == QLatin1String("new");
    const int n = args.size() >= 2 && !isNew ? args[1].toInt(&ok) : 0;
    const auto typed = typedValues(args.mid(2));
    if (args.size() < 3 || (!isNew && (!ok || n < 1)) || !typed)
        return usageError("set");
    const QString path = args[0];
    if (!tableExists(path) || !headerSound(path))
        return kExitRefused;
    installDeliveredLists();
    StderrPrompt prompt;
    kv::Settings settings;
    kv::readSettings(kv::programSettingsPath(), kv::SettingsScope::Program, settings);
    kv::Workspace ws(settings, prompt);
    kv::CatalogueSession catalogues(ws);
    // The catalogue opened as the program opens it at start, in its sort order.
    if (!catalogues.checkDBaseFormat(path))
        return kExitRefused;
    settings.lastDatabase = path;
    if (!catalogues.openAtStartup() || !ws.master().isOpen())
        return kExitRefused;
    ws.pickLists().LoadAllList(ws.paths().basePath);

    kv::Table &table = ws.master();
    tellIndexNotice(table);
    kv::EditMode mode = isNew ? kv::EditMode::Add : kv::EditMode::Edit;
    kv::RecordForm form = kv::blankForm();
    kv::CheckOutStash stash;
    if (!isNew) {
        if (n > table.recordCount()) {
            printError(QStringLiteral("There is no record %1: the table has %2.").arg(n).arg(table.recordCount()));
            return kExitRefused;
        }
        table.moveTo(n - 1);
        form = kv::loadForm(table);
        stash.fillFrom(form);
    }
    for (const Typed &t : *typed)
        typeInto(form, stash, t);
    // A character the catalogue cannot hold is refused, never stored as '?'.
    if (const std::optional<kv::CheckFailure> failure = kv::checkCharacters(form, table.codepage())) {
        printError(failure->message);
        return kExitRefused;
    }
    // Update and Exit: a failed check writes nothing and the lists stay as they were.
    const kv::UpdateOutcome outcome = kv::updateRecord(table, ws.pickLists(), prompt, mode, form);
    if (outcome.failure)
        printError(outcome.failure->message);
    if (outcome.result != kv::UpdateResult::Written)
        return kExitRefused;
    ws.pickLists().SaveAllLists(ws.paths().basePath);
    return kExitOk;
}

const Registrar regSet({"set", "FILE.DBF N|new FIELD=TEXT ...",
                        "record N (as delete counts) or a new record, each named box given TEXT as typed "
                        "(CheckOut and Viewed: Yes or No), then Update and Exit as the edit window runs it",
                        &runSet});

const Registrar regEditList({"editlist", "FILE.DBF N [add TEXT | delete ROW | sort] ...",
                             "list N of a catalogue changed as the list editor changes it, step by step, then Ok: "
                             "the catalogue's lists written, and OSCAR.LST or MISC.LST for list 14 or 17",
                             &runEditList});

const Registrar regLists({"lists", "FILE.DBF [N] [--utf8|--cp1252]",
                          "the pick lists as the program loads them for a catalogue: \"N NAME: COUNT\" for each "
                          "list, or the entries of list N (UTF-8 where the locale is UTF-8, code page 1252 "
                          "otherwise)",
                          &runLists, false,
                          {{"--utf8", "", "Write UTF-8, whatever the locale."},
                           {"--cp1252", "", "Write code page 1252, whatever the locale."}}});

} // namespace

} // namespace kvcli
