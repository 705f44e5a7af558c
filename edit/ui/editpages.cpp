// The four pages of the edit window, built from the edit logic's table of boxes: each
// box with its label, in the pages' tab order; the check-out boxes framed together; the
// date boxes with their "Blank Date" buttons; the Oscar and miscellaneous "Select"
// buttons.
#include "edit/ui/myedit.h"

#include "help/help.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <algorithm>

namespace kv {

namespace {

const char *const kPageCaptions[4] = {"Par&ticulars", "&Attributes", "Li&brary", "&Other"};
const char *const kPageNames[4] = {"ParticularsPage", "AttributesPage", "LibraryPage", "OtherPage"};
const char *const kPageKeywords[4] = {"Particulars Page", "Attributes Page", "Library Page", "Other Page"};

// Boxes wide enough to take a row of their own.
bool wide(int field) { return boxMaxLength(field) >= 60; }

bool inCheckOutGroup(int field)
{
    return field == fields::CheckOut || field == fields::CheckDate || field == fields::CheckName;
}

QPushButton *smallButton(const char *name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

void TMyEdit::buildPages()
{
    Notebook = new QTabWidget(this);
    Notebook->setObjectName(QStringLiteral("Notebook"));
    std::array<QGridLayout *, 4> grids{};
    std::array<int, 4> rows{}, columns{};
    QGroupBox *checkOutGroup = nullptr;
    QGridLayout *checkOutGrid = nullptr;
    int checkOutRow = 0;
    for (int p = 0; p < 4; ++p) {
        auto *page = new QWidget(Notebook);
        page->setObjectName(QString::fromLatin1(kPageNames[p]));
        setHelpKeyword(page, QString::fromLatin1(kPageKeywords[p]));
        grids[size_t(p)] = new QGridLayout(page);
        grids[size_t(p)]->setColumnStretch(1, 1);
        grids[size_t(p)]->setColumnStretch(3, 1);
        Notebook->addTab(page, QString::fromLatin1(kPageCaptions[p]));
    }
    QList<QWidget *> tabOrder;
    for (const EditBox &b : editBoxes()) {
        QWidget *page = Notebook->widget(b.page - 1);
        QGridLayout *grid = grids[size_t(b.page - 1)];
        QWidget *control = nullptr;
        QWidget *cell = nullptr; // what goes into the grid: the control, or it with its buttons
        switch (b.kind) {
        case BoxKind::Text: {
            auto *edit = new QLineEdit(page);
            const int width = boxMaxLength(b.field);
            edit->setMaxLength(width);
            // A text longer than the box (put in whole) lets typing shorten it, never lengthen it.
            connect(edit, &QLineEdit::textEdited, edit, [edit, width](const QString &text) {
                const int limit = std::max(width, int(text.size()));
                if (edit->maxLength() != limit) {
                    const int cursor = edit->cursorPosition();
                    edit->setMaxLength(limit);
                    edit->setCursorPosition(cursor);
                }
            });
            control = edit;
            break;
        }
        case BoxKind::DropDown: {
            auto *combo = new QComboBox(page);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert); // the lists grow on update only
            // No inline completion: "Ann" typed stays "Ann", not the list's "Anna Karina".
            combo->setCompleter(nullptr);
            combo->lineEdit()->setMaxLength(boxMaxLength(b.field));
            combo->setProperty("kvList", b.list);
            control = combo;
            break;
        }
        case BoxKind::Date: {
            auto *edit = new QLineEdit(page);
            control = edit;
            break;
        }
        case BoxKind::Check: control = new QCheckBox(page); break;
        }
        control->setObjectName(QString::fromLatin1(b.name));
        boxes_[b.field] = control;
        tabOrder << control;
        cell = control;
        const auto withButtons = [&](std::initializer_list<QPushButton *> buttons) {
            auto *row = new QWidget(page);
            auto *h = new QHBoxLayout(row);
            h->setContentsMargins(0, 0, 0, 0);
            h->addWidget(control, 1);
            for (QPushButton *button : buttons) {
                h->addWidget(button);
                tabOrder << button;
            }
            cell = row;
        };
        if (b.field == fields::CheckDate || b.field == fields::PurchDate) {
            const bool check = b.field == fields::CheckDate;
            QPushButton *blank = smallButton(check ? "BlankCheckOut" : "BlankPurchDate", QStringLiteral("Blan&k Date"), page);
            auto *edit = static_cast<QLineEdit *>(control);
            connect(blank, &QPushButton::clicked, this, [edit] { edit->clear(); });
            withButtons({blank});
        } else if (b.field == fields::OscarAward || b.field == fields::OscarNom || b.field == fields::Miscellane) {
            const bool award = b.field == fields::OscarAward, nom = b.field == fields::OscarNom;
            const char *name = award ? "SelectOscarAward" : nom ? "SelectOscarNom" : "SelectMisc";
            const auto click = award ? &TMyEdit::SelectOscarAwardClick
                               : nom ? &TMyEdit::SelectOscarNomClick
                                     : &TMyEdit::SelectMiscClick;
            QPushButton *select = smallButton(name, QStringLiteral("Select"), page);
            connect(select, &QPushButton::clicked, this, click);
            withButtons({select});
        }
        QLabel *label = nullptr;
        if (b.label) {
            label = new QLabel(page);
            label->setObjectName(QString::fromLatin1(b.label));
            // Field labels take the minor title colour of the window's colour set; the
            // styling reads this mark (the title property of the window styling).
            label->setProperty("kvTitle", QStringLiteral("minor"));
            label->setBuddy(control);
            labels_[b.field] = label;
        }
        if (inCheckOutGroup(b.field)) {
            if (!checkOutGroup) {
                checkOutGroup = new QGroupBox(page);
                checkOutGroup->setObjectName(QStringLiteral("CheckOutGroup"));
                setHelpKeyword(checkOutGroup, QStringLiteral("Check Out"));
                checkOutGrid = new QGridLayout(checkOutGroup);
                grid->addWidget(checkOutGroup, rows[2] + 1, 0, 1, 4);
                rows[2] += 2;
            }
            if (label)
                checkOutGrid->addWidget(label, checkOutRow, 0);
            checkOutGrid->addWidget(cell, checkOutRow++, 1);
            continue;
        }
        int &row = rows[size_t(b.page - 1)];
        int &column = columns[size_t(b.page - 1)];
        if (wide(b.field) && column != 0) {
            ++row;
            column = 0;
        }
        if (label)
            grid->addWidget(label, row, column);
        grid->addWidget(cell, row, column + 1, 1, wide(b.field) ? 3 : 1);
        column = wide(b.field) ? 4 : column + 2;
        if (column >= 4) {
            ++row;
            column = 0;
        }
    }
    for (int i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    const char *const echoNames[3] = {"WarrantyItem", "LibraryItem", "WorthItem"};
    QLabel **echoes[3] = {&WarrantyItem, &LibraryItem, &WorthItem};
    for (int p = 1; p < 4; ++p) {
        QGridLayout *grid = grids[size_t(p)];
        grid->setRowStretch(rows[size_t(p)] + 1, 1);
        auto *echo = new QLabel(Notebook->widget(p));
        echo->setObjectName(QString::fromLatin1(echoNames[p - 1]));
        grid->addWidget(echo, rows[size_t(p)] + 2, 0, 1, 4);
        *echoes[p - 1] = echo;
    }
    grids[0]->setRowStretch(rows[0] + 1, 1);
}

} // namespace kv
