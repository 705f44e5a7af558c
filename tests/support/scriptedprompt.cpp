#include "scriptedprompt.h"

#include <gtest/gtest.h>

namespace kvtest {

ScriptedPrompt::ScriptedPrompt() = default;
ScriptedPrompt::~ScriptedPrompt() = default;

ScriptedPrompt &ScriptedPrompt::answer(kv::Answer a) { queue_.emplace_back(a); return *this; }
ScriptedPrompt &ScriptedPrompt::answerFile(const QString &path) { queue_.emplace_back(path); return *this; }
ScriptedPrompt &ScriptedPrompt::answerFont(const std::optional<QFont> &f) { queue_.emplace_back(f); return *this; }
ScriptedPrompt &ScriptedPrompt::answerColor(const std::optional<QColor> &c) { queue_.emplace_back(c); return *this; }
ScriptedPrompt &ScriptedPrompt::answerPrint(const std::optional<kv::PrintRequest> &r)
{
    queue_.emplace_back(PrintReply{!r, r.value_or(kv::PrintRequest())});
    return *this;
}

template <typename T> std::optional<T> ScriptedPrompt::take(const char *what)
{
    if (queue_.empty() || !std::holds_alternative<T>(queue_.front())) {
        ADD_FAILURE() << "unexpected " << what << " with no scripted answer";
        return std::nullopt;
    }
    T value = std::get<T>(queue_.front());
    queue_.pop_front();
    return value;
}

QStringList ScriptedPrompt::messages() const
{
    QStringList out;
    for (const Shown &s : shown_) {
        if (s.kind == QLatin1String("message"))
            out << s.caption + QStringLiteral(": ") + s.text;
    }
    return out;
}

kv::Answer ScriptedPrompt::message(kv::MessageKind, const QString &caption, const QString &text,
                                   kv::Buttons buttons, kv::Answer defaultAnswer)
{
    shown_.push_back({QStringLiteral("message"), caption, text, buttons, defaultAnswer});
    if (whileShown)
        whileShown(shown_.back());
    if (buttons == kv::Buttons::Ok)
        return kv::Answer::Ok;
    const auto a = take<kv::Answer>("question");
    return a ? *a : (buttons == kv::Buttons::OkCancel || buttons == kv::Buttons::YesNoCancel ? kv::Answer::Cancel
                                                                                              : kv::Answer::No);
}

void ScriptedPrompt::beep()
{
    ++beeps_;
}

QString ScriptedPrompt::openFileName(const kv::FileDialogSpec &dialog)
{
    shown_.push_back({QStringLiteral("open"), dialog.title, dialog.filter, kv::Buttons::OkCancel});
    return take<QString>("open dialog").value_or(QString());
}

QString ScriptedPrompt::saveFileName(const kv::FileDialogSpec &dialog)
{
    shown_.push_back({QStringLiteral("save"), dialog.title, dialog.filter, kv::Buttons::OkCancel});
    return take<QString>("save dialog").value_or(QString());
}

QString ScriptedPrompt::directory(const QString &title, const QString &)
{
    shown_.push_back({QStringLiteral("directory"), title, QString(), kv::Buttons::OkCancel});
    return take<QString>("directory dialog").value_or(QString());
}

std::optional<QFont> ScriptedPrompt::font(const QFont &, const QString &title)
{
    shown_.push_back({QStringLiteral("font"), title, QString(), kv::Buttons::OkCancel});
    return take<std::optional<QFont>>("font dialog").value_or(std::nullopt);
}

std::optional<QColor> ScriptedPrompt::color(const QColor &, const QString &title)
{
    shown_.push_back({QStringLiteral("color"), title, QString(), kv::Buttons::OkCancel});
    return take<std::optional<QColor>>("colour dialog").value_or(std::nullopt);
}

std::optional<kv::PrintRequest> ScriptedPrompt::printDialog(const QString &title, const QString &printer)
{
    shown_.push_back({QStringLiteral("print"), title, printer, kv::Buttons::OkCancel});
    if (queue_.empty() || !std::holds_alternative<PrintReply>(queue_.front())) {
        ADD_FAILURE() << "unexpected print dialog with no scripted answer";
        return std::nullopt;
    }
    const PrintReply reply = std::get<PrintReply>(queue_.front());
    queue_.pop_front();
    if (reply.cancelled)
        return std::nullopt;
    return reply.request;
}

} // namespace kvtest
