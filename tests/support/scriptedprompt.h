#pragma once
// The prompt for tests: records every message and dialog, answers from a queue.
// A question with no queued answer fails the test at once (and answers Cancel/No).
#include "base/prompt.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <variant>

namespace kvtest {

struct Shown {
    QString kind;    // "message", "open", "save", "directory", "font", "color", "print", "beep"
    QString caption; // message caption or dialog title
    QString text;    // message text
    kv::Buttons buttons = kv::Buttons::Ok;
    kv::Answer defaultAnswer = kv::Answer::Ok; // the default button of a message box
};

class ScriptedPrompt : public kv::Prompt {
public:
    ScriptedPrompt();
    ~ScriptedPrompt() override;

    // Queue answers, consumed in order by the call of the matching kind.
    ScriptedPrompt &answer(kv::Answer a);
    ScriptedPrompt &answerFile(const QString &path); // "" = cancel
    ScriptedPrompt &answerFont(const std::optional<QFont> &f);
    ScriptedPrompt &answerColor(const std::optional<QColor> &c);
    ScriptedPrompt &answerPrint(const std::optional<kv::PrintRequest> &r); // nullopt = cancel

    const std::vector<Shown> &shown() const { return shown_; }
    // Only the messages (not dialogs or beeps), as "caption: text".
    QStringList messages() const;
    int beeps() const { return beeps_; }
    bool allAnswersUsed() const { return queue_.empty(); }
    void clear() { shown_.clear(); }
    // Called as each message is shown, before it is answered: what the window shows then.
    std::function<void(const Shown &)> whileShown;

    kv::Answer message(kv::MessageKind kind, const QString &caption, const QString &text, kv::Buttons buttons,
                       kv::Answer defaultAnswer) override;
    void beep() override;
    QString openFileName(const kv::FileDialogSpec &dialog) override;
    QString saveFileName(const kv::FileDialogSpec &dialog) override;
    QString directory(const QString &title, const QString &start) override;
    std::optional<QFont> font(const QFont &initial, const QString &title) override;
    std::optional<QColor> color(const QColor &initial, const QString &title) override;
    std::optional<kv::PrintRequest> printDialog(const QString &title, const QString &printer) override;

private:
    struct PrintReply {
        bool cancelled = true;
        kv::PrintRequest request;
    };
    using Item = std::variant<kv::Answer, QString, std::optional<QFont>, std::optional<QColor>, PrintReply>;
    template <typename T> std::optional<T> take(const char *what);
    std::deque<Item> queue_;
    std::vector<Shown> shown_;
    int beeps_ = 0;
};

} // namespace kvtest
