#include "commands.h"

#include "app/settings/settings.h"
#include "base/paths.h"
#include "store/fieldtable.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

namespace kvcli {

namespace {
std::vector<Command> &registry()
{
    static std::vector<Command> commands;
    return commands;
}

const Command *find(const QString &name)
{
    for (const Command &c : registry()) {
        if (name == QLatin1String(c.name))
            return &c;
    }
    return nullptr;
}

void print(FILE *to, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, bytes.size(), to);
}

void printUsage(FILE *to) { print(to, kvdoc::usageText(cliProgram())); }

// The options a command is given, checked against its own before it runs: --help prints
// its usage, an option it does not know or an option where a value belongs is a usage
// error. A lone "--" ends the options and is taken out. An exit code when the command
// is not to run.
std::optional<int> checkOptions(const Command &command, QStringList &args)
{
    const kvdoc::CommandDoc doc = command.doc();
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &word = args[i];
        if (word == QLatin1String("--")) {
            args.removeAt(i);
            break;
        }
        if (!word.startsWith(QLatin1String("--")))
            continue;
        const kvdoc::OptionDoc *option = kvdoc::findOption(doc, word);
        if (!option)
            return usageError(command.name, QStringLiteral("Unknown option \"%1\".").arg(word));
        if (word == QLatin1String("--help")) {
            print(stdout, kvdoc::commandUsage(cliProgram(), doc, true));
            return kExitOk;
        }
        const QString value = QString::fromUtf8(option->value);
        if (value.isEmpty() || value.startsWith(QLatin1Char('[')) || i + 1 >= args.size())
            continue; // a missing value is the command's to report
        if (args[i + 1].startsWith(QLatin1String("--")))
            return usageError(command.name, QStringLiteral("%1 needs %2, not the option \"%3\".")
                                                .arg(word, value, args[i + 1]));
        ++i;
    }
    return std::nullopt;
}

// help [COMMAND]
int runHelp(const QStringList &args)
{
    if (args.size() > 1)
        return usageError("help");
    if (args.isEmpty()) {
        printUsage(stdout);
        return kExitOk;
    }
    const Command *command = find(args.first());
    if (!command) {
        printError(QStringLiteral("Unknown command \"%1\".").arg(args.first()));
        printUsage(stderr);
        return kExitUsage;
    }
    print(stdout, kvdoc::commandUsage(cliProgram(), command->doc(), true));
    return kExitOk;
}

const Registrar regHelp({"help", "[COMMAND]", "print the usage of a command, or of them all", &runHelp});

// The program-wide options; the hidden ones write the manual page and the completions
// at build time. An exit code when one was given.
std::optional<int> programOption(const QStringList &args)
{
    const QString first = args.value(0);
    if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
        printUsage(stdout);
        return kExitOk;
    }
    if (first == QLatin1String("--version")) {
        print(stdout, kvdoc::versionText(cliProgram()) + QLatin1Char('\n'));
        return kExitOk;
    }
    if (first == QLatin1String("--man")) {
        print(stdout, kvdoc::manPage(cliProgram(), QStringLiteral(KV_VERSION)));
        return kExitOk;
    }
    if (first == QLatin1String("--completion")) {
        QStringList fields;
        for (int n = 1; n <= kv::kFieldCount; ++n)
            fields << kv::fieldName(n);
        const QString shell = args.value(1);
        if (shell == QLatin1String("bash") || shell == QLatin1String("zsh")) {
            print(stdout, shell == QLatin1String("bash") ? kvdoc::bashCompletion(cliProgram(), fields)
                                                           : kvdoc::zshCompletion(cliProgram(), fields));
            return kExitOk;
        }
        printError(QStringLiteral("--completion takes bash or zsh."));
        return kExitUsage;
    }
    if (first.startsWith(QLatin1String("--"))) {
        printError(QStringLiteral("Unknown option \"%1\".").arg(first));
        printUsage(stderr);
        return kExitUsage;
    }
    return std::nullopt;
}
} // namespace

std::vector<Command> commands()
{
    std::vector<Command> sorted = registry();
    std::sort(sorted.begin(), sorted.end(),
              [](const Command &a, const Command &b) { return qstrcmp(a.name, b.name) < 0; });
    return sorted;
}

Registrar::Registrar(const Command &command) { registry().push_back(command); }

void printError(const QString &message)
{
    const QByteArray bytes = message.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, bytes.size(), stderr);
    std::fputc('\n', stderr);
}

int usageError(const char *commandName, const QString &problem)
{
    if (!problem.isEmpty())
        printError(problem);
    if (const Command *c = find(QString::fromLatin1(commandName)))
        print(stderr, kvdoc::commandUsage(cliProgram(), c->doc(), false));
    return kExitUsage;
}

void writeOut(const QByteArray &bytes) { std::fwrite(bytes.constData(), 1, bytes.size(), stdout); }

void printLine(const QString &line)
{
    writeOut(line.toLocal8Bit());
    std::fputc('\n', stdout);
}

kv::Answer StderrPrompt::message(kv::MessageKind, const QString &, const QString &text, kv::Buttons,
                                 kv::Answer defaultAnswer)
{
    printError(text);
    return defaultAnswer;
}

} // namespace kvcli

int main(int argc, char **argv)
{
    // What the program says about itself needs no settings and no display.
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);
    if (const std::optional<int> exit = kvcli::programOption(words))
        return *exit;
    // Commands that lay out pages need fonts; with no display they draw offscreen.
    const kvcli::Command *early = argc > 1 ? kvcli::find(QString::fromLocal8Bit(argv[1])) : nullptr;
    const bool gui = early && early->needsGui;
    if (gui && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> application =
        gui ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication &app = *application;
    kv::initApplicationIdentity();
    // Dates and numbers are converted as the program converts them: after QVRVID.INI.
    kv::Settings programSettings;
    kv::applyProgramFormats(programSettings);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        kvcli::printUsage(stderr);
        return kvcli::kExitUsage;
    }
    const QString name = args.takeFirst();
    const kvcli::Command *command = kvcli::find(name);
    if (!command) {
        kvcli::printError(QStringLiteral("Unknown command \"%1\".").arg(name));
        kvcli::printUsage(stderr);
        return kvcli::kExitUsage;
    }
    if (const std::optional<int> exit = kvcli::checkOptions(*command, args))
        return *exit;
    return command->run(args);
}
