#include "cli/usage/programdoc.h"

#include <QRegularExpression>
#include <QSet>

namespace kvdoc {

namespace {

QString wordsOf(const char *text) { return QString::fromUtf8(text); }

// "--name VALUE", "--print [PRINTER]"
QString optionLine(const OptionDoc &o)
{
    const QString value = wordsOf(o.value);
    return value.isEmpty() ? wordsOf(o.name) : wordsOf(o.name) + QLatin1Char(' ') + value;
}

QString optionTable(const std::vector<OptionDoc> &options, const QString &indent)
{
    int width = 0;
    for (const OptionDoc &o : options)
        width = std::max(width, int(optionLine(o).size()));
    QString out;
    for (const OptionDoc &o : options)
        out += indent + optionLine(o).leftJustified(width + 2) + wordsOf(o.help) + QLatin1Char('\n');
    return out;
}

// Text for the man macros: backslashes kept, every '-' a minus (options are typed with
// it), a line that would begin with a control character made plain.
QString roff(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('\\'), QStringLiteral("\\e"));
    out.replace(QLatin1Char('-'), QStringLiteral("\\-"));
    if (out.startsWith(QLatin1Char('.')) || out.startsWith(QLatin1Char('\'')))
        out.prepend(QStringLiteral("\\&"));
    return out;
}

// An argument line: options and switches in bold, placeholders in italics.
QString roffArguments(const QString &line)
{
    static const QRegularExpression token(QStringLiteral("(--?[a-z][a-z0-9-]*|/[A-Z]+)|([A-Z][A-Z0-9]*(?:\\.[A-Z]+)?)"));
    QString out;
    qsizetype at = 0;
    for (auto it = token.globalMatch(line); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += roff(line.mid(at, m.capturedStart() - at));
        const bool option = m.capturedLength(1) > 0;
        out += (option ? QStringLiteral("\\fB") : QStringLiteral("\\fI")) + roff(m.captured()) + QStringLiteral("\\fR");
        at = m.capturedEnd();
    }
    out += roff(line.mid(at));
    if (out.startsWith(QLatin1Char('.')) || out.startsWith(QLatin1Char('\'')))
        out.prepend(QStringLiteral("\\&"));
    return out;
}

void manOptions(QString &out, const std::vector<OptionDoc> &options)
{
    for (const OptionDoc &o : options)
        out += QStringLiteral(".TP\n") + roffArguments(optionLine(o)) + QLatin1Char('\n') + roff(wordsOf(o.help)) +
               QLatin1Char('\n');
}

void manPairs(QString &out, const char *heading, const std::vector<std::pair<QString, QString>> &pairs, bool code)
{
    if (pairs.empty())
        return;
    out += QStringLiteral(".SH ") + QLatin1String(heading) + QLatin1Char('\n');
    for (const auto &[term, text] : pairs)
        out += QStringLiteral(".TP\n") + (code ? QStringLiteral("\\fB") + roff(term) + QStringLiteral("\\fR") : roff(term)) +
               QLatin1Char('\n') + roff(text) + QLatin1Char('\n');
}

// What a completion offers after an option: its choices, files, printers or nothing.
enum class ValueKind { None, Choices, File, Printer, Free };
ValueKind valueKind(const OptionDoc &o, QStringList *choices)
{
    const QString value = wordsOf(o.value);
    if (value.isEmpty())
        return ValueKind::None;
    if (value.contains(QLatin1String("PRINTER")))
        return ValueKind::Printer;
    if (value.contains(QLatin1Char('|'))) {
        for (const QString &word : value.split(QLatin1Char('|')))
            if (!word.contains(QLatin1Char(',')) && !word.contains(QLatin1Char('.')))
                *choices << word;
        return ValueKind::Choices;
    }
    static const QRegularExpression fileName(QStringLiteral("\\.[A-Z]+$"));
    if (value.contains(fileName) || value == QLatin1String("DIR"))
        return ValueKind::File;
    return ValueKind::Free;
}

bool takesFields(const CommandDoc &c)
{
    const QString usage = wordsOf(c.usage);
    return usage.contains(QLatin1String("CRITERION")) || usage.contains(QLatin1String("FIELD=")) ||
           usage.contains(QLatin1String("Field="));
}

// The options as typed: what begins with "-" or "/" (not the operands the usage lists).
QStringList optionNames(const std::vector<OptionDoc> &options)
{
    QStringList names;
    for (const OptionDoc &o : options)
        if (o.name[0] == '-' || o.name[0] == '/')
            names << wordsOf(o.name);
    return names;
}

QString shellQuoted(QString text) { return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QStringLiteral("'\\''")) + QLatin1Char('\''); }

