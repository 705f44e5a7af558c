#include "prompt.h"

namespace kv {

Prompt::~Prompt() = default;

namespace {
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

SilentPrompt silent;
Prompt *installed = nullptr;
} // namespace

Prompt &prompt() { return installed ? *installed : silent; }
void setPrompt(Prompt *p) { installed = p; }

void showError(const QString &text)
{
    prompt().message(MessageKind::Error, QStringLiteral("Error"), text, Buttons::Ok, Answer::Ok);
}

void showMessage(const QString &caption, const QString &text)
{
    prompt().message(MessageKind::Information, caption, text, Buttons::Ok, Answer::Ok);
}

bool askYesNo(const QString &caption, const QString &text, Answer defaultAnswer)
{
    const MessageKind kind = caption == QLatin1String("Warning") ? MessageKind::Warning : MessageKind::Confirm;
    return prompt().message(kind, caption, text, Buttons::YesNo, defaultAnswer) == Answer::Yes;
}

} // namespace kv
