// kestrova-cli as its --help, its manual page and its completions describe it: the
// registered commands with their options, and what holds for all of them.
#include "commands.h"

namespace kvcli {

kvdoc::ProgramDoc cliProgram()
{
    kvdoc::ProgramDoc program{
        QStringLiteral("kestrova-cli"),
        QStringLiteral("batch access to Kestrova Videos 97 catalogues"),
        {QStringLiteral("COMMAND [ARGUMENTS]"), QStringLiteral("help [COMMAND]"), QStringLiteral("COMMAND --help"),
         QStringLiteral("--help | --version")},
        {QStringLiteral("kestrova-cli creates, checks, lists and changes the catalogues of kestrova-videos(1): "
                        "dBASE tables (.DBF) with a dBASE IV production index (.MDX). Each command runs the logic "
                        "the program's windows run for the same work, reads the same settings and words its "
                        "messages as the program does. Messages go to standard error; listings go to standard "
                        "output."),
         QStringLiteral("FILE.DBF is a catalogue. A word beginning with -- is one of the command's options; a "
                        "lone -- ends the options, so that the words after it are taken as they stand.")},
        {{"--help", "", "Print the usage of every command and exit."},
         {"--version", "", "Print the version and exit."}},
        {},
        {{QStringLiteral("0"), QStringLiteral("Success.")},
         {QStringLiteral("1"), QStringLiteral("The program refused; the message on standard error says why.")},
         {QStringLiteral("2"), QStringLiteral("Usage error: a command, option or argument that is wrong or missing.")}},
        {{QStringLiteral("$XDG_CONFIG_HOME/kestrova-videos/QVRVID.INI"),
          QStringLiteral("The program settings (usually under ~/.config), read as the program reads them.")},
         {QStringLiteral("$XDG_DATA_HOME/kestrova-videos/"),
          QStringLiteral("The program folder (usually under ~/.local/share): MASTER.DBF, the report definitions "
                         "QVRVID.URP and the default pick lists (.LST).")},
         {QStringLiteral("FILE.MDX, FILE.INI, FILE.001 ... FILE.016"),
          QStringLiteral("Beside each catalogue FILE.DBF: its index, its settings and its pick lists.")}},
        {{QStringLiteral("kestrova-cli new FILMS.DBF"), QStringLiteral("Create an empty catalogue.")},
         {QStringLiteral("kestrova-cli add FILMS.DBF Title=Vertigo Year=1958 Category=Thriller"),
          QStringLiteral("Append a record.")},
         {QStringLiteral("kestrova-cli search FILMS.DBF Category=Drama --or 'Year>1950<1960'"),
          QStringLiteral("List the dramas and the films of the fifties on a terminal.")},
         {QStringLiteral("kestrova-cli report FILMS.DBF \"Title and Media Number Report\" --pdf titles.pdf"),
          QStringLiteral("Print a report to a PDF file.")},
         {QStringLiteral("kestrova-cli backup FILMS.DBF table /media/usb"),
          QStringLiteral("Copy the catalogue's table files to a USB stick.")}},
        {QStringLiteral("kestrova-videos(1)")},
    };
    for (const Command &c : commands())
        program.commands.push_back(c.doc());
    return program;
}

} // namespace kvcli
