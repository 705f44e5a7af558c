#pragma once
// The seventeen pick lists. The fifteen catalogue lists live here, one object per list,
// for the whole run: the edit window's drop-down boxes and the viewer's in-grid combos
// both show these objects, so they never disagree. Lists 14 (Oscar names) and 17
// (miscellaneous) are program-wide and read from their files when needed.
#include "base/prompt.h"

#include <QObject>
#include <QStringList>

#include <array>
#include <memory>

namespace kv {

inline constexpr int kStarList = 2;
inline constexpr int kOscarList = 14;
inline constexpr int kMiscList = 17;

// The list name of list 1 ... 17 ("Producer" ... "Miscellaneous"); empty otherwise.
QString pickListName(int listNumber);
// Lists with a file beside the catalogue: every list but 14 and 17.
bool isCatalogueList(int listNumber);
// The longest entry the list editor takes for a list.
int pickListEntryLength(int listNumber);
// base + ".001" ... ".016", found in another letter case when written so.
QString catalogueListPath(const QString &basePath, int listNumber);
// The default (or, for 14 and 17, program-wide) file in the program folder.
QString defaultListPath(int listNumber);
// Reads a program-wide list from the program folder.
QStringList readProgramWideList(int listNumber);
// Text without the space characters at its start and end (a tab is not a space).
QString trimSpaces(const QString &text);

class PickList : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    const QStringList &entries() const { return entries_; }
    void setEntries(const QStringList &entries);
    // Appends text trimmed of spaces when it is not empty and no entry equals it
    // exactly (case counts). True when it was added.
    bool add(const QString &text);

Q_SIGNALS:
    // The whole list was replaced.
    void changed();
    // One entry was added at the end.
    void appended(const QString &entry);

private:
    QStringList entries_;
};

class PickLists : public QObject {
    Q_OBJECT
public:
    // I/O errors after a list file was opened reach the user through the prompt.
    explicit PickLists(Prompt &prompt, QObject *parent = nullptr);
    ~PickLists() override;

    // A catalogue list, 1 ... 16 but 14.
    PickList &list(int listNumber);
    const PickList &list(int listNumber) const;
    QStringList entries(int listNumber) const { return list(listNumber).entries(); }

    // The catalogue's own lists when it has any of base + .009, .008, .007 or .010;
    // the default lists otherwise. A missing file leaves its list empty.
    void LoadAllList(const QString &basePath);
    // Saving writes every list it can; a file that cannot be written is named with the
    // reason (the first one only, so that a read-only folder gives one message), its
    // list stays in memory, and the result is false.
    bool SaveAllLists(const QString &basePath);
    void LoadDefaultList();
    bool SaveDefaultLists();
    // Writes a program-wide list (14 or 17) to its file in the program folder.
    bool saveProgramWideList(int listNumber, const QStringList &entries);

    // The values typed into one record's boxes, by field number (1 ... 40), added to their
    // lists as an update does: each single list gets its box's text, the star list each
    // star box's text in turn, each at most once.
    void addTypedValues(const std::array<QString, 41> &textByField);

private:
    void load(int listNumber, const QString &path);
    bool save(const QString &path, const QStringList &entries, bool tell = true);
    bool saveAll(const QList<QString> &paths);

    Prompt &prompt_;
    std::array<std::unique_ptr<PickList>, 17> lists_;
};

// The "List Maintenance" default items, each after its question (caption "Warning",
// Yes and No, No the default). True when the lists were saved or loaded.
bool saveListsAsDefaults(PickLists &lists, Prompt &prompt);
bool loadListsFromDefaults(PickLists &lists, Prompt &prompt);

inline constexpr char kSaveDefaultsQuestion[] =
    "Your current Data Lists will become your default list values.  These values will be used when new databases "
    "are created.  Previous default values will be lost.  Do you want to proceed?";
inline constexpr char kLoadDefaultsQuestion[] =
    "Your current Data Lists will be overridden with your default list values. Previous  values will be lost.  Do "
    "you want to proceed?";

} // namespace kv
