#include "viewerlayout.h"

#include "app/settings/settings.h"
#include "store/table.h"

#include <algorithm>
#include <array>

namespace kv {

std::vector<ViewerColumn> viewerColumns(const Settings &settings)
{
    std::vector<int> placed; // field numbers, left to right
    std::array<bool, kFieldCount + 1> picked{};
    int column = 0;
    for (int position = 1; position <= kFieldCount; ++position) {
        int number = 1;
        for (int n = 1; n <= kFieldCount; ++n) {
            if (settings.field(n).order == position) {
                number = n;
                break;
            }
        }
        picked[size_t(number)] = true;
        if (!settings.field(number).shown)
            continue;
        // Like a grid's column index: taking a placed field out first, and a place past
        // the end meaning the end.
        placed.erase(std::remove(placed.begin(), placed.end(), number), placed.end());
        placed.insert(placed.begin() + std::min<std::ptrdiff_t>(column, std::ptrdiff_t(placed.size())), number);
        ++column;
    }
    for (int n = 1; n <= kFieldCount; ++n)
        if (!picked[size_t(n)] && settings.field(n).shown)
            placed.push_back(n);

    std::vector<ViewerColumn> columns;
    columns.reserve(placed.size());
    for (int n : placed)
        columns.push_back({n, settings.field(n).caption, settings.field(n).width});
    return columns;
}

void applyViewerLayout(Table &table, const Settings &settings)
{
    const std::vector<ViewerColumn> columns = viewerColumns(settings);
    table.suspendDisplay();
    int next = int(columns.size());
    for (int n = 1; n <= kFieldCount; ++n) {
        const int i = table.fieldIndex(fieldName(n));
        if (i < 0)
            continue;
        Table::FieldDisplay &display = table.fieldDisplay(i);
        const auto shown =
            std::find_if(columns.begin(), columns.end(), [n](const ViewerColumn &c) { return c.field == n; });
        display.visible = shown != columns.end();
        display.title = settings.field(n).caption;
        display.width = settings.field(n).width;
        display.position = display.visible ? int(shown - columns.begin()) : next++;
    }
    table.resumeDisplay();
}

namespace {
constexpr ViewerCombo kCombos[] = {
    {8, 1, "MyComboProducer"},     {2, 2, "MyComboStar1"},       {3, 2, "MyComboStar2"},
    {4, 2, "MyComboStar3"},        {5, 2, "MyComboStar4"},       {6, 2, "MyComboStar5"},
    {7, 2, "MyComboStar6"},        {9, 3, "MyComboDirector"},    {10, 4, "MyComboReleaseBy"},
    {13, 5, "MyComboRating"},      {14, 6, "MyComboCategory"},   {15, 7, "MyComboPicture"},
    {16, 8, "MyComboSound"},       {17, 9, "MyComboFormat"},     {27, 10, "MyComboLaserFormat"},
    {18, 11, "MyComboPersRating"}, {20, 12, "MyComboRecSpeed"},  {24, 13, "MyComboContent"},
    {33, 15, "MyComboCheckOut"},   {36, 16, "MyComboWherePurch"},
};
} // namespace

const ViewerCombo *viewerCombo(int field)
{
    for (const ViewerCombo &c : kCombos)
        if (c.field == field)
            return &c;
    return nullptr;
}

bool isViewerCheckBox(int field) { return field == fields::CheckOut || field == fields::Viewed; }

} // namespace kv
