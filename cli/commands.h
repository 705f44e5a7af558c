#pragma once
// kestrova-cli: each command is a function registered by name from its own file.
// Exit status: 0 success, 1 the program refused (its message says why), 2 usage error.
#include "base/prompt.h"
#include "cli/usage/programdoc.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace kvcli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;

using CommandFunction = int (*)(const QStringList &args);

struct Command {
    const char *name;
    const char *usage;   // the arguments, e.g. "FILE.DBF N"
    const char *summary; // one line
    CommandFunction run;
    bool needsGui = false; // lays out text (fonts) or prints: runs with a GUI application
    // The options it takes, each with its value and what it does. The usage, the manual
    // page and the completions are written from these; any other word beginning with
    // "--" is refused before the command runs, and --help prints the command's usage.
    std::vector<kvdoc::OptionDoc> options = {};

    kvdoc::CommandDoc doc() const { return {name, usage, summary, options}; }
};

// Registers a command; use as a file-scope static:
//   static const kvcli::Registrar reg({"new", "FILE.DBF", "create an empty catalogue", &runNew});
struct Registrar {
    explicit Registrar(const Command &command);
};

// Every registered command, by name.
std::vector<Command> commands();
// kestrova-cli as its usage, manual page and completions describe it.
kvdoc::ProgramDoc cliProgram();

// Messages go to standard error exactly as the program words them.
void printError(const QString &message);
// Prints the command's usage line to standard error and returns kExitUsage.
int usageError(const char *commandName, const QString &problem = QString());
// Writes bytes to standard output as they are (code page 1252 text for data).
void writeOut(const QByteArray &bytes);
// Writes a line of the program's own text (UTF-8) to standard output.
void printLine(const QString &line);

// The prompt of the shared logic here: every message goes to standard error as the
// program words it; there is nobody to answer, so each question takes its default and
// every dialog is cancelled.
class StderrPrompt : public kv::Prompt {
public:
    kv::Answer message(kv::MessageKind kind, const QString &caption, const QString &text, kv::Buttons buttons,
                       kv::Answer defaultAnswer) override;
    void beep() override {}
    QString openFileName(const kv::FileDialogSpec &) override { return QString(); }
    QString saveFileName(const kv::FileDialogSpec &) override { return QString(); }
    QString directory(const QString &, const QString &) override { return QString(); }
    std::optional<QFont> font(const QFont &, const QString &) override { return std::nullopt; }
    std::optional<QColor> color(const QColor &, const QString &) override { return std::nullopt; }
};

} // namespace kvcli
