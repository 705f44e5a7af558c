#include "app/settings/settings.h"

#include "base/atomicfile.h"
#include "base/dateformat.h"
#include "base/numberformat.h"
#include "base/paths.h"
#include "support/testenv.h"

#include <QDir>
#include <QFileInfo>
#include <cstring>
#include <gtest/gtest.h>

using namespace kv;

namespace {

QString configPath(const char *name) { return configDir() + QLatin1Char('/') + QString::fromLatin1(name); }

// The program settings file a first start writes; %1 is the start-up directory.
const char kProgramDefaults[] = "[Misc]\n"
                                "Button Bar=1\n"
                                "Main Window Left=0\n"
                                "Main Window Top=0\n"
                                "Main Window Width=640\n"
                                "Main Window Height=480\n"
                                "Last Import File=%1\n"
                                "Last Export File=%1\n"
                                "Last Database=\n"
                                "Last File 1=\n"
                                "Last File 2=\n"
                                "Last File 3=\n"
                                "Last File 4=\n"
                                "Last File 5=\n"
                                "Show Tips=Yes\n"
                                "Next Tip=0\n"
                                "Window Size=640\n"
                                "Date Format=1\n"
                                "Date Leading Zeros=No\n"
                                "Currency Format=1\n"
                                "Numeric Format=1\n"
                                "[Label]\n"
                                "Face Top Margin=1.0000\n"
                                "Face Left Margin=1.1000\n"
                                "Face Count=10\n"
                                "Face Width=3.0600\n"
                                "Face Height=1.8125\n"
                                "Face Gap=0.2500\n"
                                "Spine Top Margin=0.6000\n"
                                "Spine Left Margin=1.4500\n"
                                "Spine Count=15\n"
                                "Spine Width=5.7000\n"
                                "Spine Height=0.6562\n"
                                "Spine Gap=0.0000\n";

// The catalogue scope between its six per-field sections and its fonts.
const char kCatalogueDefaultsAfterFields[] = "[Export]\n"
                                             "First Row=Yes\n"
                                             "File Type=1\n"
                                             "[Import]\n"
                                             "Skip First=Yes\n"
                                             "File Type=1\n"
                                             "[Sort Order]\n"
                                             "Primary Sort=2\n"
                                             "Secondary Sort=0\n"
                                             "Third Level Sort=0\n"
                                             "Fourth Level Sort=0\n"
                                             "[Grid Title]\n"
                                             "Show Titles=Yes\n"
                                             "Background Color=8553090\n"
                                             "Alignment=2\n"
                                             "[Grid Options]\n"
                                             "Cell Color=12632256\n"
                                             "Column Lines=Yes\n"
                                             "Row Lines=Yes\n"
                                             "Row Indicator=Yes\n"
                                             "Field Editing=No\n"
                                             "[Reports]\n"
                                             "Last Report=0\n"
                                             "Default Printer=Yes\n"
                                             "Printer Index=0\n"
                                             "Print To PDF=No\n"
                                             "Report Viewing Window Left=0\n"
                                             "Report Viewing Window Top=0\n"
                                             "Report Viewing Window Width=640\n"
                                             "Report Viewing Window Height=480\n"
                                             "Label Size=1\n"
                                             "Label Rating=Yes\n"
                                             "Label Title=Yes\n"
                                             "Label Start Counter=Yes\n"
                                             "Label Stop Counter=Yes\n"
                                             "Label Play Time=Yes\n"
                                             "Label Category=Yes\n"
                                             "Label Media Number=Yes\n"
                                             "Label Year Released=Yes\n"
                                             "What To Print=1\n"
                                             "Label Item 00=\n"
                                             "Label Item 01=\n"
                                             "Label Item 02=\n"
                                             "Label Item 03=\n"
                                             "Label Item 04=\n"
                                             "Label Item 05=\n"
                                             "Label Item 06=\n"
                                             "Label Item 07=\n"
                                             "Label Item 10=\n"
                                             "Label Item 11=\n"
                                             "Label Item 12=\n"
                                             "Label Item 13=\n"
                                             "Label Item 14=\n"
                                             "Label Item 15=\n"
                                             "Label Item 16=\n"
                                             "Label Item 17=\n";

const char kColorSetDefaults[] = "Main Background=12632256\n"
                                 "Major Title=0\n"
                                 "Minor Title=0\n"
                                 "Edit Background=16777215\n"
                                 "Edit Text=0\n"
                                 "Combo Background=16777215\n"
                                 "Combo Text=0\n"
                                 "List Box Background=16777215\n"
                                 "List Box Text=0\n"
                                 "Radio Background=12632256\n"
                                 "Radio Text=0\n"
                                 "Check Background=12632256\n"
                                 "Check Text=0\n";

// Entries as "[Section]" and "key=value" lines, LF-ended.
QString listing(const QList<SettingsEntry> &entries)
{
    QString out, section;
    for (const SettingsEntry &e : entries) {
        if (e.section != section) {
            section = e.section;
            out += QLatin1Char('[') + section + QStringLiteral("]\n");
        }
        out += e.key + QLatin1Char('=') + e.value + QLatin1Char('\n');
    }
    return out;
}

QString catalogueDefaultListing()
{
    QString fields;
    const char *const sections[] = {"Field Names", "Display Fields", "Field Width",
                                    "Field Order", "Export Fields",  "Export Order"};
    for (const char *section : sections) {
        fields += QStringLiteral("[%1]\n").arg(QLatin1String(section));
        for (int n = 1; n <= kFieldCount; ++n) {
            const QString name = fieldName(n);
            if (qstrcmp(section, "Field Names") == 0)
                fields += name + QLatin1Char('=') + defaultCaption(n) + QLatin1Char('\n');
            else if (qstrcmp(section, "Field Width") == 0)
                fields += name + QStringLiteral("=15\n");
            else if (qstrcmp(section, "Field Order") == 0 || qstrcmp(section, "Export Order") == 0)
                fields += name + QStringLiteral("=%1\n").arg(n);
            else
                fields += name + QStringLiteral("=Yes\n");
        }
    }
    QString fonts;
    for (const auto &[section, size] : {std::pair{"Grid Title Font", 12}, {"Grid Font", 10}, {"Report Label Font", 10}}) {
        fonts += QStringLiteral("[%1]\nColor=0\nFont Name=Arial\nSize=%2\n"
                                "Bold=No\nItalic=No\nUnderline=No\nStrikeout=No\n")
                     .arg(QLatin1String(section))
                     .arg(size);
    }
    for (const char *section : {"Edit Font", "Label Font", "Button Font"})
        fonts += QStringLiteral("[%1]\nFont Name=Arial\nBold=No\nItalic=No\n").arg(QLatin1String(section));
    QString colors;
    for (const char *family : {"Main Window Color", "Edit Window Color", "Search Window Color", "Report Window Color",
                               "Configure Window Color"}) {
        colors += QStringLiteral("[%1]\n").arg(QLatin1String(family)) + QLatin1String(kColorSetDefaults);
    }
    return fields + QLatin1String(kCatalogueDefaultsAfterFields) + fonts + colors;
}

QString fileListing(const QString &path)
{
    // Without the blank lines between sections.
    return QString::fromLatin1(kvtest::readFile(path))
        .replace(QStringLiteral("\r\n\r\n["), QStringLiteral("\r\n["))
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// Every value different from its default, each field and colour its own.
Settings changedSettings()
{
    Settings s;
    s.buttonBar = 3;
    s.mainWindowLeft = -20;
    s.mainWindowTop = 15;
    s.mainWindowWidth = 800;
    s.mainWindowHeight = 600;
    s.lastImportFile = QStringLiteral("/data/in/list.txt");
    s.lastExportFile = QStringLiteral("/data/out/list.dbf");
    s.lastDatabase = QString::fromUtf8("/data/Filme für Kinder.DBF");
    for (int i = 0; i < kLastFileCount; ++i)
        s.lastFiles[size_t(i)] = QStringLiteral("/data/CAT%1.DBF").arg(i);
    s.showTips = false;
    s.nextTip = 7;
    s.windowSize = 1024;
    s.dateFormat = 12;
    s.dateLeadingZeros = true;
    s.currencyFormat = 2;
    s.numericFormat = 2;
    s.labelDimensions = {0.5, 0.75, 8, 2.5, 1.5, 0.125, 0.3, 1.25, 12, 5.5, 0.5, 0.0625};
    for (int n = 1; n <= kFieldCount; ++n) {
        FieldSettings &f = s.field(n);
        f.caption = QStringLiteral("Column %1").arg(n);
        f.shown = false;
        f.width = 20 + n;
        f.order = 41 - n;
        f.exported = false;
        f.exportOrder = (n % kFieldCount) + 1;
    }
    s.exportFirstRow = false;
    s.exportFileType = 2;
    s.importSkipFirst = false;
    s.importFileType = 3;
    s.sortLevels = {5, 1, 11, 28};
    s.showTitles = false;
    s.titleBackground = QColor(1, 2, 3);
    s.titleAlignment = 3;
    s.cellColor = QColor(255, 255, 0);
    s.columnLines = false;
    s.rowLines = false;
    s.rowIndicator = false;
    s.fieldEditing = true;
    s.lastReport = 4;
    s.defaultPrinter = false;
    s.printerIndex = 2;
    s.printToPdf = true;
    s.reportWindowLeft = 5;
    s.reportWindowTop = 6;
    s.reportWindowWidth = 700;
    s.reportWindowHeight = 500;
    s.labelSize = 5;
    s.labelRating = s.labelTitle = s.labelStartCounter = s.labelStopCounter = false;
    s.labelPlayTime = s.labelCategory = s.labelMediaNumber = s.labelYearReleased = false;
    s.whatToPrint = 3;
    for (int c = 0; c < kLabelItemColumns; ++c) {
        for (int r = 0; r < kLabelItemRows; ++r)
            s.labelItems[size_t(c)][size_t(r)] = QStringLiteral("Tape %1-%2").arg(c).arg(r);
    }
    for (FontRole role : {FontRole::GridTitle, FontRole::Grid, FontRole::ReportLabel}) {
        UserFont &f = s.font(role);
        f.font.setFamily(QStringLiteral("Courier New"));
        f.font.setPointSize(14 + int(role));
        f.font.setBold(true);
        f.font.setItalic(true);
        f.font.setUnderline(true);
        f.font.setStrikeOut(true);
        f.color = QColor(200, 0, int(role));
    }
    for (FontRole role : {FontRole::Edit, FontRole::Label, FontRole::Button}) {
        UserFont &f = s.font(role);
        f.font.setFamily(QStringLiteral("Times New Roman"));
        f.font.setBold(true);
        f.font.setItalic(true);
    }
    for (int family = 0; family < kWindowFamilyCount; ++family) {
        for (int role = 0; role < kColorRoleCount; ++role)
            s.colorSets[size_t(family)].colors[size_t(role)] = QColor(family * kColorRoleCount + role + 1, 1, 2);
    }
    return s;
}

Settings readBack(const QString &catalogueIni)
{
    Settings s;
    readSettings(QString(), SettingsScope::Program, s);
    readSettings(catalogueIni, SettingsScope::Catalogue, s);
    return s;
}

} // namespace

TEST(Settings, ProgramDefaults)
{
    const Settings defaults;
    EXPECT_EQ(listing(settingsEntries(SettingsScope::Program, defaults)),
              QString::fromLatin1(kProgramDefaults).arg(startupDirectory()));

    ASSERT_TRUE(writeSettings(QString(), SettingsScope::Program, defaults));
    EXPECT_EQ(fileListing(configPath("QVRVID.INI")), QString::fromLatin1(kProgramDefaults).arg(startupDirectory()));
}

TEST(Settings, CatalogueDefaults)
{
    const Settings defaults;
    EXPECT_EQ(listing(settingsEntries(SettingsScope::Catalogue, defaults)), catalogueDefaultListing());

    const QString ini = kvtest::tempPath(QStringLiteral("FILMS.INI"));
    ASSERT_TRUE(writeSettings(ini, SettingsScope::Catalogue, defaults));
    EXPECT_EQ(fileListing(ini), catalogueDefaultListing());
    EXPECT_FALSE(QFileInfo::exists(configPath("QVRVID.INI"))) << "a catalogue's settings go to its own file only";
}

TEST(Settings, EveryValueSurvivesWritingAndReading)
{
    const Settings changed = changedSettings();
    // Every key really differs from its default, so the round trip tests each one.
    for (SettingsScope scope : {SettingsScope::Program, SettingsScope::Catalogue}) {
        const QList<SettingsEntry> a = settingsEntries(scope, changed), d = settingsEntries(scope, Settings());
        ASSERT_EQ(a.size(), d.size());
        for (qsizetype i = 0; i < a.size(); ++i)
            EXPECT_NE(a[i].value, d[i].value) << a[i].section.toStdString() << "/" << a[i].key.toStdString();
    }

    const QString ini = kvtest::tempPath(QStringLiteral("FILMS.INI"));
    ASSERT_TRUE(writeSettings(QString(), SettingsScope::Program, changed));
    ASSERT_TRUE(writeSettings(ini, SettingsScope::Catalogue, changed));
    const Settings back = readBack(ini);
    EXPECT_TRUE(back == changed);
    EXPECT_EQ(listing(settingsEntries(SettingsScope::Catalogue, back)),
              listing(settingsEntries(SettingsScope::Catalogue, changed)));
    EXPECT_EQ(back.font(FontRole::GridTitle).font.family(), QStringLiteral("Courier New"));
    EXPECT_TRUE(back.font(FontRole::ReportLabel).font.strikeOut());
}

TEST(Settings, EachScopeReadsOnlyItsOwnKeysAndStartsFromTheDefaults)
{
    Settings s = changedSettings();
    const QString ini = kvtest::tempPath(QStringLiteral("EMPTY.INI"));
    kvtest::writeFile(ini, "[Sort Order]\r\nSecondary Sort=9\r\n");
    readSettings(ini, SettingsScope::Catalogue, s);
    EXPECT_EQ(s.sortLevels, (std::array<int, 4>{2, 9, 0, 0}));
    EXPECT_EQ(s.field(1).caption, QStringLiteral("Title"));
    EXPECT_EQ(s.colorSet(WindowFamily::Report), Settings().colorSet(WindowFamily::Report));
    EXPECT_EQ(s.buttonBar, 3) << "program settings untouched";

    readSettings(QString(), SettingsScope::Program, s);
    EXPECT_EQ(s.buttonBar, 1);
    EXPECT_EQ(s.sortLevels[1], 9) << "catalogue settings untouched";
}

TEST(Settings, FlagsAreTrueExactlyForYesInAnyCase)
{
    const struct {
        const char *text;
        bool value;
    } cases[] = {{"yes", true},   {"Yes", true},   {"YES", true}, {"  yEs ", true}, {"Y", false},    {"1", false},
                 {"True", false}, {"No", false},   {"", false},   {"yes!", false},  {"Yes No", false}};
    for (const auto &c : cases) {
        // Blanks around a value are not part of it.
        EXPECT_EQ(flagFromText(QString::fromLatin1(c.text).trimmed()), c.value) << c.text;
        kvtest::writeFile(configPath("QVRVID.INI"), QByteArray("[Misc]\r\nShow Tips=") + c.text + "\r\n");
        Settings s;
        s.showTips = !c.value;
        readSettings(QString(), SettingsScope::Program, s);
        EXPECT_EQ(s.showTips, c.value) << c.text;
    }
    EXPECT_EQ(flagText(true), QStringLiteral("Yes"));
    EXPECT_EQ(flagText(false), QStringLiteral("No"));
}

TEST(Settings, LabelCategoryAndPlayTimeAreSeparateFlags)
{
    const QString ini = kvtest::tempPath(QStringLiteral("FILMS.INI"));
    for (bool category : {false, true}) {
        Settings s;
        s.labelCategory = category;
        s.labelPlayTime = !category;
        ASSERT_TRUE(writeSettings(ini, SettingsScope::Catalogue, s));
        Settings back;
        readSettings(ini, SettingsScope::Catalogue, back);
        EXPECT_EQ(back.labelCategory, category);
        EXPECT_EQ(back.labelPlayTime, !category);
    }
}

TEST(Settings, RealsAreWrittenWithFourDecimals)
{
    Settings s;
    s.labelDimensions.faceHeight = 1.8125;
    s.labelDimensions.faceLeftMargin = 1.1;
    s.labelDimensions.spineGap = 2.0 / 3.0;
    s.labelDimensions.faceGap = 0.00004;
    ASSERT_TRUE(writeSettings(QString(), SettingsScope::Program, s));
    const QByteArray file = kvtest::readFile(configPath("QVRVID.INI"));
    EXPECT_TRUE(file.contains("\r\nFace Height=1.8125\r\n"));
    EXPECT_TRUE(file.contains("\r\nFace Left Margin=1.1000\r\n"));
    EXPECT_TRUE(file.contains("\r\nSpine Gap=0.6667\r\n"));
    EXPECT_TRUE(file.contains("\r\nFace Gap=0.0000\r\n"));
    Settings back;
    readSettings(QString(), SettingsScope::Program, back);
    EXPECT_EQ(back.labelDimensions.faceHeight, 1.8125);
    EXPECT_EQ(back.labelDimensions.faceLeftMargin, 1.1);
}

TEST(Settings, ColoursKeepBlueInTheHighByte)
{
    EXPECT_EQ(colorValue(QColor(192, 192, 192)), 12632256);
    EXPECT_EQ(colorValue(QColor(255, 255, 255)), 16777215);
    EXPECT_EQ(colorValue(QColor(130, 130, 130)), 8553090);
    EXPECT_EQ(colorValue(QColor(0, 0, 0)), 0);
    EXPECT_EQ(colorValue(QColor(255, 0, 0)), 255);
    EXPECT_EQ(colorValue(QColor(0, 0, 255)), 16711680);
    EXPECT_EQ(colorFromValue(65280), QColor(0, 255, 0));
    EXPECT_EQ(colorFromValue(0x123456), QColor(0x56, 0x34, 0x12));
}

TEST(Settings, ValuesThatAreNoNumbersReadAsTheirDefaults)
{
    const QString ini = kvtest::tempPath(QStringLiteral("ODD.INI"));
    kvtest::writeFile(ini, "[Sort Order]\r\n"
                           "Primary Sort=five\r\n"
                           "Secondary Sort=2.5\r\n"
                           "Third Level Sort=99999999999\r\n"
                           "Fourth Level Sort= 7 \r\n"
                           "[Field Width]\r\n"
                           "Title=\r\n"
                           "Star1=-3\r\n"
                           "[Grid Title]\r\n"
                           "Background Color=grey\r\n"
                           "Alignment=0x3\r\n"
                           "[Grid Options]\r\n"
                           "Cell Color=-1\r\n"
                           "[Main Window Color]\r\n"
                           "Main Background=16777216\r\n"
                           "Major Title=255\r\n"
                           "[Grid Title Font]\r\n"
                           "Size=big\r\n"
                           "Color=$FF\r\n"
                           "[Grid Font]\r\n"
                           "Size=0\r\n");
    Settings s;
    readSettings(ini, SettingsScope::Catalogue, s);
    EXPECT_EQ(s.sortLevels, (std::array<int, 4>{2, 0, 0, 7}));
    EXPECT_EQ(s.field(1).width, 15);
    EXPECT_EQ(s.field(2).width, -3) << "a number is taken as it is";
    EXPECT_EQ(s.titleBackground, colorFromValue(8553090));
    EXPECT_EQ(s.titleAlignment, 2);
    EXPECT_EQ(s.cellColor, colorFromValue(12632256));
    EXPECT_EQ(s.colorSet(WindowFamily::Main)[ColorRole::MainBackground], colorFromValue(12632256));
    EXPECT_EQ(s.colorSet(WindowFamily::Main)[ColorRole::MajorTitle], QColor(255, 0, 0));
    EXPECT_EQ(s.font(FontRole::GridTitle).font.pointSize(), 12);
    EXPECT_EQ(s.font(FontRole::GridTitle).color, QColor(0, 0, 0));
    EXPECT_EQ(s.font(FontRole::Grid).font.pointSize(), 10);

    kvtest::writeFile(configPath("QVRVID.INI"), "[Label]\r\n"
                                               "Face Width=3,5\r\n"
                                               "Face Height=.5\r\n"
                                               "Face Gap=1\r\n"
                                               "Spine Width=2.5e0\r\n"
                                               "Face Count=ten\r\n"
                                               "[Misc]\r\n"
                                               "Window Size=800 pixels\r\n"
                                               "Date Format=+4\r\n");
    readSettings(QString(), SettingsScope::Program, s);
    EXPECT_EQ(s.labelDimensions.faceWidth, 3.06);
    EXPECT_EQ(s.labelDimensions.faceHeight, 1.8125);
    EXPECT_EQ(s.labelDimensions.faceGap, 1.0);
    EXPECT_EQ(s.labelDimensions.spineWidth, 2.5);
    EXPECT_EQ(s.labelDimensions.faceCount, 10);
    EXPECT_EQ(s.windowSize, 640);
    EXPECT_EQ(s.dateFormat, 4);
}

TEST(Settings, TextsAreCutToTheirLengths)
{
    const QString ini = kvtest::tempPath(QStringLiteral("LONG.INI"));
    const QByteArray longText(300, 'x');
    kvtest::writeFile(ini, "[Field Names]\r\nTitle=The Title Of The Video Itself\r\n"
                           "[Reports]\r\nLabel Item 17=0123456789ABCDEFGH\r\n"
                           "[Grid Font]\r\nFont Name=" + longText + "\r\n");
    Settings s;
    readSettings(ini, SettingsScope::Catalogue, s);
    EXPECT_EQ(s.field(1).caption, QStringLiteral("The Title Of The Vid"));
    EXPECT_EQ(s.labelItems[1][7], QStringLiteral("0123456789ABCDE"));
    EXPECT_EQ(s.font(FontRole::Grid).font.family().size(), 150);

    kvtest::writeFile(configPath("QVRVID.INI"), "[Misc]\r\nLast Database=" + longText + "\r\nLast File 3=" + longText +
                                                     "\r\nLast Import File=\r\n");
    readSettings(QString(), SettingsScope::Program, s);
    EXPECT_EQ(s.lastDatabase.size(), 250);
    EXPECT_EQ(s.lastFiles[2].size(), 250);
    EXPECT_EQ(s.lastImportFile, QString()) << "a key present but empty is empty";
    EXPECT_EQ(s.lastExportFile, startupDirectory());
}

TEST(Settings, FontsTakeTheirStoredAttributes)
{
    const QString ini = kvtest::tempPath(QStringLiteral("FONTS.INI"));
    kvtest::writeFile(ini, "[Grid Title Font]\r\n"
                           "Color=255\r\nFont Name=Courier New\r\nSize=14\r\n"
                           "Bold=Yes\r\nItalic=yes\r\nUnderline=No\r\nStrikeout=YES\r\n"
                           "[Edit Font]\r\n"
                           "Font Name=Times New Roman\r\nBold=YES\r\nItalic=No\r\nSize=30\r\nColor=255\r\nUnderline=Yes\r\n");
    Settings s;
    s.font(FontRole::GridTitle).font.setItalic(false);
    s.font(FontRole::Grid).font.setBold(true); // the file's "No" wins over what the font had
    s.font(FontRole::Edit).font.setPointSize(9);
    readSettings(ini, SettingsScope::Catalogue, s);

    const UserFont &title = s.font(FontRole::GridTitle);
    EXPECT_EQ(title.font.family(), QStringLiteral("Courier New"));
    EXPECT_EQ(title.font.pointSize(), 14);
    EXPECT_EQ(title.color, QColor(255, 0, 0));
    EXPECT_TRUE(title.font.bold());
    EXPECT_TRUE(title.font.italic());
    EXPECT_FALSE(title.font.underline());
    EXPECT_TRUE(title.font.strikeOut());
    EXPECT_FALSE(s.font(FontRole::Grid).font.bold());

    // Only name, bold and italic are kept for the edit font; size and colour stay.
    const UserFont &edit = s.font(FontRole::Edit);
    EXPECT_EQ(edit.font.family(), QStringLiteral("Times New Roman"));
    EXPECT_TRUE(edit.font.bold());
    EXPECT_FALSE(edit.font.italic());
    EXPECT_FALSE(edit.font.underline());
    EXPECT_EQ(edit.font.pointSize(), 9);
    EXPECT_EQ(edit.color, QColor(0, 0, 0));
}

TEST(Settings, TheProgramScopeAlwaysUsesQvrvidIni)
{
    Settings s;
    s.buttonBar = 2;
    const QString elsewhere = kvtest::tempPath(QStringLiteral("ELSE.INI"));
    ASSERT_TRUE(writeSettings(elsewhere, SettingsScope::Program, s));
    EXPECT_FALSE(QFileInfo::exists(elsewhere));
    EXPECT_TRUE(kvtest::readFile(configPath("QVRVID.INI")).contains("\r\nButton Bar=2\r\n"));

    kvtest::writeFile(elsewhere, "[Misc]\r\nButton Bar=3\r\n");
    Settings back;
    readSettings(elsewhere, SettingsScope::Program, back);
    EXPECT_EQ(back.buttonBar, 2);
}

// A settings file that cannot be written is named with the reason; the old one stays.
TEST(Settings, AFileThatCannotBeWrittenIsNamedWithTheReason)
{
    Settings s;
    const QString ini = kvtest::tempPath(QStringLiteral("CAT.INI"));
    ASSERT_TRUE(QDir().mkpath(ini));
    QString error;
    EXPECT_FALSE(writeSettings(ini, SettingsScope::Catalogue, s, &error));
    EXPECT_EQ(error, kv::cannotWriteMessage(ini, QString::fromLocal8Bit(strerror(EISDIR))));
    EXPECT_TRUE(QFileInfo(ini).isDir());
}

TEST(Settings, ACatalogueWithoutItsOwnFileTakesQvrvidIniThenTheDefaults)
{
    kvtest::writeFile(configPath("QVRVID.INI"), "[Misc]\r\nButton Bar=2\r\n"
                                                "[Sort Order]\r\nPrimary Sort=5\r\n"
                                                "[Field Names]\r\nTitle=Film\r\n"
                                                "[Grid Options]\r\nCell Color=255\r\n"
                                                "[Reports]\r\nWhat To Print=4\r\n");
    const QString ini = kvtest::tempPath(QStringLiteral("FILMS.INI"));
    Settings s;
    readSettings(ini, SettingsScope::Catalogue, s);
    EXPECT_EQ(s.sortLevels[0], 5);
    EXPECT_EQ(s.field(1).caption, QStringLiteral("Film"));
    EXPECT_EQ(s.field(2).caption, QStringLiteral("Star 1"));
    EXPECT_EQ(s.cellColor, QColor(255, 0, 0));
    EXPECT_EQ(s.whatToPrint, 4);
    EXPECT_TRUE(s.showTitles);

    // Once the catalogue has its own file, a key it lacks takes the built-in default.
    kvtest::writeFile(ini, "[Sort Order]\r\nSecondary Sort=3\r\n");
    readSettings(ini, SettingsScope::Catalogue, s);
    EXPECT_EQ(s.sortLevels, (std::array<int, 4>{2, 3, 0, 0}));
    EXPECT_EQ(s.field(1).caption, QStringLiteral("Title"));
    EXPECT_EQ(s.whatToPrint, 1);

    // Writing the catalogue scope writes its own file and leaves QVRVID.INI alone.
    const QByteArray program = kvtest::readFile(configPath("QVRVID.INI"));
    QFile::remove(ini);
    ASSERT_TRUE(writeSettings(ini, SettingsScope::Catalogue, s));
    EXPECT_TRUE(kvtest::readFile(ini).contains("[Sort Order]\r\nPrimary Sort=2\r\nSecondary Sort=3\r\n"));
    EXPECT_EQ(kvtest::readFile(configPath("QVRVID.INI")), program);
}

TEST(Settings, ANewCatalogueStartsFromQvrinvIniOrElseQvrvidIni)
{
    kvtest::writeFile(configPath("QVRVID.INI"), "[Sort Order]\r\nPrimary Sort=5\r\n");
    Settings s;
    readNewCatalogueSettings(s);
    EXPECT_EQ(s.sortLevels[0], 5);

    kvtest::writeFile(configPath("QVRINV.INI"), "[Sort Order]\r\nPrimary Sort=14\r\n");
    readNewCatalogueSettings(s);
    EXPECT_EQ(s.sortLevels[0], 14);
    EXPECT_EQ(newCatalogueSettingsPath(), configPath("QVRINV.INI"));
}

TEST(Settings, AHandEditedFileKeepsItsCommentsAndUnknownKeys)
{
    const QString ini = kvtest::tempPath(QStringLiteral("FILMS.INI"));
    const QByteArray handEdited = "; my video settings\r\n"
                                  "[field names]\r\n"
                                  "TITLE=Film\r\n"
                                  "; the stars\r\n"
                                  "Star1=Lead\r\n"
                                  "Nickname=unused\r\n"
                                  "\r\n"
                                  "[My Notes]\r\n"
                                  "Remember=to rewind\r\n";
    kvtest::writeFile(ini, handEdited);
    Settings s;
    readSettings(ini, SettingsScope::Catalogue, s);
    EXPECT_EQ(s.field(1).caption, QStringLiteral("Film"));
    s.field(1).caption = QStringLiteral("Film Title");
    ASSERT_TRUE(writeSettings(ini, SettingsScope::Catalogue, s));

    const QByteArray file = kvtest::readFile(ini);
    EXPECT_TRUE(file.startsWith("; my video settings\r\n"
                                "[field names]\r\n"
                                "TITLE=Film Title\r\n"
                                "; the stars\r\n"
                                "Star1=Lead\r\n"
                                "Nickname=unused\r\n"
                                "Star2=Star 2\r\n"))
        << file.left(200).toStdString();
    EXPECT_TRUE(file.contains("\r\n[My Notes]\r\nRemember=to rewind\r\n"));
    EXPECT_EQ(file.count("[field names]") + file.count("[Field Names]"), 1);
    Settings back;
    readSettings(ini, SettingsScope::Catalogue, back);
    EXPECT_TRUE(back == s);
}

TEST(Settings, ACataloguesSettingsFileIsFoundInAnyLetterCase)
{
    EXPECT_EQ(catalogueSettingsPath(kvtest::tempPath(QStringLiteral("FILMS.DBF"))),
              kvtest::tempPath(QStringLiteral("FILMS.INI")));
    // The name up to its first period, as the program names a catalogue's companion files.
    EXPECT_EQ(catalogueSettingsPath(kvtest::tempPath(QStringLiteral("my.films.dbf"))),
              kvtest::tempPath(QStringLiteral("my.INI")));

    const QString lower = kvtest::tempPath(QStringLiteral("Films.ini"));
    kvtest::writeFile(lower, "[Sort Order]\r\nPrimary Sort=7\r\n");
    const QString found = catalogueSettingsPath(kvtest::tempPath(QStringLiteral("FILMS.DBF")));
    EXPECT_EQ(found, lower);
    Settings s;
    readSettings(kvtest::tempPath(QStringLiteral("FILMS.INI")), SettingsScope::Catalogue, s);
    EXPECT_EQ(s.sortLevels[0], 7);
    ASSERT_TRUE(writeSettings(kvtest::tempPath(QStringLiteral("FILMS.INI")), SettingsScope::Catalogue, s));
    EXPECT_EQ(QDir(kvtest::tempDir()).entryList(QDir::Files), QStringList{QStringLiteral("Films.ini")});
}

TEST(Settings, StartUpDirectory)
{
    EXPECT_EQ(startupDirectoryOf(QStringLiteral("C:\\")), QStringLiteral("C:"));
    EXPECT_EQ(startupDirectoryOf(QStringLiteral("d:\\")), QStringLiteral("d:"));
    EXPECT_EQ(startupDirectoryOf(QStringLiteral("C:\\Videos")), QStringLiteral("C:\\Videos"));
    EXPECT_EQ(startupDirectoryOf(QStringLiteral("/home/me")), QStringLiteral("/home/me"));
    EXPECT_EQ(startupDirectoryOf(QStringLiteral("/")), QStringLiteral("/"));

    // Taken once: changing folder afterwards changes nothing. (That it is the folder the
    // program started in shows in the defaults kestrova-cli prints.)
    const QString atStart = startupDirectory();
    ASSERT_TRUE(QDir::setCurrent(QDir::tempPath()));
    ASSERT_NE(QDir::currentPath(), atStart);
    EXPECT_EQ(startupDirectory(), atStart);
    EXPECT_EQ(Settings().lastImportFile, atStart);
    EXPECT_EQ(Settings().lastExportFile, atStart);
}

TEST(Settings, TheProgramFormatsComeFromQvrvidIni)
{
    kvtest::writeFile(configPath("QVRVID.INI"), "[Misc]\r\nDate Format=5\r\nDate Leading Zeros=Yes\r\n"
                                                "Numeric Format=2\r\nCurrency Format=2\r\n");
    Settings read;
    applyProgramFormats(read);
    EXPECT_EQ(read.dateFormat, 5);
    EXPECT_EQ(formatDate(QDate(1997, 3, 5)), QStringLiteral("05-03-97"));
    EXPECT_EQ(currentNumberFormats(), (NumberFormats{kRegionalFormat, kRegionalFormat}));

    // A choice outside the twelve leaves the date format alone.
    kvtest::writeFile(configPath("QVRVID.INI"), "[Misc]\r\nDate Format=13\r\nDate Leading Zeros=No\r\n");
    applyProgramFormats(read);
    EXPECT_EQ(formatDate(QDate(1997, 3, 5)), QStringLiteral("05-03-97"));
    EXPECT_EQ(currentNumberFormats(), (NumberFormats{kUsFormat, kUsFormat}));
}

// ---- kestrova-cli settings

TEST(SettingsCli, PrintsTheProgramSettings)
{
    const kvtest::ProcessResult none = kvtest::runCli({QStringLiteral("settings")});
    EXPECT_EQ(none.exitCode, 0) << none.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(none.out), QString::fromLatin1(kProgramDefaults).arg(kvtest::tempDir()));

