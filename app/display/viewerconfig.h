#pragma once
// The rules of the Viewer Configuration: what its pages show of the catalogue settings,
// and what closing it makes of the texts on them.
#include "app/settings/settings.h"

#include <QFont>
#include <QStringList>
#include <optional>

namespace kv {

inline constexpr char kDisplayYes[] = "Yes";
inline constexpr char kDisplayNo[] = "No";

// A font as the dialog names it: "12pt Arial".
QString fontText(const QFont &font);

// The "Field Order" list: row r holds the caption of the field whose viewer position is
// r + 1 (a later field taking a row that an earlier one took); rows no field claims
// stay empty.
QStringList orderRows(const Settings &s);
// The list after "D&efaults": the captions in field-number order.
QStringList defaultOrderRows(const Settings &s);

// A double-click on a "DISPLAY IT" cell: "Yes" becomes "No", anything else "Yes".
QString toggledDisplayText(const QString &text);

// A "WIDTH" cell as a width: the text without surrounding blanks read as a whole number,
// 10 unless it is within 1 ... 255.
int widthFromText(const QString &text);

// What the pages hold when the dialog is closed; entry n - 1 of widths, display and
// names belongs to field number n, order is the list from top to bottom.
struct ViewerConfigTexts {
    QStringList widths;  // "WIDTH"
    QStringList display; // "DISPLAY IT"
    QStringList order;   // the "Field Order" list
    QStringList names;   // "NAME TO USE"
};

// Two rows of "NAME TO USE" that would give two fields the same caption (0-based rows).
struct DuplicateCaption {
    int first = 0;
    int second = 0;
    QString message; // Two field names have the same name "...".  Please change one.
};
// The first such pair, pairs taken in the order of their first row, then their second.
// Compared exactly (letter case counts) as the captions will be stored, cut to 20
// characters, so that two names alike in their first 20 characters are caught too.
std::optional<DuplicateCaption> findDuplicateCaption(const QStringList &names);

// Closing the dialog. Refused, changing nothing, while two captions are equal.
// Otherwise, in this order: every width becomes widthFromText(); a field is shown
// exactly when its cell reads "Yes"; each field's viewer position becomes the first
// row of the order list, not taken by an earlier field, that holds its caption as it
// was before closing (no such row: the position stays); each caption becomes its
// "NAME TO USE" text cut to 20 characters.
struct ViewerConfigClose {
    std::optional<DuplicateCaption> refused;
    QStringList widths; // the widths as the "WIDTH" column shows them now
};
ViewerConfigClose closeViewerConfig(Settings &s, const ViewerConfigTexts &texts);

} // namespace kv
