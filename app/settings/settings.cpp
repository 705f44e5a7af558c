#include "settings.h"

#include "profilefile.h"

#include "store/cataloguepaths.h"

#include "base/atomicfile.h"
#include "base/dateformat.h"
#include "base/numberformat.h"
#include "base/numbertext.h"
#include "base/paths.h"

#include <QDir>
#include <QFileInfo>
#include <type_traits>

namespace kv {

namespace {

const char *const kColorSections[kWindowFamilyCount] = {
    "Main Window Color", "Edit Window Color", "Search Window Color", "Report Window Color",
    "Configure Window Color",
};

struct ColorKey {
    const char *key;
    int defaultValue;
};
const ColorKey kColorKeys[kColorRoleCount] = {
    {"Main Background", 12632256},  {"Major Title", 0},     {"Minor Title", 0},
    {"Edit Background", 16777215},  {"Edit Text", 0},       {"Combo Background", 16777215},
    {"Combo Text", 0},              {"List Box Background", 16777215},
    {"List Box Text", 0},           {"Radio Background", 12632256},
    {"Radio Text", 0},              {"Check Background", 12632256},
    {"Check Text", 0},
};

struct FontKey {
    const char *section;
    bool full; // colour, size, underline and strikeout stored too
    int size;  // default size of a full font
};
// In the order of FontRole.
const FontKey kFontKeys[kFontRoleCount] = {
    {"Grid Title Font", true, 12}, {"Grid Font", true, 10}, {"Edit Font", false, 0},
    {"Label Font", false, 0},      {"Button Font", false, 0}, {"Report Label Font", true, 10},
};
// The order of the font sections in the file.
const FontRole kFontOrder[kFontRoleCount] = {FontRole::GridTitle, FontRole::Grid,  FontRole::ReportLabel,
                                             FontRole::Edit,      FontRole::Label, FontRole::Button};

const char kDefaultFontName[] = "Arial";

QString str(const char *latin1) { return QString::fromLatin1(latin1); }

// What a font's keys hold, as plain values.
struct FontValues {
    QColor color;
    QString name;
    int size = 0;
    bool bold = false, italic = false, underline = false, strikeout = false;
};

FontValues valuesOf(const UserFont &f)
{
    return {f.color, f.font.family(), f.font.pointSize(), f.font.bold(), f.font.italic(), f.font.underline(),
            f.font.strikeOut()};
}

void store(UserFont &f, const FontValues &v)
{
    f.color = v.color;
    f.font.setFamily(v.name);
    if (v.size > 0) // the edit, label and button fonts may have no size of their own
        f.font.setPointSize(v.size);
    // The style is what the flags say, whatever the font had before.
    f.font.setBold(v.bold);
    f.font.setItalic(v.italic);
    f.font.setUnderline(v.underline);
    f.font.setStrikeOut(v.strikeout);
}

template <class F, class V>
void visitFont(const FontKey &keys, F &font, const UserFont &def, V &v)
{
    const QString section = str(keys.section);
    FontValues values = valuesOf(font);
    const FontValues defaults = valuesOf(def);
    if (keys.full)
        v.color(section, str("Color"), values.color, defaults.color);
    v.text(section, str("Font Name"), values.name, defaults.name, kNameLength);
    if (keys.full)
        v.integer(section, str("Size"), values.size, defaults.size);
    v.flag(section, str("Bold"), values.bold, defaults.bold);
    v.flag(section, str("Italic"), values.italic, defaults.italic);
    if (keys.full) {
        v.flag(section, str("Underline"), values.underline, defaults.underline);
        v.flag(section, str("Strikeout"), values.strikeout, defaults.strikeout);
    }
    if constexpr (!std::is_const_v<F>) {
        if (values.size < 1)
            values.size = defaults.size;
        store(font, values);
    }
}

// Every key of the program scope, in the order of the file. S is Settings when
// reading and const Settings when writing; d holds the defaults.
template <class S, class V>
void visitProgram(S &s, const Settings &d, V &v)
{
    const QString misc = str("Misc");
    v.integer(misc, str("Button Bar"), s.buttonBar, d.buttonBar);
    v.integer(misc, str("Main Window Left"), s.mainWindowLeft, d.mainWindowLeft);
    v.integer(misc, str("Main Window Top"), s.mainWindowTop, d.mainWindowTop);
    v.integer(misc, str("Main Window Width"), s.mainWindowWidth, d.mainWindowWidth);
    v.integer(misc, str("Main Window Height"), s.mainWindowHeight, d.mainWindowHeight);
    v.text(misc, str("Last Import File"), s.lastImportFile, d.lastImportFile, kPathLength);
    v.text(misc, str("Last Export File"), s.lastExportFile, d.lastExportFile, kPathLength);
    v.text(misc, str("Last Database"), s.lastDatabase, d.lastDatabase, kPathLength);
    for (int i = 0; i < kLastFileCount; ++i)
        v.text(misc, str("Last File ") + QString::number(i + 1), s.lastFiles[size_t(i)], d.lastFiles[size_t(i)],
               kPathLength);
    v.flag(misc, str("Show Tips"), s.showTips, d.showTips);
    v.integer(misc, str("Next Tip"), s.nextTip, d.nextTip);
    v.integer(misc, str("Window Size"), s.windowSize, d.windowSize);
    v.integer(misc, str("Date Format"), s.dateFormat, d.dateFormat);
    v.flag(misc, str("Date Leading Zeros"), s.dateLeadingZeros, d.dateLeadingZeros);
    v.integer(misc, str("Currency Format"), s.currencyFormat, d.currencyFormat);
    v.integer(misc, str("Numeric Format"), s.numericFormat, d.numericFormat);

    const QString label = str("Label");
    auto &l = s.labelDimensions;
    const LabelDimensions &ld = d.labelDimensions;
    v.real(label, str("Face Top Margin"), l.faceTopMargin, ld.faceTopMargin);
    v.real(label, str("Face Left Margin"), l.faceLeftMargin, ld.faceLeftMargin);
    v.integer(label, str("Face Count"), l.faceCount, ld.faceCount);
    v.real(label, str("Face Width"), l.faceWidth, ld.faceWidth);
    v.real(label, str("Face Height"), l.faceHeight, ld.faceHeight);
    v.real(label, str("Face Gap"), l.faceGap, ld.faceGap);
    v.real(label, str("Spine Top Margin"), l.spineTopMargin, ld.spineTopMargin);
    v.real(label, str("Spine Left Margin"), l.spineLeftMargin, ld.spineLeftMargin);
    v.integer(label, str("Spine Count"), l.spineCount, ld.spineCount);
    v.real(label, str("Spine Width"), l.spineWidth, ld.spineWidth);
    v.real(label, str("Spine Height"), l.spineHeight, ld.spineHeight);
    v.real(label, str("Spine Gap"), l.spineGap, ld.spineGap);
}

template <class S, class V>
void visitCatalogue(S &s, const Settings &d, V &v)
{
    // One key per field, named by its dBASE field name, in six sections.
    const QString names = str("Field Names"), display = str("Display Fields"), width = str("Field Width"),
                  order = str("Field Order"), exportFields = str("Export Fields"), exportOrder = str("Export Order");
    for (int n = 1; n <= kFieldCount; ++n)
        v.text(names, fieldName(n), s.field(n).caption, d.field(n).caption, kCaptionLength);
    for (int n = 1; n <= kFieldCount; ++n)
        v.flag(display, fieldName(n), s.field(n).shown, d.field(n).shown);
    for (int n = 1; n <= kFieldCount; ++n)
        v.integer(width, fieldName(n), s.field(n).width, d.field(n).width);
    for (int n = 1; n <= kFieldCount; ++n)
        v.integer(order, fieldName(n), s.field(n).order, d.field(n).order);
    for (int n = 1; n <= kFieldCount; ++n)
        v.flag(exportFields, fieldName(n), s.field(n).exported, d.field(n).exported);
    for (int n = 1; n <= kFieldCount; ++n)
        v.integer(exportOrder, fieldName(n), s.field(n).exportOrder, d.field(n).exportOrder);

    v.flag(str("Export"), str("First Row"), s.exportFirstRow, d.exportFirstRow);
    v.integer(str("Export"), str("File Type"), s.exportFileType, d.exportFileType);
    v.addedInteger(str("Export"), str("Encoding"), s.exportEncoding, d.exportEncoding);
    v.flag(str("Import"), str("Skip First"), s.importSkipFirst, d.importSkipFirst);
    v.integer(str("Import"), str("File Type"), s.importFileType, d.importFileType);
    v.addedInteger(str("Import"), str("Encoding"), s.importEncoding, d.importEncoding);
    v.addedInteger(str("Import"), str("Format"), s.importFormat, d.importFormat);
    v.addedText(str("Import"), str("Last Field Names"), s.importMapNames);
    v.addedText(str("Import"), str("Last Mapping"), s.importMap);

    const char *const sortKeys[kSortLevelCount] = {"Primary Sort", "Secondary Sort", "Third Level Sort",
                                                   "Fourth Level Sort"};
    for (int i = 0; i < kSortLevelCount; ++i)
        v.integer(str("Sort Order"), str(sortKeys[i]), s.sortLevels[size_t(i)], d.sortLevels[size_t(i)]);

    const QString title = str("Grid Title");
    v.flag(title, str("Show Titles"), s.showTitles, d.showTitles);
    v.color(title, str("Background Color"), s.titleBackground, d.titleBackground);
    v.integer(title, str("Alignment"), s.titleAlignment, d.titleAlignment);

    const QString grid = str("Grid Options");
    v.color(grid, str("Cell Color"), s.cellColor, d.cellColor);
    v.flag(grid, str("Column Lines"), s.columnLines, d.columnLines);
    v.flag(grid, str("Row Lines"), s.rowLines, d.rowLines);
    v.flag(grid, str("Row Indicator"), s.rowIndicator, d.rowIndicator);
    v.flag(grid, str("Field Editing"), s.fieldEditing, d.fieldEditing);

    const QString reports = str("Reports");
    v.integer(reports, str("Last Report"), s.lastReport, d.lastReport);
    v.flag(reports, str("Default Printer"), s.defaultPrinter, d.defaultPrinter);
    v.integer(reports, str("Printer Index"), s.printerIndex, d.printerIndex);
    v.flag(reports, str("Print To PDF"), s.printToPdf, d.printToPdf);
    v.integer(reports, str("Report Viewing Window Left"), s.reportWindowLeft, d.reportWindowLeft);
    v.integer(reports, str("Report Viewing Window Top"), s.reportWindowTop, d.reportWindowTop);
    v.integer(reports, str("Report Viewing Window Width"), s.reportWindowWidth, d.reportWindowWidth);
    v.integer(reports, str("Report Viewing Window Height"), s.reportWindowHeight, d.reportWindowHeight);
    v.integer(reports, str("Label Size"), s.labelSize, d.labelSize);
    v.flag(reports, str("Label Rating"), s.labelRating, d.labelRating);
    v.flag(reports, str("Label Title"), s.labelTitle, d.labelTitle);
    v.flag(reports, str("Label Start Counter"), s.labelStartCounter, d.labelStartCounter);
    v.flag(reports, str("Label Stop Counter"), s.labelStopCounter, d.labelStopCounter);
    v.flag(reports, str("Label Play Time"), s.labelPlayTime, d.labelPlayTime);
    v.flag(reports, str("Label Category"), s.labelCategory, d.labelCategory);
    v.flag(reports, str("Label Media Number"), s.labelMediaNumber, d.labelMediaNumber);
    v.flag(reports, str("Label Year Released"), s.labelYearReleased, d.labelYearReleased);
    v.integer(reports, str("What To Print"), s.whatToPrint, d.whatToPrint);
    for (int column = 0; column < kLabelItemColumns; ++column) {
        for (int row = 0; row < kLabelItemRows; ++row) {
            v.text(reports, str("Label Item ") + QString::number(column) + QString::number(row),
                   s.labelItems[size_t(column)][size_t(row)], d.labelItems[size_t(column)][size_t(row)],
                   kLabelItemLength);
        }
    }

    for (FontRole role : kFontOrder)
        visitFont(kFontKeys[int(role)], s.font(role), d.font(role), v);

    for (int family = 0; family < kWindowFamilyCount; ++family) {
        auto &set = s.colorSets[size_t(family)];
        for (int role = 0; role < kColorRoleCount; ++role) {
            v.color(str(kColorSections[family]), str(kColorKeys[role].key), set.colors[size_t(role)],
                    d.colorSets[size_t(family)].colors[size_t(role)]);
        }
    }
}

template <class S, class V>
void visitScope(SettingsScope scope, S &s, const Settings &d, V &v)
{
    if (scope == SettingsScope::Program)
        visitProgram(s, d, v);
    else
        visitCatalogue(s, d, v);
}

// Fills values from a profile; a key that is missing or does not read keeps the default.
struct Reader {
    const ProfileFile &profile;