    kvtest::writeFile(configPath("QVRVID.INI"), "; mine\r\n[misc]\r\nDATE FORMAT=7\r\nShow Tips=yes please\r\n");
    const kvtest::ProcessResult edited = kvtest::runCli({QStringLiteral("settings")});
    EXPECT_EQ(edited.exitCode, 0);
    EXPECT_TRUE(edited.out.contains("\nShow Tips=No\nNext Tip=0\nWindow Size=640\nDate Format=7\n"))
        << edited.out.toStdString();
}

TEST(SettingsCli, PrintsACataloguesSettings)
{
    kvtest::writeFile(kvtest::tempPath(QStringLiteral("FILMS.DBF")), QByteArray(1, '\x03'));
    kvtest::writeFile(configPath("QVRVID.INI"), "[Field Names]\r\nTitle=Film\r\n");
    const kvtest::ProcessResult fallback = kvtest::runCli({QStringLiteral("settings"), QStringLiteral("FILMS.DBF")});
    EXPECT_EQ(fallback.exitCode, 0) << fallback.err.toStdString();
    EXPECT_TRUE(fallback.out.startsWith("[Field Names]\nTitle=Film\nStar1=Star 1\n"));

    kvtest::writeFile(kvtest::tempPath(QStringLiteral("FILMS.INI")), "[Sort Order]\r\nPrimary Sort=11\r\n");
    const kvtest::ProcessResult own = kvtest::runCli({QStringLiteral("settings"), QStringLiteral("FILMS.DBF")});
    EXPECT_EQ(own.exitCode, 0);
    Settings expected;
    expected.sortLevels[0] = 11;
    EXPECT_EQ(QString::fromUtf8(own.out), listing(settingsEntries(SettingsScope::Catalogue, expected)));
}

TEST(SettingsCli, RefusesAMissingCatalogueAndExtraArguments)
{
    const kvtest::ProcessResult missing = kvtest::runCli({QStringLiteral("settings"), QStringLiteral("NONE.DBF")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("NONE.DBF"));
    EXPECT_TRUE(missing.out.isEmpty());

    const kvtest::ProcessResult extra =
        kvtest::runCli({QStringLiteral("settings"), QStringLiteral("A.DBF"), QStringLiteral("B.DBF")});
    EXPECT_EQ(extra.exitCode, 2);
}
