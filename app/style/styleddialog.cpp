#include "app/style/styleddialog.h"

namespace kv {

namespace {

const LookOwner *lookOwnerAround(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (const auto *owner = dynamic_cast<const LookOwner *>(w))
            return owner;
    }
    return nullptr;
}

} // namespace

StyledDialog::StyledDialog(WindowFamily family, QWidget *parent, Placement placement)
    : QDialog(parent), family_(family), placement_(placement)
{
}

const Settings *StyledDialog::lookSettings() const
{
    const LookOwner *owner = lookOwnerAround(parentWidget());
    return owner ? owner->lookSettings() : nullptr;
}

void StyledDialog::style()
{
    if (const Settings *s = lookSettings())
        styleWindow(this, family_, *s, placement_);
}

void StyledDialog::styleChild(QWidget *window, Placement placement) const
{
    if (const Settings *s = lookSettings())
        styleWindow(window, family_, *s, placement);
}

int StyledDialog::execChild(QDialog &dialog) { return runner_ ? runner_->exec(dialog) : dialog.exec(); }

void StyledDialog::showChild(QDialog &dialog)
{
    if (runner_)
        runner_->show(dialog);
    else
        dialog.show();
}

StyledDialog *styledDialogOf(QWidget *widget)
{
    for (QWidget *w = widget; w; w = w->parentWidget()) {
        if (auto *dialog = qobject_cast<StyledDialog *>(w))
            return dialog;
    }
    return nullptr;
}

} // namespace kv
