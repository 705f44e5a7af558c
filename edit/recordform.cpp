#include "edit/recordform.h"

#include "base/dateformat.h"
#include "base/numberformat.h"
#include "base/numbertext.h"

namespace kv {

namespace {

using K = BoxKind;
constexpr std::array<EditBox, kEditBoxCount> kBoxes = {{
    {"Title", 1, 1, K::Text, "TitleLabel", 0},
    {"Star1", 2, 1, K::DropDown, "StarsLabel", kStarList},
    {"Star2", 3, 1, K::DropDown, nullptr, kStarList},
    {"Star3", 4, 1, K::DropDown, nullptr, kStarList},
    {"Star4", 5, 1, K::DropDown, nullptr, kStarList},
    {"Star5", 6, 1, K::DropDown, nullptr, kStarList},
    {"Star6", 7, 1, K::DropDown, nullptr, kStarList},
    {"YearReleased", 11, 1, K::Text, "YearReleaseLabel", 0},
    {"Producer", 8, 1, K::DropDown, "ProducerLabel", 1},
    {"Director", 9, 1, K::DropDown, "DirectorLabel", 3},
    {"Writer", 38, 1, K::Text, "WriterLabel", 0},
    {"ReleasedBy", 10, 1, K::DropDown, "ReleasedByLabel", 4},
    {"Category", 14, 2, K::DropDown, "CategoryLabel", 6},
    {"Rating", 13, 2, K::DropDown, "RatingLabel", 5},
    {"PersRating", 18, 2, K::DropDown, "PersRatingLabel", 11},
    {"KeyWords", 26, 2, K::Text, "KeyWordsLabel", 0},
    {"Description", 23, 2, K::Text, "DescriptionLabel", 0},
    {"Format", 17, 2, K::DropDown, "FormatLabel", 9},
    {"LaserFormat", 27, 2, K::DropDown, "LaserFormatLabel", 10},
    {"Content", 24, 2, K::DropDown, "ContentLabel", 13},
    {"Picture", 15, 2, K::DropDown, "PictureLabel", 7},
    {"Sound", 16, 2, K::DropDown, "SoundLabel", 8},
    {"RecordSpeed", 20, 2, K::DropDown, "RecordSpeedLabel", 12},
    {"MediaNumber", 19, 3, K::Text, "MediaNumLabel", 0},
    {"CounterStart", 21, 3, K::Text, "CounterStartLabel", 0},
    {"CounterStop", 22, 3, K::Text, "CounterStopLabel", 0},
    {"PlayTime", 12, 3, K::Text, "PlayTimeLabel", 0},
    {"Viewed", 37, 3, K::Check, nullptr, 0},
    {"CheckOut", 31, 3, K::Check, nullptr, 0},
    {"CheckDate", 32, 3, K::Date, "CheckDateLabel", 0},
    {"CheckName", 33, 3, K::DropDown, "CheckPersonLabel", 15},
    {"ListPrice", 28, 4, K::Text, "ListPriceLabel", 0},
    {"PurchPrice", 34, 4, K::Text, "PurchPriceLabel", 0},
    {"PurchDate", 35, 4, K::Date, "PurchDateLabel", 0},
    {"WherePurch", 36, 4, K::DropDown, "WherePurchLabel", 16},
    {"OscarAward", 30, 4, K::Text, "OscarAwardLabel", 0},
    {"OscarNom", 29, 4, K::Text, "OscarNomLabel", 0},
    {"Misc", 25, 4, K::Text, "MiscLabel", 0},
    {"UserDef1", 39, 4, K::Text, "UserDef1Label", 0},
    {"UserDef2", 40, 4, K::Text, "UserDef2Label", 0},
}};

constexpr int kDateBoxLength = 10;
constexpr int kStashPersonLength = 30;
constexpr int kTitleEchoCaptionLength = 22;

bool isDate(int f) { return f == fields::CheckDate || f == fields::PurchDate; }
bool isPrice(int f) { return f == fields::ListPrice || f == fields::PurchPrice; }

// A date box is blank when it holds nothing but an empty mask of any of the separators.
bool blankDate(const QString &trimmed)
{
    return trimmed.isEmpty() || trimmed == QLatin1String("/  /") || trimmed == QLatin1String("-  -") ||
           trimmed == QLatin1String(".  .");
}

QString withoutSpaces(QString text) { return text.remove(QLatin1Char(' ')); }

} // namespace

const std::array<EditBox, kEditBoxCount> &editBoxes() { return kBoxes; }

const EditBox &editBoxOf(int f)
{
    for (const EditBox &b : kBoxes) {
        if (b.field == f)
            return b;
    }
    Q_ASSERT(false);
    return kBoxes.front();
}

int boxMaxLength(int f) { return field(f).width; }

RecordForm blankForm()
{
    RecordForm form;
    for (int f : {int(fields::RunTime), int(fields::ListPrice), int(fields::PurchPrice)})
        form.text[size_t(f)] = QStringLiteral("0");
    return form;
}

RecordForm loadForm(const Table &table)
{
    RecordForm form;
    for (int f = 1; f <= kFieldCount; ++f) {
        const int i = table.fieldIndex(fieldName(f));
        if (i < 0)
            continue;
        if (isDate(f))
            form.text[size_t(f)] = dateBoxText(table.fieldDate(i));
        else if (isPrice(f))
            form.text[size_t(f)] = table.fieldText(i).isEmpty() ? QString() : priceText(table.fieldNumber(i));
        else
            form.text[size_t(f)] = table.fieldText(i);
    }
    form.checkOut = form.text[fields::CheckOut] == QLatin1String("Yes");
    form.viewed = form.text[fields::Viewed] == QLatin1String("Yes");
    form.text[fields::CheckOut].clear();
    form.text[fields::Viewed].clear();
    return form;
}

QString dateBoxText(const QDate &date)
{
    if (!date.isValid())
        return QString();
    const DateFormat &format = currentDateFormat();
    QStringList parts;
    for (const QString &part : format.pattern.split(QLatin1Char('/'))) {
        const QChar kind = part.isEmpty() ? QChar() : part.at(0).toLower();
        if (kind == QLatin1Char('d'))
            parts << QStringLiteral("%1").arg(date.day(), 2, 10, QLatin1Char('0'));
        else if (kind == QLatin1Char('m'))
            parts << QStringLiteral("%1").arg(date.month(), 2, 10, QLatin1Char('0'));
        else
            parts << QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
    }
    return parts.join(format.separator);
}

QString dateBoxMask()
{
    const QString sep(currentDateFormat().separator);
    return QStringLiteral("99") + sep + QStringLiteral("99") + sep + QStringLiteral("9999; ");
}

QString priceText(double value) { return formatNumber(value, NumberStyle::Currency, 0); }

QString reformattedPrice(const QString &text)
{
    if (withoutSpaces(text).isEmpty())
        return text;
    const std::optional<double> value = readPrice(text.trimmed());
    return value ? priceText(*value) : text;
}

RecordForm snapshotOf(const RecordForm &form)
{
    RecordForm snapshot = form;
    for (int f = 1; f <= kFieldCount; ++f) {
        // A price shows with group separators, whole, however long that makes it.
        if (f == fields::ListPrice || f == fields::PurchPrice)
            continue;
        snapshot.text[size_t(f)].truncate(isDate(f) ? kDateBoxLength : boxMaxLength(f));
    }
    return snapshot;
}

bool valuesChanged(const RecordForm &snapshot, const RecordForm &now)
{
    if (snapshot.checkOut != now.checkOut || snapshot.viewed != now.viewed)
        return true;
    for (int f = 1; f <= kFieldCount; ++f) {
        const QString &a = snapshot.text[size_t(f)];
        const QString &b = now.text[size_t(f)];
        if (isDate(f) ? a.trimmed() != b.trimmed() : a != b)
            return true;
    }
    return false;
}

void CheckOutStash::fillFrom(const RecordForm &form)
{
    date = form.text[fields::CheckDate];
    person = form.text[fields::CheckName];
}

void CheckOutStash::untick(RecordForm &form)
{
    date = form.text[fields::CheckDate].left(kDateBoxLength);
    person = form.text[fields::CheckName].left(kStashPersonLength);
    form.text[fields::CheckDate].clear();
    form.text[fields::CheckName].clear();
    form.checkOut = false;
}

void CheckOutStash::tick(RecordForm &form) const
{
    form.text[fields::CheckDate] = date;
    form.text[fields::CheckName] = person;
    form.checkOut = true;
}

QString titleEcho(const QString &titleCaption, const QString &title)
{
    return (titleCaption + QStringLiteral(": ")).left(kTitleEchoCaptionLength) + title;
}

std::optional<CheckFailure> checkForm(const RecordForm &form, CheckedValues *values)
{
    CheckedValues v;
    const auto date = [&](int f, QString *out) {
        const QString t = form.text[size_t(f)].trimmed();
        if (blankDate(t))
            return true;
        const std::optional<QDate> d = parseDate(t);
        if (!d || !d->isValid())
            return false;
        *out = withoutSpaces(t);
        return true;
    };
    const auto price = [&](int f, double *out) {
        const QString t = form.text[size_t(f)].trimmed();
        if (t.isEmpty())
            return true;
        const std::optional<double> p = readPrice(t);
        if (p)
            *out = *p;
        return p.has_value();
    };
    const auto whole = [&](int f) {
        const QString t = form.text[size_t(f)].trimmed();
        return t.isEmpty() || readWholeNumber(t).has_value();
    };
    const auto failure = [](const char *message, int page, int f) {
        return CheckFailure{QString::fromLatin1(message), page, f};
    };
    if (!date(fields::CheckDate, &v.checkDate))
        return failure(kCheckDateMessage, 3, fields::CheckDate);
    if (!date(fields::PurchDate, &v.purchDate))
        return failure(kPurchDateMessage, 4, fields::PurchDate);
    if (!price(fields::ListPrice, &v.listPrice))
        return failure(kListPriceMessage, 4, fields::ListPrice);
    if (!price(fields::PurchPrice, &v.purchPrice))
        return failure(kPurchPriceMessage, 4, fields::PurchPrice);
    if (!whole(fields::RunTime))
        return failure(kPlayTimeMessage, 3, fields::RunTime);
    if (!whole(fields::Year))
        return failure(kYearMessage, 1, fields::Year);
    if (values)
        *values = v;
    return std::nullopt;
}

std::optional<CheckFailure> checkCharacters(const RecordForm &form, Codepage codepage)
{
    for (const EditBox &box : editBoxes()) {
        if (box.kind == BoxKind::Check)
            continue;
        const QString &text = form.text[size_t(box.field)];
        const qsizetype at = firstUnencodable(text, codepage);
        if (at >= 0)
            return CheckFailure{unstorableCharacterMessage(QString::fromLatin1(field(box.field).caption), text, at),
                                box.page, box.field};
    }
    return std::nullopt;
}

QString unstorableCharacterMessage(const QString &fieldLabel, const QString &text, qsizetype at)
{
    return QStringLiteral("The character %1 in %2 cannot be stored in the catalogue.  Please correct.")
        .arg(characterName(text, at), fieldLabel);
}

void writeForm(Table &table, const RecordForm &form, const CheckedValues &values)
{
    for (int f = 1; f <= kFieldCount; ++f) {
        const int i = table.fieldIndex(fieldName(f));
        if (i < 0)
            continue;
        if (f == fields::ListPrice || f == fields::PurchPrice)
            table.setFieldNumber(i, f == fields::ListPrice ? values.listPrice : values.purchPrice);
        else if (isDate(f))
            table.setFieldText(i, f == fields::CheckDate ? values.checkDate : values.purchDate);
        else if (f == fields::CheckOut || f == fields::Viewed)
            table.setFieldText(i, QLatin1String((f == fields::CheckOut ? form.checkOut : form.viewed) ? "Yes" : "No"));
        else
            table.setFieldText(i, form.text[size_t(f)]);
    }
}

UpdateOutcome updateRecord(Table &table, PickLists &lists, Prompt &prompt, EditMode &mode, const RecordForm &form)
{
    CheckedValues values;
    if (std::optional<CheckFailure> failure = checkForm(form, &values))
        return {UpdateResult::CheckFailed, failure};
    // A character the catalogue cannot hold is refused, not stored as "?".
    if (std::optional<CheckFailure> failure = checkCharacters(form))
        return {UpdateResult::CheckFailed, failure};
    lists.addTypedValues(form.text);
    // The mode turns to 2 only once the record is posted: a new record that failed must
    // not turn the next update into a rewrite of the record it was started from.
    try {
        if (mode != EditMode::Edit || table.recordCount() == 0)
            table.append();
        else
            table.edit();
        writeForm(table, form, values);
        table.post();
    } catch (const DbError &e) {
        if (table.state() == Table::State::Edit || table.state() == Table::State::Insert)
            table.cancel();
        prompt.showError(e.message());
        return {UpdateResult::StoreFailed, std::nullopt};
    }
    mode = EditMode::Edit;
    return {};
}

} // namespace kv
