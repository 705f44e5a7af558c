#pragma once
// The rules of the report definition window: a new definition or one read from the
// definitions file, width changes with their questions and the re-fit of the lines,
// Update with its range check and rename question, Delete, and the part editor's Ok.
// The windows read their controls into these calls and show what comes back.
#include "base/prompt.h"
#include "reports/reportdef.h"
#include "reports/reportfile.h"

#include <QFont>
#include <QStringList>
#include <array>
#include <optional>

namespace kv {

// "Courier New 10pt": a font's caption in the definition window and the font editor.
QString fontCaption(const TFontRec &font);
QFont qfontOf(const TFontRec &font);
// Name (at most 50 characters), size (held to kMinFontSize ... kMaxFontSize) and the
// four style flags; the colour stays.
void takeFont(TFontRec &into, const QFont &font);

// What the definition window's controls hold.
struct DefinitionForm {
    QString name;
    int lineWidth = 90;
    std::array<QString, 3> titles;
    bool level1Group = false;
    bool level2Group = false;
    bool columnHeaders = false;
    bool horizontalLines = false;
    bool verticalLines = false;
    bool dateOnPages = false;
    bool pageNumbers = false;
    bool landscape = false;
    bool useTotals = false;
    QString lineCount;
    QString topMargin, bottomMargin, leftMargin, rightMargin;
};
// The controls as the window shows def: reals with two decimals, the line count without.
DefinitionForm formOf(const TReportDefRec &def);

// The line count as typed, or nothing when it is not a whole number.
std::optional<int> lineCountOf(const QString &text);
// Column headers and both line kinds apply to one-line layouts only.
bool lineOptionsEnabled(const QString &lineCountText);

class ReportDefinitionEdit {
public:
    enum class Mode { New, Modify };
    enum class Outcome { Stayed, Saved, Failed };

    // New mode: def takes the values of a new definition.
    static ReportDefinitionEdit forNew(TReportDefRec &def);
    // Modify mode on record index; def stays as it was when the record cannot be read.
    static ReportDefinitionEdit forModify(TReportDefRec &def, const ReportFile &file, int index);

    Mode mode() const { return mode_; }
    int index() const { return index_; }
    QString readName() const { return readName_; }
    TReportDefRec &def() { return def_; }
    const TReportDefRec &def() const { return def_; }

    // The name as the window keeps it: trimmed, at most 30 characters.
    static QString keptName(const QString &typed);
    // Delete is offered in modify mode while the name is the one the record was read with.
    bool deleteEnabled(const QString &name) const;

    // Switches to width (90, 120 or 150) after the questions that switch asks; false when
    // the user said No and the old width stays. Re-fits body lines 1 ... lineCount, sets
    // the body font size and tells the user so.
    bool changeWidth(int width, int lineCount, Prompt &prompt);

    // The line count when it lies in 0 ... 12; else the range notice and nothing.
    static std::optional<int> checkLineCount(const QString &text, Prompt &prompt);

    // Update: checks the line count, copies the form into the definition, asks about a
    // changed name in modify mode, then appends or overwrites the record. Saved: the
    // record is at writtenIndex(). Stayed: refused or cancelled, the window stays open.
    // Failed: the file could not be written; the error was shown.
    Outcome update(const DefinitionForm &form, ReportFile &file, Prompt &prompt);
    int writtenIndex() const { return written_; }

    // Delete after the question; true when the record is gone.
    bool remove(ReportFile &file, Prompt &prompt);

private:
    ReportDefinitionEdit(TReportDefRec &def, Mode mode, int index);

    TReportDefRec &def_;
    Mode mode_;
    int index_ = -1;
    QString readName_;
    int written_ = -1;
};

// The part editor's controls.
struct PartChoice {
    enum class Kind { Filler, Label, Field };
    Kind kind = Kind::Filler;
    int entry = -1; // 0-based row of the field list, -1 for none
    QString labelText;
    QString width;
};

// The field list of the part editor: the 40 field captions in field-table order, or the
// three totals entries for the totals line.
QStringList partEntries(const QStringList &captions, bool totalsLine);
// What the part editor shows for a part.
PartChoice choiceOf(const TPartRec &part, bool totalsLine);
// "Line 3, Item 2" or "Totals Line, Item 2".
QString selectedPartText(int line, int part);
// Ok of the part editor on part (1 ... 20) of line: a width that is not a whole number
// is refused with its message; else the width is set, the line re-fitted to lineWidth,
// and the kind, field and label text stored.
bool applyPartChoice(TLineRec &line, int part, bool totalsLine, const PartChoice &choice, int lineWidth,
                     Prompt &prompt);

} // namespace kv
