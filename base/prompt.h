#pragma once
// The one way the program asks and tells the user anything: message boxes,
// questions, beeps and the file, directory, font and colour dialogs. The program
// hands its Qt implementation to the workspace; tests hand over a scripted one; the
// command-line companion one that writes to standard error.
#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

namespace kv {

enum class MessageKind { Error, Warning, Confirm, Information };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

struct FileDialogSpec {
    QString title;
    QString filter;           // "Database Files (*.DBF)|*.DBF" style, pairs separated by '|'
    QString defaultExtension; // without the dot
    QString initialPath;
    bool mustExist = false;        // open dialogs
    bool confirmOverwrite = false; // save dialogs
};

// What the platform's print dialog answers: the printer chosen (or a PDF file to write
// instead) and the number of copies.
struct PrintRequest {
    QString printer;
    QString pdfPath; // not empty: print into this PDF file
    int copies = 1;
};

class Prompt {
public:
    virtual ~Prompt();

    // caption is the window title ("Error", "Warning", "Confirm", "Notice", ...).
    virtual Answer message(MessageKind kind, const QString &caption, const QString &text, Buttons buttons,
                           Answer defaultAnswer) = 0;
    virtual void beep() = 0;
    // Empty when cancelled.
    virtual QString openFileName(const FileDialogSpec &dialog) = 0;
    virtual QString saveFileName(const FileDialogSpec &dialog) = 0;
    virtual QString directory(const QString &title, const QString &start) = 0;
    virtual std::optional<QFont> font(const QFont &initial, const QString &title) = 0;
    virtual std::optional<QColor> color(const QColor &initial, const QString &title) = 0;
    // The print dialog, opened on printer (empty: the default one); nothing when
    // cancelled. Without a dialog to show, printing is cancelled.
    virtual std::optional<PrintRequest> printDialog(const QString &title, const QString &printer);

    // Shorthands for the common boxes.
    void showError(const QString &text);                           // caption "Error", OK
    void showMessage(const QString &caption, const QString &text); // information, OK
    bool askYesNo(const QString &caption, const QString &text, Answer defaultAnswer = Answer::Yes);
};

// Answers every question with its default, shows nothing and cancels every dialog:
// for work that runs with nobody to ask.
class SilentPrompt final : public Prompt {
public:
    Answer message(MessageKind, const QString &, const QString &, Buttons, Answer defaultAnswer) override
    {
        return defaultAnswer;
    }
    void beep() override {}
    QString openFileName(const FileDialogSpec &) override { return QString(); }
    QString saveFileName(const FileDialogSpec &) override { return QString(); }
    QString directory(const QString &, const QString &) override { return QString(); }
    std::optional<QFont> font(const QFont &, const QString &) override { return std::nullopt; }
    std::optional<QColor> color(const QColor &, const QString &) override { return std::nullopt; }
};

} // namespace kv
