#pragma once
// What the two programs say about themselves: the usage printed by --help, the manual
// page and the shell completions, all written from one description of each program, so
// that none of them can drift from the others.
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace kvdoc {

struct OptionDoc {
    const char *name;  // "--utf8", "/BROWSE"
    const char *value; // what follows it: "" for nothing, "OUT.PDF", "auto|utf-8", "[PRINTER]" when optional
    const char *help;  // one sentence
};

struct CommandDoc {
    const char *name;
    const char *usage;   // the arguments after the name, e.g. "FILE.DBF N"
    const char *summary; // what it does, in a sentence or two
    std::vector<OptionDoc> options = {};
};

struct ProgramDoc {
    QString name;                     // "kestrova-cli"
    QString purpose;                  // the NAME line after the dash
    QStringList synopsis;             // the argument lines after the name
    QStringList description;          // paragraphs
    std::vector<OptionDoc> options;   // program-wide options
    std::vector<CommandDoc> commands; // in the order shown
    std::vector<std::pair<QString, QString>> exitStatuses;
    std::vector<std::pair<QString, QString>> files;
    std::vector<std::pair<QString, QString>> examples; // command line, what it does
    QStringList seeAlso;              // "kestrova-cli(1)"
};

// "kestrova-cli 0.1.0"
QString versionText(const ProgramDoc &program);
// The whole usage (--help): synopsis, commands with their arguments, options.
QString usageText(const ProgramDoc &program);
// "Usage: kestrova-cli NAME ARGUMENTS" and, with details, the summary and each option.
QString commandUsage(const ProgramDoc &program, const CommandDoc &command, bool details);
// The manual page in section 1, in the man macros.
QString manPage(const ProgramDoc &program, const QString &version);
// Completion scripts: commands, their options and option values, field names as FIELD=
// where a command takes them, and .DBF files.
QString bashCompletion(const ProgramDoc &program, const QStringList &fieldNames);
QString zshCompletion(const ProgramDoc &program, const QStringList &fieldNames);

// The options the command knows, --help included; an option taking a value comes with it.
const OptionDoc *findOption(const CommandDoc &command, const QString &name);

// The desktop program, kestrova-videos.
const ProgramDoc &videosProgram();

// Its command line after the program name: /BROWSE first (any letter case), then at most
// one catalogue. An option it does not know, or a second file, is a usage error.
struct VideosArguments {
    bool browseOnly = false;
    QString file;
    QString error; // set on a usage error
};
VideosArguments videosArguments(const QStringList &arguments);

} // namespace kvdoc
