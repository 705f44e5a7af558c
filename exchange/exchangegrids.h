#pragma once
// The grids of the import and export windows as data: what each row holds, moving
// rows, the Yes/No toggles, and what the grid means once the work starts.
#include "app/settings/settings.h"
#include "exchange/import.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace kv {

inline constexpr char kYes[] = "Yes";
inline constexpr char kNo[] = "No";
inline constexpr char kEmptyImportRow[] = "<EMPTY>";

// Two names are the same when they differ only in letter case, accents and the blanks
// around them.
bool sameFieldName(const QString &a, const QString &b);
// Import fields by their names: each to the first catalogue field whose caption or
// dBASE name is the same (captions: the 40 captions in field order); a catalogue field
// takes only the first import field of its name. -1 for no match.
ImportMap mapByNames(const QStringList &importNames, const QStringList &captions);
// A short key for a list of import field names, to know a file's first line again.
QString importNamesKey(const QStringList &importNames);

// Rows are numbered from 0 here; the windows show them below a title row.
class ImportGrid {
public:
    struct Row {
        QString kestrovaField; // never moves
        QString importField;
        QString use;
    };
    // captions: the 40 catalogue fields' captions in field order.
    ImportGrid(const QStringList &captions, const QStringList &importNames);

    int rowCount() const { return int(rows_.size()); }
    const Row &row(int r) const { return rows_.at(size_t(r)); }
    // Exchange the import field and its choice with the row above or below; false at
    // the edge, where nothing moves.
    bool moveUp(int r);
    bool moveDown(int r);
    // "Yes" and "No" change places; an empty cell stays empty.
    void toggleUse(int r);
    // Every import field that mapByNames() matches goes beside its catalogue field with
    // "Yes"; the others fill the free rows in their order with "No". The number matched.
    int matchNames();
    // Import field i goes to the first of rows 1 ... 40 that holds its name when that
    // row says "Yes"; else nowhere.
    ImportMap fieldMap() const;

    // The grid as it stands, in a line of text for the settings: per row the number of
    // its import field and Y or N, an empty row empty.
    QString arrangement() const;
    // Puts the grid back as an arrangement of the same import fields left it; false,
    // and nothing changes, when the text does not fit these fields.
    bool restore(const QString &arrangement);

private:
    void swap(int a, int b);
    std::vector<Row> rows_;
    QStringList names_;
    QStringList captions_;
};

class ExportGrid {
public:
    struct Row {
        QString field; // the caption
        QString exportIt;
    };
    // Each field's caption in the row its export order names, with its choice beside it.
    explicit ExportGrid(const Settings &settings);

    int rowCount() const { return int(rows_.size()); }
    const Row &row(int r) const { return rows_.at(size_t(r)); }
    bool moveUp(int r);
    bool moveDown(int r);
    // Fields 1 ... 40 in field order, every one exported.
    void setDefaults(const Settings &settings);
    // "Yes" becomes "No", anything else "Yes".
    void toggleExport(int r);
    // Each field takes the order and choice of the first row holding its caption.
    void storeInto(Settings &settings) const;

private:
    std::vector<Row> rows_;
};

} // namespace kv
