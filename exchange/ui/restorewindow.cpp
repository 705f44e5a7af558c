#include "exchange/ui/restorewindow.h"

#include "exchange/commands/backuprun.h"

#include <QPushButton>

namespace kv {

namespace {

const ExchangeDialog::Captions kCaptions{
    "TMyRestore",
    "Restore",
    "What To Restore",
    {"&Database File (*.DBF)", "Data &Lists of a Database (*.0xx)", "Config &File of a Database (*.INI)",
     "Global &Report Definitions (*.URP)"},
    "&Start Restore",
};

} // namespace

TMyRestore::TMyRestore(Workspace &workspace, QWidget *parent)
    : ExchangeDialog(workspace, kCaptions, QSize(322, 195), parent)
{
    connect(StartButton, &QPushButton::clicked, this, &TMyRestore::StartButtonClick);
}

void TMyRestore::StartButtonClick()
{
    const ExchangeKind chosen = kind();
    const QString source = ws_.prompt().openFileName(restoreDialog(chosen));
    if (source.isEmpty())
        return;
    run([&](const CopyControl &control) { return restore(ws_, chosen, source, control).outcome; });
}

} // namespace kv
