#include "commands.h"

#include "app/settings/settings.h"
#include "base/paths.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <memory>
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

void printUsage(FILE *to)
{
    std::vector<Command> sorted = registry();
    std::sort(sorted.begin(), sorted.end(),
              [](const Command &a, const Command &b) { return qstrcmp(a.name, b.name) < 0; });
    std::fprintf(to, "Usage: kestrova-cli COMMAND [ARGUMENTS]\n\nCommands:\n");
    for (const Command &c : sorted)
        std::fprintf(to, "  %s %s\n      %s\n", c.name, c.usage, c.summary);
}
} // namespace

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
        std::fprintf(stderr, "Usage: kestrova-cli %s %s\n", c->name, c->usage);
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
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        kvcli::printUsage(args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? kvcli::kExitUsage : kvcli::kExitOk;
    }
    const QString name = args.takeFirst();
    const kvcli::Command *command = kvcli::find(name);
    if (!command) {
        kvcli::printError(QStringLiteral("Unknown command \"%1\".").arg(name));
        kvcli::printUsage(stderr);
        return kvcli::kExitUsage;
    }
    return command->run(args);
}