QString functionName(const ProgramDoc &p) { return QLatin1Char('_') + QString(p.name).replace(QLatin1Char('-'), QLatin1Char('_')); }

const OptionDoc kHelpOption{"--help", "", "Print this usage and exit."};

} // namespace

QString versionText(const ProgramDoc &program) { return program.name + QStringLiteral(" " KV_VERSION); }

QString usageText(const ProgramDoc &program)
{
    QString out;
    for (qsizetype i = 0; i < program.synopsis.size(); ++i)
        out += (i == 0 ? QStringLiteral("Usage: ") : QStringLiteral("       ")) + program.name + QLatin1Char(' ') +
               program.synopsis[i] + QLatin1Char('\n');
    if (!program.commands.empty()) {
        out += QStringLiteral("\nCommands:\n");
        for (const CommandDoc &c : program.commands)
            out += QStringLiteral("  %1 %2").arg(wordsOf(c.name), wordsOf(c.usage)).trimmed().prepend(QStringLiteral("  ")) +
                   QStringLiteral("\n      %1\n").arg(wordsOf(c.summary));
    }
    out += QStringLiteral("\nOptions:\n") + optionTable(program.options, QStringLiteral("  "));
    if (!program.exitStatuses.empty()) {
        out += QStringLiteral("\nExit status:\n");
        for (const auto &[status, meaning] : program.exitStatuses)
            out += QStringLiteral("  %1  %2\n").arg(status, meaning);
    }
    return out;
}

QString commandUsage(const ProgramDoc &program, const CommandDoc &command, bool details)
{
    QString out = QStringLiteral("Usage: %1 %2 %3").arg(program.name, wordsOf(command.name), wordsOf(command.usage)).trimmed() +
                  QLatin1Char('\n');
    if (!details)
        return out;
    out += QStringLiteral("\n  ") + wordsOf(command.summary) + QLatin1Char('\n');
    std::vector<OptionDoc> options = command.options;
    options.push_back(kHelpOption);
    out += QStringLiteral("\nOptions:\n") + optionTable(options, QStringLiteral("  "));
    return out;
}

const OptionDoc *findOption(const CommandDoc &command, const QString &name)
{
    if (name == QLatin1String(kHelpOption.name))
        return &kHelpOption;
    for (const OptionDoc &o : command.options)
        if (name == QLatin1String(o.name))
            return &o;
    return nullptr;
}

QString manPage(const ProgramDoc &program, const QString &version)
{
    QString out;
    out += QStringLiteral(".TH %1 1 \"\" \"Kestrova Videos 97 %2\" \"User Commands\"\n")
               .arg(roff(program.name.toUpper()), roff(version));
    out += QStringLiteral(".SH NAME\n") + roff(program.name) + QStringLiteral(" \\- ") + roff(program.purpose) +
           QLatin1Char('\n');
    out += QStringLiteral(".SH SYNOPSIS\n");
    for (qsizetype i = 0; i < program.synopsis.size(); ++i) {
        if (i > 0)
            out += QStringLiteral(".br\n");
        out += QStringLiteral("\\fB") + roff(program.name) + QStringLiteral("\\fR ") + roffArguments(program.synopsis[i]) +
               QLatin1Char('\n');
    }
    out += QStringLiteral(".SH DESCRIPTION\n");
    for (qsizetype i = 0; i < program.description.size(); ++i)
        out += (i > 0 ? QStringLiteral(".PP\n") : QString()) + roff(program.description[i]) + QLatin1Char('\n');
    if (!program.commands.empty()) {
        out += QStringLiteral(".SH COMMANDS\n");
        for (const CommandDoc &c : program.commands) {
            out += QStringLiteral(".TP\n\\fB") + roff(wordsOf(c.name)) + QStringLiteral("\\fR ") +
                   roffArguments(wordsOf(c.usage)) + QLatin1Char('\n') + roff(wordsOf(c.summary)) + QLatin1Char('\n');
            if (!c.options.empty()) {
                out += QStringLiteral(".RS\n");
                manOptions(out, c.options);
                out += QStringLiteral(".RE\n");
            }
        }
    }
    out += QStringLiteral(".SH OPTIONS\n");
    manOptions(out, program.options);
    manPairs(out, "EXIT STATUS", program.exitStatuses, false);
    manPairs(out, "FILES", program.files, true);
    if (!program.examples.empty()) {
        out += QStringLiteral(".SH EXAMPLES\n");
        for (const auto &[line, what] : program.examples)
            out += QStringLiteral(".PP\n") + roff(what) + QStringLiteral("\n.PP\n.RS\n.EX\n") + roff(line) +
                   QStringLiteral("\n.EE\n.RE\n");
    }
    if (!program.seeAlso.isEmpty()) {
        out += QStringLiteral(".SH SEE ALSO\n");
        QStringList refs;
        for (const QString &ref : program.seeAlso) {
            const qsizetype paren = ref.indexOf(QLatin1Char('('));
            refs << QStringLiteral("\\fB") + roff(ref.left(paren)) + QStringLiteral("\\fR") + ref.mid(paren);
        }
        out += refs.join(QStringLiteral(",\n")) + QLatin1Char('\n');
    }
    return out;
}

