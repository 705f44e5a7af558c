#include "tipoftheday.h"

#include "help/help.h"
#include "resources/helptopics.h"

#include <QCheckBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv {

namespace {

// The tip shown next, for the whole run; the first showing starts at a tip that
// changes from day to day, so that starting the program does not repeat one tip.
int &nextTipIndex()
{
    static int index = -1;
    return index;
}

int takeTipIndex(int count)
{
    int &index = nextTipIndex();
    if (index < 0)
        index = QDate::currentDate().dayOfYear();
    const int taken = index % count;
    index = taken + 1;
    return taken;
}

} // namespace

TTipOfTheDay::TTipOfTheDay(QWidget *parent, bool showTipsAtStartup)
    : QDialog(parent)
    , tips_(tips())
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
    showTipsCheck_->setChecked(showTipsAtStartup);
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

bool TTipOfTheDay::showTipsAtStartup() const { return showTipsCheck_->isChecked(); }

QString TTipOfTheDay::currentTip() const { return tipText_->text(); }

void TTipOfTheDay::nextTip()
{
    if (!tips_.isEmpty())
        tipText_->setText(tips_.at(takeTipIndex(int(tips_.size()))));
}

} // namespace kv
