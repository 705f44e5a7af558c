#pragma once
// The rules of the edit window's record: what its boxes show for a record, the blank
// form, the change snapshot, the check-out stash, the six checks of an update and the
// writing of the fields. The window only reads its boxes into a RecordForm and back.
#include "app/settings/settings.h"
#include "base/prompt.h"
#include "edit/picklists.h"
#include "store/table.h"

#include <QDate>
#include <array>
#include <optional>

namespace kv {

// 1 add (a new, blank record), 2 edit (the current record), 3 copy (a new record that
// starts with the current one's values).
enum class EditMode { Add = 1, Edit = 2, Copy = 3 };

enum class BoxKind { Text, DropDown, Date, Check };

// One box of the edit window, in the order of its pages' tab order, which is also the
// order the Enter key follows.
struct EditBox {
    const char *name;  // control name
    int field;         // field number 1 ... 40
    int page;          // 1 ... 4
    BoxKind kind;
    const char *label; // the label showing the field's caption; null for the check boxes
    int list;          // pick list number, 0 for none
};
inline constexpr int kEditBoxCount = 40;
const std::array<EditBox, kEditBoxCount> &editBoxes();
// The box of a field number.
const EditBox &editBoxOf(int field);
// The most characters a box takes: the field's width or edit length.
int boxMaxLength(int field);

// What the boxes hold: the text of every box by field number (index 0 unused), the two
// check boxes as ticks.
struct RecordForm {
    std::array<QString, kFieldCount + 1> text;
    bool checkOut = false;
    bool viewed = false;
    bool operator==(const RecordForm &) const = default;
};

// Clear: every box empty but the play time and both prices, "0"; both boxes unticked.
RecordForm blankForm();
// The current record of the table as the boxes show it: texts as read, dates in the date
// box form, prices in the currency style, a box ticked only for exactly "Yes".
RecordForm loadForm(const Table &table);

// A date as a date box shows it: two-digit day and month and a four-digit year in the
// order and with the separator of the current date format; a null date leaves the box
// empty ("  /  /    " on screen).
QString dateBoxText(const QDate &date);
// The input mask of a date box for the current date format's separator.
QString dateBoxMask();
// A price in the currency style without padding: "1,234.50" in the U.S. setting.
QString priceText(double value);
// A price box left: its text rewritten in the currency style when it reads as a price;
// anything else stays as typed for the update to report.
QString reformattedPrice(const QString &text);

// The change snapshot: every value cut to its box's length, the dates to 10.
RecordForm snapshotOf(const RecordForm &form);
// True when a box differs from the snapshot: texts exactly, dates without the spaces
// around them, check boxes as ticked.
bool valuesChanged(const RecordForm &snapshot, const RecordForm &now);

// A remembered check-out date and person: unticking "Checked Out" puts them here and
// empties the boxes; ticking brings them back.
struct CheckOutStash {
    QString date;
    QString person;
    void fillFrom(const RecordForm &form);
    void untick(RecordForm &form);
    void tick(RecordForm &form) const;
};

// The title echo labels: the caption of field 1 and ": ", cut to 22, then the title.
QString titleEcho(const QString &titleCaption, const QString &title);

struct CheckFailure {
    QString message;
    int page;  // the page that holds the field
    int field; // the box to focus
};
// The values an update writes that the checks read.
struct CheckedValues {
    double listPrice = 0;
    double purchPrice = 0;
    QString checkDate; // without spaces; empty for no date
    QString purchDate;
};
// The six checks in order; the first failure, or what they read.
std::optional<CheckFailure> checkForm(const RecordForm &form, CheckedValues *values = nullptr);

// The first text box, in the window's tab order, holding a character that the
// catalogue's code page cannot hold: its message names the character, with the page and
// the box to show. Nothing when every box can be stored as typed. A check of its own
// beside checkForm(), run before an update writes anything.
std::optional<CheckFailure> checkCharacters(const RecordForm &form, Codepage codepage = Codepage::Cp1252);
// The message for text of a field (named as the user knows it) that holds, at `at`, a
// character the catalogue cannot hold.
QString unstorableCharacterMessage(const QString &fieldLabel, const QString &text, qsizetype at);

// Writes the boxes into the record the table is editing or appending.
void writeForm(Table &table, const RecordForm &form, const CheckedValues &values);

enum class UpdateResult { Written, CheckFailed, StoreFailed };
struct UpdateOutcome {
    UpdateResult result = UpdateResult::Written;
    std::optional<CheckFailure> failure; // with CheckFailed
};
// An update: the checks, the pick-list additions, a new record (modes 1 and 3, or an
// empty table) or the current one put into editing, the fields set and the record
// posted; the mode is then 2. A failed check changes nothing; a store error reaches the
// user through the prompt and the additions stay.
UpdateOutcome updateRecord(Table &table, PickLists &lists, Prompt &prompt, EditMode &mode, const RecordForm &form);

inline constexpr char kCheckDateMessage[] = "Invalid check out date specified.  Please correct.";
inline constexpr char kPurchDateMessage[] = "Invalid purchase date specified.  Please correct.";
inline constexpr char kListPriceMessage[] = "Invalid list price specified.  Please correct.";
inline constexpr char kPurchPriceMessage[] = "Invalid purchase price specified.  Please correct.";
inline constexpr char kPlayTimeMessage[] = "Invalid play time specified.  Please correct.";
inline constexpr char kYearMessage[] = "Invalid year specified.  Please correct.";

} // namespace kv
