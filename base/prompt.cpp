#include "prompt.h"

namespace kv {

Prompt::~Prompt() = default;

std::optional<PrintRequest> Prompt::printDialog(const QString &, const QString &) { return std::nullopt; }

void Prompt::showError(const QString &text)
{
    message(MessageKind::Error, QStringLiteral("Error"), text, Buttons::Ok, Answer::Ok);
}

void Prompt::showMessage(const QString &caption, const QString &text)
{
    message(MessageKind::Information, caption, text, Buttons::Ok, Answer::Ok);
}

bool Prompt::askYesNo(const QString &caption, const QString &text, Answer defaultAnswer)
{
    const MessageKind kind = caption == QLatin1String("Warning") ? MessageKind::Warning : MessageKind::Confirm;
    return message(kind, caption, text, Buttons::YesNo, defaultAnswer) == Answer::Yes;
}

} // namespace kv
