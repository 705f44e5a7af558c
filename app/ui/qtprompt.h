#pragma once
#include "base/prompt.h"

class QWidget;

namespace kv {

// The program's prompt: Qt message boxes and common dialogs, parented to the
// active window. A beep comes before questions and warnings.
class QtPrompt final : public Prompt {
public:
    Answer message(MessageKind kind, const QString &caption, const QString &text, Buttons buttons,
                   Answer defaultAnswer) override;
    void beep() override;
    QString openFileName(const FileDialogSpec &dialog) override;
    QString saveFileName(const FileDialogSpec &dialog) override;
    QString directory(const QString &title, const QString &start) override;
    std::optional<QFont> font(const QFont &initial, const QString &title) override;
    std::optional<QColor> color(const QColor &initial, const QString &title) override;
    std::optional<PrintRequest> printDialog(const QString &title, const QString &printer) override;
};

} // namespace kv