    void integer(const QString &section, const QString &key, int &value, int def)
    {
        const std::optional<QString> text = profile.value(section, key);
        const std::optional<int> number = text ? readWholeNumber(*text) : std::nullopt;
        value = number.value_or(def);
    }
    void addedInteger(const QString &section, const QString &key, int &value, int def)
    {
        integer(section, key, value, def);
    }
    void real(const QString &section, const QString &key, double &value, double def)
    {
        const std::optional<QString> text = profile.value(section, key);
        const std::optional<double> number = text ? readDecimalNumber(*text) : std::nullopt;
        value = number.value_or(def);
    }
    void flag(const QString &section, const QString &key, bool &value, bool def)
    {
        const std::optional<QString> text = profile.value(section, key);
        value = text ? flagFromText(*text) : def;
    }
    void color(const QString &section, const QString &key, QColor &value, const QColor &def)
    {
        const std::optional<QString> text = profile.value(section, key);
        const std::optional<int> number = text ? readWholeNumber(*text) : std::nullopt;
        // Only plain RGB values are colours; anything else keeps the default.
        value = number && *number >= 0 && *number <= 0xFFFFFF ? colorFromValue(*number) : def;
    }
    void text(const QString &section, const QString &key, QString &value, const QString &def, int maxLength)
    {
        const std::optional<QString> text = profile.value(section, key);
        value = text ? text->left(maxLength) : def;
    }
    void addedText(const QString &section, const QString &key, QString &value)
    {
        value = profile.value(section, key).value_or(QString());
    }
};

// Collects the values as the file holds them. atDefault collects the keys added to the
// earlier layout that are at their default, which are not listed.
struct Writer {
    QList<SettingsEntry> &out;
    QList<SettingsEntry> *atDefault = nullptr;