QString bashCompletion(const ProgramDoc &program, const QStringList &fieldNames)
{
    const QString fn = functionName(program);
    QString out = QStringLiteral("# bash completion for %1, written by %1 from its own usage.\n").arg(program.name);
    out += fn + QStringLiteral("_files()\n{\n"
                               "    local IFS=$'\\n'\n"
                               "    compopt -o filenames 2>/dev/null\n"
                               "    if [[ $1 == dbf ]]; then\n"
                               "        COMPREPLY+=( $(compgen -d -- \"$cur\") $(compgen -f -X '!*.[dD][bB][fF]' -- \"$cur\") )\n"
                               "    else\n"
                               "        COMPREPLY+=( $(compgen -f -- \"$cur\") )\n"
                               "    fi\n}\n\n");
    out += fn + QStringLiteral("()\n{\n"
                               "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
                               "    COMPREPLY=()\n");
    const QString globalOptions = optionNames(program.options).join(QLatin1Char(' '));
    if (program.commands.empty()) {
        out += QStringLiteral("    if [[ $cur == [-/]* ]]; then\n"
                              "        COMPREPLY=( $(compgen -W %1 -- \"$cur\") )\n"
                              "        return\n    fi\n    %2_files dbf\n}\n")
                   .arg(shellQuoted(globalOptions), fn);
    } else {
        QStringList names;
        for (const CommandDoc &c : program.commands)
            names << wordsOf(c.name);
        out += QStringLiteral("    local commands=%1\n    local fields=%2\n")
                   .arg(shellQuoted(names.join(QLatin1Char(' '))), shellQuoted(fieldNames.join(QLatin1Char(' '))));
        out += QStringLiteral("    if (( COMP_CWORD == 1 )); then\n"
                              "        COMPREPLY=( $(compgen -W \"$commands %1\" -- \"$cur\") )\n"
                              "        return\n    fi\n")
                   .arg(globalOptions);
        out += QStringLiteral("    local command=${COMP_WORDS[1]} options=--help takesfields=\n"
                              "    case $command in\n"
                              "        help) COMPREPLY=( $(compgen -W \"$commands\" -- \"$cur\") ); return ;;\n");
        for (const CommandDoc &c : program.commands) {
            if (c.options.empty() && !takesFields(c))
                continue;
            out += QStringLiteral("        %1) options='%2 --help'%3 ;;\n")
                       .arg(wordsOf(c.name), optionNames(c.options).join(QLatin1Char(' ')),
                            takesFields(c) ? QStringLiteral(" takesfields=1") : QString());
        }
        out += QStringLiteral("    esac\n    case $command:$prev in\n");
        for (const CommandDoc &c : program.commands) {
            for (const OptionDoc &o : c.options) {
                QStringList choices;
                const QString pattern = QStringLiteral("        %1:%2) ").arg(wordsOf(c.name), wordsOf(o.name));
                switch (valueKind(o, &choices)) {
                case ValueKind::Choices:
                    out += pattern + QStringLiteral("COMPREPLY=( $(compgen -W %1 -- \"$cur\") ); return ;;\n")
                                         .arg(shellQuoted(choices.join(QLatin1Char(' '))));
                    break;
                case ValueKind::File: out += pattern + fn + QStringLiteral("_files; return ;;\n"); break;
                case ValueKind::Printer:
                    out += pattern + QStringLiteral("COMPREPLY=( $(compgen -W \"$(lpstat -e 2>/dev/null)\" -- \"$cur\") ) ;;\n");
                    break;
                case ValueKind::Free: out += pattern + QStringLiteral("return ;;\n"); break;
                case ValueKind::None: break;
                }
            }
        }
        out += QStringLiteral("    esac\n"
                              "    if [[ $cur == -* ]]; then\n"
                              "        COMPREPLY+=( $(compgen -W \"$options\" -- \"$cur\") )\n"
                              "        return\n    fi\n"
                              "    if (( COMP_CWORD == 2 )); then\n"
                              "        %1_files dbf\n        return\n    fi\n"
                              "    if [[ -n $takesfields && $cur != *=* ]]; then\n"
                              "        COMPREPLY+=( $(compgen -W \"$fields\" -S = -- \"$cur\") )\n"
                              "        compopt -o nospace 2>/dev/null\n"
                              "    fi\n"
                              "    %1_files\n}\n")
                   .arg(fn);
    }
    out += QStringLiteral("complete -F %1 %2\n").arg(fn, program.name);
    return out;
}

