#pragma once
// The Restore window: which kind of file to restore; the file itself is asked for when
// the restore starts.
#include "exchange/ui/backupdialog.h"

namespace kv {

class TMyRestore : public ExchangeDialog {
    Q_OBJECT
public:
    explicit TMyRestore(Workspace &workspace, QWidget *parent = nullptr);

    void StartButtonClick();

private:
    void FormShow() override {}
};

} // namespace kv