    void add(const QString &section, const QString &key, const QString &value)
    {
        out.append({section, key, value});
    }
    void integer(const QString &section, const QString &key, int value, int)
    {
        add(section, key, QString::number(value));
    }
    // A key this program added to the earlier layout: written only when it differs from
    // its default, so that a file with the defaults stays as the earlier program wrote it.
    void addedInteger(const QString &section, const QString &key, int value, int def)
    {
        if (value != def)
            integer(section, key, value, def);
        else if (atDefault)
            atDefault->append({section, key, QString::number(value)});
    }
    void real(const QString &section, const QString &key, double value, double)
    {
        add(section, key, QString::fromLatin1(decimalText(value, 4)));
    }
    void flag(const QString &section, const QString &key, bool value, bool) { add(section, key, flagText(value)); }
    void color(const QString &section, const QString &key, const QColor &value, const QColor &)
    {
        add(section, key, QString::number(colorValue(value)));
    }
    void text(const QString &section, const QString &key, const QString &value, const QString &, int)
    {
        add(section, key, value);
    }
    // Empty by default, and then not listed, as addedInteger.
    void addedText(const QString &section, const QString &key, const QString &value)
    {
        if (!value.isEmpty())
            add(section, key, value);
        else if (atDefault)
            atDefault->append({section, key, value});
    }
};

QString configFile(const char *name) { return resolveCaseInsensitive(configDir() + QLatin1Char('/') + str(name)); }

} // namespace

Settings::Settings()
{
    lastImportFile = startupDirectory();
    lastExportFile = startupDirectory();
    for (int n = 1; n <= kFieldCount; ++n) {
        FieldSettings &f = field(n);
        f.caption = defaultCaption(n);
        f.order = n;
        f.exportOrder = n;
    }
    titleBackground = colorFromValue(8553090);
    cellColor = colorFromValue(12632256);
    for (int role = 0; role < kFontRoleCount; ++role) {
        UserFont &f = fonts[size_t(role)];
        f.font = QFont(str(kDefaultFontName));
        if (kFontKeys[role].full)
            f.font.setPointSize(kFontKeys[role].size);
    }
    for (ColorSet &set : colorSets) {
        for (int role = 0; role < kColorRoleCount; ++role)
            set.colors[size_t(role)] = colorFromValue(kColorKeys[role].defaultValue);
    }
}

QString programSettingsPath() { return configFile(kProgramSettingsFile); }
QString newCatalogueSettingsPath() { return configFile(kNewCatalogueSettingsFile); }

QString catalogueSettingsPath(const QString &cataloguePath)
{
    return CataloguePaths::of(cataloguePath).iniPath;
}

void readSettings(const QString &fileName, SettingsScope scope, Settings &into)
{
    QString path = scope == SettingsScope::Program ? programSettingsPath() : resolveCaseInsensitive(fileName);
    if (scope == SettingsScope::Catalogue && !QFileInfo::exists(path))
        path = programSettingsPath();
    const ProfileFile profile = ProfileFile::read(path);
    const Settings defaults;
    Reader reader{profile};
    visitScope(scope, into, defaults, reader);
}

void readNewCatalogueSettings(Settings &into)
{
    readSettings(newCatalogueSettingsPath(), SettingsScope::Catalogue, into);
}

QList<SettingsEntry> settingsEntries(SettingsScope scope, const Settings &from)
{
    QList<SettingsEntry> entries;
    Writer writer{entries};
    static const Settings defaults;
    visitScope(scope, from, defaults, writer);
    return entries;
}

bool writeSettings(const QString &fileName, SettingsScope scope, const Settings &from, QString *error)
{
    const QString path = scope == SettingsScope::Program ? programSettingsPath() : resolveCaseInsensitive(fileName);
    ProfileFile profile = ProfileFile::read(path);
    QList<SettingsEntry> entries, atDefault;
    Writer writer{entries, &atDefault};
    static const Settings defaults;
    visitScope(scope, from, defaults, writer);
    for (const SettingsEntry &e : entries)
        profile.setValue(e.section, e.key, e.value);
    // An added key back at its default is written only over a value the file holds.
    for (const SettingsEntry &e : atDefault)
        if (profile.value(e.section, e.key))
            profile.setValue(e.section, e.key, e.value);
    QString reason;
    if (profile.write(path, &reason))
        return true;
    if (error)
        *error = cannotWriteMessage(path, reason);
    return false;
}

QString flagText(bool flag) { return flag ? QStringLiteral("Yes") : QStringLiteral("No"); }
bool flagFromText(const QString &text) { return text.toUpper() == QLatin1String("YES"); }

int colorValue(const QColor &color)
{
    const QRgb rgb = color.rgb();
    return qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16);
}

QColor colorFromValue(int value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

QString startupDirectoryOf(const QString &currentDirectory)
{
    const QString dir = QDir::toNativeSeparators(currentDirectory);
    if (dir.size() == 3 && dir.at(0).isLetter() && dir.at(1) == QLatin1Char(':') && dir.at(2) == QLatin1Char('\\'))
        return dir.left(2);
    return dir;
}

QString startupDirectory()
{
    static const QString dir = startupDirectoryOf(QDir::currentPath());
    return dir;
}

void applyFormats(const Settings &from)
{
    setCurrentDateFormat(from.dateFormat, from.dateLeadingZeros);
    setCurrentNumberFormats({from.numericFormat, from.currencyFormat});
}

void applyProgramFormats(Settings &into)
{
    readSettings(programSettingsPath(), SettingsScope::Program, into);
    applyFormats(into);
}

} // namespace kv
