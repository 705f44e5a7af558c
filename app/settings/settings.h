#pragma once
// The program's settings, in one record for both files that hold them:
//   program settings   QVRVID.INI in the configuration folder;
//   catalogue settings the catalogue's base + ".INI", beside its table.
// Every other part reads and sets the record; only readSettings() and writeSettings()
// touch the files.
#include "store/fieldtable.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>
#include <array>

namespace kv {

enum class SettingsScope { Program = 1, Catalogue = 2 };

inline constexpr char kProgramSettingsFile[] = "QVRVID.INI";
// Where a new catalogue takes its first settings from.
inline constexpr char kNewCatalogueSettingsFile[] = "QVRINV.INI";

// Longest texts kept when reading.
inline constexpr int kNameLength = 150;    // names, font names
inline constexpr int kPathLength = 250;    // file paths
inline constexpr int kCaptionLength = 20;  // field captions
inline constexpr int kLabelItemLength = 15;

// The colours of one window family, in the order of the file.
enum class ColorRole {
    MainBackground, MajorTitle, MinorTitle, EditBackground, EditText, ComboBackground, ComboText,
    ListBoxBackground, ListBoxText, RadioBackground, RadioText, CheckBackground, CheckText
};
inline constexpr int kColorRoleCount = 13;

struct ColorSet {
    std::array<QColor, kColorRoleCount> colors;
    QColor &operator[](ColorRole role) { return colors[size_t(role)]; }
    const QColor &operator[](ColorRole role) const { return colors[size_t(role)]; }
    bool operator==(const ColorSet &) const = default;
};

// Colour sets 1 ... 5.
enum class WindowFamily { Main, Edit, Search, Report, Configure };
inline constexpr int kWindowFamilyCount = 5;

enum class FontRole { GridTitle, Grid, Edit, Label, Button, ReportLabel };
inline constexpr int kFontRoleCount = 6;

// The grid title, grid and report label fonts keep their colour, size and four style
// flags in the file; the edit, label and button fonts only their name, bold and italic.
struct UserFont {
    QFont font;
    QColor color = Qt::black;
    bool operator==(const UserFont &) const = default;
};

// One field's viewer and export settings.
struct FieldSettings {
    QString caption; // the field's title everywhere, at most 20 characters
    bool shown = true;
    int width = 15;  // viewer column, in characters
    int order = 0;   // viewer position, 1-based
    bool exported = true;
    int exportOrder = 0;
    bool operator==(const FieldSettings &) const = default;
};

// Label stock of the "Label" section: inches, except the counts.
struct LabelDimensions {
    double faceTopMargin = 1.0;
    double faceLeftMargin = 1.10;
    int faceCount = 10;
    double faceWidth = 3.06;
    double faceHeight = 1.8125;
    double faceGap = 0.25;
    double spineTopMargin = 0.6;
    double spineLeftMargin = 1.45;
    int spineCount = 15;
    double spineWidth = 5.7;
    double spineHeight = 0.6562;
    double spineGap = 0;
    bool operator==(const LabelDimensions &) const = default;
};

inline constexpr int kLastFileCount = 5;
inline constexpr int kSortLevelCount = 4;
inline constexpr int kLabelItemColumns = 2;
inline constexpr int kLabelItemRows = 8;

struct Settings {
    // Every value at its built-in default.
    Settings();
    bool operator==(const Settings &) const = default;

    // ---- Program settings
    int buttonBar = 1;
    int mainWindowLeft = 0;
    int mainWindowTop = 0;
    int mainWindowWidth = 640;
    int mainWindowHeight = 480;
    QString lastImportFile; // the start-up directory by default
    QString lastExportFile; // likewise
    QString lastDatabase;
    std::array<QString, kLastFileCount> lastFiles; // most recent first
    bool showTips = true;
    int nextTip = 0; // the tip the tip window starts at, taken modulo the number of tips
    int windowSize = 640; // 640, 800, 1024 or 1280
    int dateFormat = 1;   // choice 1 ... 12
    bool dateLeadingZeros = false;
    int currencyFormat = 1; // 1 U.S., 2 regional
    int numericFormat = 1;
    LabelDimensions labelDimensions;

    // ---- Catalogue settings
    std::array<FieldSettings, kFieldCount> fields; // fields[n - 1] is field number n
    FieldSettings &field(int number) { return fields[size_t(number - 1)]; }
    const FieldSettings &field(int number) const { return fields[size_t(number - 1)]; }

