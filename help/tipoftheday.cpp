#include "tipoftheday.h"

#include "help/help.h"
#include "resources/helptopics.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv {

TTipOfTheDay::TTipOfTheDay(QWidget *parent, const TipsState &state)
    : QDialog(parent)
    , tips_(tips())
    , start_(state.nextTip)
{
    setObjectName(QStringLiteral("TipOfTheDay"));
    setWindowTitle(QStringLiteral("Tip of the Day"));
    setModal(true);

    auto *icon = new QLabel;
    icon->setPixmap(applicationIcon().pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);
    auto *heading = new QLabel(QStringLiteral("Did you know..."));
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.3);
    heading->setFont(headingFont);

    tipText_ = new QLabel;
    tipText_->setObjectName(QStringLiteral("TipText"));
    tipText_->setWordWrap(true);
    tipText_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    tipText_->setTextFormat(Qt::PlainText);
    tipText_->setMinimumHeight(90);
    auto *tipFrame = new QFrame;
    tipFrame->setFrameShape(QFrame::StyledPanel);
    tipFrame->setBackgroundRole(QPalette::Base);
    tipFrame->setAutoFillBackground(true);
    auto *frameLayout = new QVBoxLayout(tipFrame);
    frameLayout->addWidget(heading);
    frameLayout->addWidget(tipText_, 1);

    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(tipFrame, 1);

    showTipsCheck_ = new QCheckBox(QStringLiteral("&Show Tips at Startup"));
    showTipsCheck_->setObjectName(QStringLiteral("ShowTipsCheck"));
    showTipsCheck_->setChecked(state.showAtStartup);
    nextButton_ = new QPushButton(QStringLiteral("&Next Tip"));
    nextButton_->setObjectName(QStringLiteral("NextTipButton"));
    nextButton_->setAutoDefault(false);
    auto *closeButton = new QPushButton(QStringLiteral("&Close"));
    closeButton->setObjectName(QStringLiteral("CloseButton"));
    closeButton->setDefault(true);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(showTipsCheck_);
    bottom->addStretch(1);
    bottom->addWidget(nextButton_);
    bottom->addWidget(closeButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);

    connect(nextButton_, &QPushButton::clicked, this, &TTipOfTheDay::nextTip);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);

    if (tips_.isEmpty()) {
        tipText_->setText(QStringLiteral("No tips are available."));
        nextButton_->setEnabled(false);
    } else {
        nextTip();
    }
    closeButton->setFocus();
    resize(480, 240);
}

TipsState TTipOfTheDay::state() const
{
    const int count = int(tips_.size());
    return {showTipsCheck_->isChecked(), count > 0 ? (shown_ + 1) % count : start_};
}

QString TTipOfTheDay::currentTip() const { return tipText_->text(); }

void TTipOfTheDay::nextTip()
{
    const int count = int(tips_.size());
    if (count == 0)
        return;
    shown_ = shown_ < 0 ? (start_ % count + count) % count : (shown_ + 1) % count;
    tipText_->setText(tips_.at(shown_));
}

} // namespace kv
