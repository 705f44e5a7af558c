#pragma once
// The tip-of-the-day window.
#include "help/help.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace kv {

class TTipOfTheDay : public QDialog {
    Q_OBJECT
public:
    TTipOfTheDay(QWidget *parent, const TipsState &state);

    // The box's state and the tip after the one shown.
    TipsState state() const;
    QString currentTip() const;

public Q_SLOTS:
    void nextTip();

private:
    QStringList tips_;
    int shown_ = -1; // the tip shown, -1 before the first
    int start_;      // the tip shown first
    QLabel *tipText_;
    QCheckBox *showTipsCheck_;
    QPushButton *nextButton_;
};

} // namespace kv
