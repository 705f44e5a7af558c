#include "reports/ui/labeldimsdialog.h"

#include "reports/ui/dialogbuttons.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace kv {

namespace {

constexpr const char *kBoxNames[6] = {"Top", "Left", "Width", "Height", "Gap", "Count"};
constexpr const char *kBoxCaptions[6] = {"Top Margin", "Left Margin", "Label Width",
                                         "Label Height", "Gap", "Labels per Page"};

} // namespace

TLabelDims::TLabelDims(Workspace &workspace, QWidget *parent) : StyledDialog(WindowFamily::Report, parent), ws_(workspace)
{
    setObjectName(QStringLiteral("LabelDims"));
    setWindowTitle(QStringLiteral("Dimensions (in inches)"));
    const LabelDimsForm form = labelDimsForm(ws_.settings().labelDimensions);
    auto *columns = new QHBoxLayout;
    for (int kind = 0; kind < 2; ++kind) {
        const QString prefix = kind == 0 ? QStringLiteral("Face") : QStringLiteral("Spine");
        auto *group = new QGroupBox(prefix + QStringLiteral(" Labels"), this);
        auto *grid = new QGridLayout(group);
        for (int i = 0; i < 6; ++i) {
            const int box = kind * 6 + i;
            auto *edit = new QLineEdit(form[size_t(box)], group);
            edit->setObjectName(prefix + QString::fromLatin1(kBoxNames[i]));
            edit->setMaxLength(10);
            boxes_[size_t(box)] = edit;
            grid->addWidget(new QLabel(QString::fromLatin1(kBoxCaptions[i]), group), i, 0);
            grid->addWidget(edit, i, 1);
        }
        columns->addWidget(group);
    }
    QHBoxLayout *buttons = makeOkCancelRow(this, OkButton, CancelButton);
    auto *box = new QVBoxLayout(this);
    box->addLayout(columns);
    box->addLayout(buttons);
    connect(OkButton, &QPushButton::clicked, this, &TLabelDims::OkButtonClick);
}

void TLabelDims::showEvent(QShowEvent *event)
{
    StyledDialog::showEvent(event);
    if (!event->spontaneous())
        style();
}

void TLabelDims::OkButtonClick()
{
    LabelDimsForm form;
    for (int box = 0; box < kLabelDimBoxes; ++box)
        form[size_t(box)] = boxes_[size_t(box)]->text();
    const LabelDimsCheck check = checkLabelDims(form, ws_.prompt());
    if (!check.dims) {
        boxes_[size_t(check.failedBox)]->setFocus(Qt::OtherFocusReason);
        return;
    }
    ws_.settings().labelDimensions = *check.dims;
    QString error;
    if (!writeSettings(programSettingsPath(), SettingsScope::Program, ws_.settings(), &error))
        ws_.prompt().showError(error);
    accept();
}

} // namespace kv
