// What kestrova-videos says about itself: its --help, its manual page and its completions.
#include "cli/usage/programdoc.h"

namespace kvdoc {

const ProgramDoc &videosProgram()
{
    static const ProgramDoc program{
        QStringLiteral("kestrova-videos"),
        QStringLiteral("catalogue a private video collection"),
        {QStringLiteral("[/BROWSE] [FILE.DBF]"), QStringLiteral("--help | --version")},
        {QStringLiteral("Kestrova Videos 97 catalogues video tapes and discs, one record each, in dBASE tables "
                        "(.DBF) with a dBASE IV production index (.MDX). It shows the catalogue in a configurable "
                        "grid, edits records in a four-page window fed by pick lists, searches, sorts, prints "
                        "reports and tape labels, imports, exports, backs up and restores."),
         QStringLiteral("Started without a file, it opens the catalogue used last, or MASTER.DBF in its data "
                        "folder, made at the first start. Given a FILE.DBF, it opens that catalogue as Open "
                        "Database does; a file that is not a catalogue of the program gets its message and the "
                        "program opens as usual."),
         QStringLiteral("The help pages are opened with F1 or the Help menu. kestrova-cli(1) gives batch access "
                        "to the same catalogues.")},
        {{"/BROWSE", "", "Only show the catalogue: every command that would change records, lists or the viewer "
                         "is disabled. It is recognised in any letter case, as the first argument only."},
         {"FILE.DBF", "", "Open this catalogue instead of the one used last."},
         {"--help", "", "Print the usage and exit."},
         {"--version", "", "Print the version and exit."}},
        {},
        {{QStringLiteral("0"), QStringLiteral("The program ended normally, or no catalogue could be made to open.")},
         {QStringLiteral("2"), QStringLiteral("The command line was wrong (its message says how).")}},
        {{QStringLiteral("$XDG_CONFIG_HOME/kestrova-videos/QVRVID.INI"),
          QStringLiteral("The program settings (usually under ~/.config).")},
         {QStringLiteral("$XDG_DATA_HOME/kestrova-videos/"),
          QStringLiteral("The program folder (usually under ~/.local/share): the default catalogue MASTER.DBF, the "
                         "report definitions QVRVID.URP and the default pick lists (.LST).")},
         {QStringLiteral("FILE.MDX, FILE.INI, FILE.001 ... FILE.016"),
          QStringLiteral("Beside each catalogue FILE.DBF: its index, its settings and its pick lists.")},
         {QStringLiteral("/usr/share/kestrova-videos/"),
          QStringLiteral("The delivered help pages, tips and default pick lists.")}},
        {{QStringLiteral("kestrova-videos ~/Videos/FILMS.DBF"), QStringLiteral("Open the catalogue FILMS.DBF.")},
         {QStringLiteral("kestrova-videos /BROWSE"), QStringLiteral("Show the last catalogue without letting it change.")}},
        {QStringLiteral("kestrova-cli(1)")},
    };
    return program;
}

VideosArguments videosArguments(const QStringList &arguments)
{
    VideosArguments parsed;
    QStringList rest = arguments;
    if (!rest.isEmpty() && rest.first().compare(QLatin1String("/BROWSE"), Qt::CaseInsensitive) == 0) {
        parsed.browseOnly = true;
        rest.removeFirst();
    }
    for (const QString &word : rest) {
        if (word.startsWith(QLatin1Char('-')))
            parsed.error = QStringLiteral("Unknown option \"%1\".").arg(word);
        else if (!parsed.file.isEmpty())
            parsed.error = QStringLiteral("Only one catalogue can be opened: \"%1\" is one too many.").arg(word);
        else
            parsed.file = word;
        if (!parsed.error.isEmpty())
            return parsed;
    }
    return parsed;
}

} // namespace kvdoc