QString zshCompletion(const ProgramDoc &program, const QStringList &fieldNames)
{
    QString out = QStringLiteral("#compdef %1\n# zsh completion for %1, written by %1 from its own usage.\n\n").arg(program.name);
    const QString globalOptions = optionNames(program.options).join(QLatin1Char(' '));
    if (program.commands.empty()) {
        out += QStringLiteral("if [[ $PREFIX == [-/]* ]]; then\n    compadd -- %1\n    return\nfi\n"
                              "_files -g '*.(#i)dbf(-.)'\n")
                   .arg(globalOptions);
        return out;
    }
    out += QStringLiteral("local -a commands fields options\ncommands=(\n");
    for (const CommandDoc &c : program.commands) {
        const QString summary = wordsOf(c.summary).section(QLatin1Char(';'), 0, 0);
        out += QStringLiteral("    %1\n").arg(shellQuoted(wordsOf(c.name) + QLatin1Char(':') + summary));
    }
    out += QStringLiteral(")\nfields=( %1 )\n").arg(fieldNames.join(QLatin1Char(' ')));
    out += QStringLiteral("if (( CURRENT == 2 )); then\n"
                          "    _describe -t commands command commands\n"
                          "    [[ $PREFIX == -* ]] && compadd -- %1\n"
                          "    return\nfi\n"
                          "local takesfields=\n"
                          "case $words[2] in\n"
                          "    help) _describe -t commands command commands; return ;;\n")
               .arg(globalOptions);
    for (const CommandDoc &c : program.commands)
        out += QStringLiteral("    %1) options=( %2 --help )%3 ;;\n")
                   .arg(wordsOf(c.name), optionNames(c.options).join(QLatin1Char(' ')),
                        takesFields(c) ? QStringLiteral("; takesfields=1") : QString());
    out += QStringLiteral("esac\ncase $words[2]:$words[CURRENT-1] in\n");
    for (const CommandDoc &c : program.commands) {
        for (const OptionDoc &o : c.options) {
            QStringList choices;
            const QString pattern = QStringLiteral("    %1:%2) ").arg(wordsOf(c.name), wordsOf(o.name));
            switch (valueKind(o, &choices)) {
            case ValueKind::Choices: out += pattern + QStringLiteral("compadd -- %1; return ;;\n").arg(choices.join(QLatin1Char(' '))); break;
            case ValueKind::File: out += pattern + QStringLiteral("_files; return ;;\n"); break;
            case ValueKind::Printer: out += pattern + QStringLiteral("compadd -- ${(f)\"$(lpstat -e 2>/dev/null)\"} ;;\n"); break;
            case ValueKind::Free: out += pattern + QStringLiteral("return ;;\n"); break;
            case ValueKind::None: break;
            }
        }
    }
    out += QStringLiteral("esac\n"
                          "if [[ $PREFIX == -* ]]; then\n    compadd -- $options\n    return\nfi\n"
                          "if (( CURRENT == 3 )); then\n    _files -g '*.(#i)dbf(-.)'\n    return\nfi\n"
                          "[[ -n $takesfields && $PREFIX != *=* ]] && compadd -S '=' -- $fields\n"
                          "_files\n");
    return out;
}

} // namespace kvdoc