    bool exportFirstRow = true;
    int exportFileType = 1;
    int exportEncoding = 2;  // of a text export: 1 UTF-8, 2 Windows-1252, 3 DOS 850
    bool importSkipFirst = true;
    int importFileType = 1;
    int importEncoding = 0;  // of a text import: 0 automatic, 1 UTF-8, 2 Windows-1252, 3 DOS 850
    int importFormat = 0;    // of a text import: 0 automatic, 1 the program's own, 2 standard CSV
    // The import grid as last used, offered again for a file whose field names are the same.
    QString importMapNames;  // a fingerprint of those names
    QString importMap;       // the grid's arrangement (ImportGrid::arrangement())
    std::array<int, kSortLevelCount> sortLevels{2, 0, 0, 0}; // field numbers, 0 for none

    bool showTitles = true;
    QColor titleBackground;
    int titleAlignment = 2; // 1 left, 2 centre, 3 right
    QColor cellColor;
    bool columnLines = true;
    bool rowLines = true;
    bool rowIndicator = true;
    bool fieldEditing = false;

    int lastReport = 0;
    bool defaultPrinter = true;
    int printerIndex = 0;
    bool printToPdf = false; // runs and the preview write a PDF file instead of printing
    int reportWindowLeft = 0;
    int reportWindowTop = 0;
    int reportWindowWidth = 640;
    int reportWindowHeight = 480;
    int labelSize = 1; // label stock 1 ... 5
    bool labelRating = true;
    bool labelTitle = true;
    bool labelStartCounter = true;
    bool labelStopCounter = true;
    bool labelPlayTime = true;
    bool labelCategory = true;
    bool labelMediaNumber = true;
    bool labelYearReleased = true;
    int whatToPrint = 1; // 1 catalogue, 2 search result, 3 face labels, 4 spine labels
    // The media-number grid of a label run: [column][row], at most 15 characters each.
    std::array<std::array<QString, kLabelItemRows>, kLabelItemColumns> labelItems;

    std::array<UserFont, kFontRoleCount> fonts;
    UserFont &font(FontRole role) { return fonts[size_t(role)]; }
    const UserFont &font(FontRole role) const { return fonts[size_t(role)]; }

    std::array<ColorSet, kWindowFamilyCount> colorSets;
    ColorSet &colorSet(WindowFamily family) { return colorSets[size_t(family)]; }
    const ColorSet &colorSet(WindowFamily family) const { return colorSets[size_t(family)]; }
};

// QVRVID.INI in the configuration folder.
QString programSettingsPath();
// QVRINV.INI in the configuration folder.
QString newCatalogueSettingsPath();
// The settings file of a catalogue: its folder and its name up to the first period,
// with ".INI" ("my.cat.DBF" has "my.INI"), or that file in another letter case.
QString catalogueSettingsPath(const QString &cataloguePath);

// Fills the scope's part of the record from the file, each key that is missing or
// unreadable taking its built-in default. The program scope always reads QVRVID.INI,
// whatever fileName says. A catalogue whose file does not exist reads QVRVID.INI
// instead.
void readSettings(const QString &fileName, SettingsScope scope, Settings &into);
// The settings a new catalogue starts with: those of QVRINV.INI, or of QVRVID.INI when
// that file does not exist.
void readNewCatalogueSettings(Settings &into);
// Writes every key of the scope, keeping everything else in the file. The program
// scope always writes QVRVID.INI. False, with the message naming the file and the reason
// in error, when the file cannot be written.
bool writeSettings(const QString &fileName, SettingsScope scope, const Settings &from, QString *error = nullptr);

// The scope's keys in the order of the file, with their values as written.
struct SettingsEntry {
    QString section;
    QString key;
    QString value;
};
QList<SettingsEntry> settingsEntries(SettingsScope scope, const Settings &from);

// "Yes" or "No"; true exactly when the upper-cased text is "YES".
QString flagText(bool flag);
bool flagFromText(const QString &text);
// Colours as the files hold them: red + 256 * green + 65536 * blue.
int colorValue(const QColor &color);
QColor colorFromValue(int value);

// The current folder when the program started, a drive root without its backslash.
// Taken the first time it is asked for; reading the settings asks.
QString startupDirectory();
QString startupDirectoryOf(const QString &currentDirectory);

// Makes the record's date format and number formats the program's current ones. A date
// format choice outside 1 ... 12 leaves the date format as it is.
void applyFormats(const Settings &from);
// Reads the program settings from QVRVID.INI into the record and applies their formats.
void applyProgramFormats(Settings &into);

} // namespace kv
