#include "reports/labelstock.h"

#include "store/fieldtable.h"

#include <algorithm>

namespace kv {

namespace {

struct StockRow {
    const char *faceName;
    const char *spineName;
    TLabelStockRec face;
    TLabelStockRec spine;
};

// Avery 5199, Avery L7654, the professional labels, Z-Label; the user-defined stock is
// read from the settings.
const StockRow kStocks[4] = {
    {"Avery 5199 (USA)", "Avery 5199 (USA)", {0.9, 1.1, 3.06, 1.8325, 0.25, 10}, {0.52, 1.45, 5.7, 0.6666, 0, 15}},
    {"Avery L7654 (Europe)", "Avery L7654 (Europe)", {0.437, 1.12, 3.06, 1.8125, 0.098, 12},
     {0.625, 1.42, 5.7, 0.667, 0, 16}},
    {"Prof. Labels W3116", "Prof. Labels W534", {1.0, 1.05, 3.06, 1.8125, 0.375, 10}, {0.7, 1.45, 5.7, 0.75, 0, 13}},
    {"Z-Label 31512", "Z-Label 31512", {1.0, 1.1, 3.06, 1.8125, 0.25, 10}, {0.6, 1.45, 5.7, 0.6562, 0, 15}},
};
constexpr char kUserName[] = "User Defined";

} // namespace

std::optional<LabelKind> labelKindOf(int whatToPrint)
{
    if (whatToPrint == 3)
        return LabelKind::Face;
    if (whatToPrint == 4)
        return LabelKind::Spine;
    return std::nullopt;
}

int whatToPrintOf(LabelKind kind) { return kind == LabelKind::Face ? 3 : 4; }

LabelStock labelStockOf(int labelSize)
{
    return labelSize >= 1 && labelSize <= kLabelStockCount ? LabelStock(labelSize) : LabelStock::Avery5199;
}

QString labelStockName(LabelStock stock, LabelKind kind)
{
    if (stock == LabelStock::UserLabel)
        return QString::fromLatin1(kUserName);
    const StockRow &row = kStocks[int(stock) - 1];
    return QString::fromLatin1(kind == LabelKind::Face ? row.faceName : row.spineName);
}

TLabelStockRec labelGeometry(LabelStock stock, LabelKind kind, const LabelDimensions &user)
{
    if (stock != LabelStock::UserLabel) {
        const StockRow &row = kStocks[int(stock) - 1];
        return kind == LabelKind::Face ? row.face : row.spine;
    }
    if (kind == LabelKind::Face)
        return {user.faceTopMargin, user.faceLeftMargin, user.faceWidth, user.faceHeight, user.faceGap,
                std::clamp(user.faceCount, 1, kMaxLabelPositions)};
    return {user.spineTopMargin, user.spineLeftMargin, user.spineWidth, user.spineHeight, user.spineGap,
            std::clamp(user.spineCount, 1, kMaxLabelPositions)};
}

QPageSize::PageSizeId labelPaper(LabelStock stock)
{
    return stock == LabelStock::AveryL7654 ? QPageSize::A4 : QPageSize::Letter;
}

GridShape gridShape(LabelKind kind, LabelStock stock)
{
    if (kind == LabelKind::Face) {
        if (stock == LabelStock::AveryL7654 || stock == LabelStock::UserLabel)
            return {6, 12, std::nullopt};
        return {5, 10, std::nullopt};
    }
    switch (stock) {
    case LabelStock::Avery5199:
    case LabelStock::ZLabel:
        return {8, 15, std::pair{1, 7}};
    case LabelStock::ProLabel:
        return {7, 13, std::pair{1, 6}};
    default:
        return {8, 16, std::nullopt};
    }
}

std::pair<int, int> positionCell(int position) { return {(position - 1) % 2, (position - 1) / 2}; }

void reshapeGrid(Settings &s, LabelKind kind, LabelStock stock)
{
    const GridShape shape = gridShape(kind, stock);
    const QString notUsed = QString::fromLatin1(kNotUsed);
    for (const auto &[column, row] : {std::pair{1, 6}, std::pair{1, 7}}) {
        QString &cell = s.labelItems[size_t(column)][size_t(row)];
        if (shape.notUsed == std::pair{column, row})
            cell = notUsed;
        else if (cell == notUsed)
            cell.clear();
    }
}

const std::array<LabelItem, kLabelItemCount> &labelItems()
{
    static const std::array<LabelItem, kLabelItemCount> items{{
        {fields::MediaNum, &Settings::labelMediaNumber},
        {fields::Title, &Settings::labelTitle},
        {fieldNumber(QStringLiteral("Rating")), &Settings::labelRating},
        {fieldNumber(QStringLiteral("CounterSta")), &Settings::labelStartCounter},
        {fieldNumber(QStringLiteral("CounterSto")), &Settings::labelStopCounter},
        {fields::Year, &Settings::labelYearReleased},
        {fields::RunTime, &Settings::labelPlayTime},
        {fieldNumber(QStringLiteral("Category")), &Settings::labelCategory},
    }};
    return items;
}

bool anyLabelItem(const Settings &s)
{
    return std::any_of(labelItems().begin(), labelItems().end(), [&s](const LabelItem &i) { return s.*i.flag; });
}

QString labelFontCaption(const UserFont &font)
{
    const int size = font.font.pointSize() > 0 ? font.font.pointSize() : kLabelFontSize;
    return QString::number(size) + QStringLiteral("pt ") + font.font.family();
}

} // namespace kv
