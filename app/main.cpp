#include "base/paths.h"
#include "app/ui/commandkeys.h"
#include "app/ui/mainwindow.h"
#include "app/ui/qtprompt.h"
#include "cli/usage/programdoc.h"
#include "help/help.h"
#include "store/catalogue.h"

#include <QApplication>
#include <QFileInfo>
#include <cstdio>

namespace {

void print(FILE *to, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, bytes.size(), to);
}

// --help, --version and the build's manual page and completions need no display. An
// exit code when one of them was given.
int programOption(int argc, char **argv)
{
    const QString first = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const QString second = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const kvdoc::ProgramDoc &program = kvdoc::videosProgram();
    if (first == QLatin1String("--help") || first == QLatin1String("-h"))
        print(stdout, kvdoc::usageText(program));
    else if (first == QLatin1String("--version"))
        print(stdout, kvdoc::versionText(program) + QLatin1Char('\n'));
    else if (first == QLatin1String("--man"))
        print(stdout, kvdoc::manPage(program, QStringLiteral(KV_VERSION)));
    else if (first == QLatin1String("--completion") && second == QLatin1String("bash"))
        print(stdout, kvdoc::bashCompletion(program, {}));
    else if (first == QLatin1String("--completion") && second == QLatin1String("zsh"))
        print(stdout, kvdoc::zshCompletion(program, {}));
    else
        return -1;
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (const int exit = programOption(argc, argv); exit >= 0)
        return exit;
    QApplication app(argc, argv);
    const kvdoc::VideosArguments arguments = kvdoc::videosArguments(app.arguments().mid(1));
    if (!arguments.error.isEmpty()) {
        print(stderr, arguments.error + QLatin1Char('\n') + kvdoc::usageText(kvdoc::videosProgram()));
        return 2;
    }
    kv::initApplicationIdentity();
    kv::installHelpKey(app); // F1 anywhere opens the topic of the window in front
    kv::installCommandKeys(app);
    // The windows carry the program's title in their own captions ("Error", "Kestrova
    // Videos 97 (MASTER)"), so no display name is appended to them.
    kv::QtPrompt prompt;
    kv::Settings settings;
    kv::Workspace workspace(settings, prompt);
    kv::TMain main(workspace, app.arguments().mid(1));
    if (!main.started())
        return 0; // no catalogue could be made to open
    // A catalogue named on the command line (a file manager's "Open With") is opened as
    // Open Database opens one; one that is not a catalogue gets its message and the
    // program goes on with the one it opened.
    if (!arguments.file.isEmpty()) {
        if (!kv::hasDbfExtension(arguments.file))
            prompt.showError(QString::fromLatin1(kv::kInvalidFileTypeMessage));
        else
            main.OpenSaveFile(QFileInfo(arguments.file).absoluteFilePath());
    }
    // The edit window is created here, after the main window, once it exists.
    main.show();
    return app.exec();
}
