#include "app/display/displayoptions.h"

#include "app/display/screensize.h"
#include "base/dateformat.h"

namespace kv {

bool chooseDateFormat(Settings &settings, int choice)
{
    if (settings.dateFormat == choice)
        return false;
    settings.dateFormat = choice;
    setCurrentDateFormat(choice, settings.dateLeadingZeros);
    return true;
}

bool toggleLeadingZeros(Settings &settings)
{
    settings.dateLeadingZeros = !settings.dateLeadingZeros;
    setCurrentDateFormat(settings.dateFormat, settings.dateLeadingZeros);
    return true;
}

void chooseCurrencyFormat(Settings &settings, int format)
{
    settings.currencyFormat = format;
    applyFormats(settings);
}

void chooseNumericFormat(Settings &settings, int format)
{
    settings.numericFormat = format;
    applyFormats(settings);
}

bool chooseScreenSize(Settings &settings, Prompt &prompt, int mode, QSize screen)
{
    if (mode == settings.windowSize)
        return false;
    if (!screenSupports(mode, screen)) {
        prompt.showError(screenSizeRefusedMessage(mode));
        return false;
    }
    settings.windowSize = mode;
    return true;
}

bool chooseFont(Settings &settings, Prompt &prompt, FontRole role, const QString &title)
{
    UserFont &font = settings.font(role);
    const std::optional<QFont> chosen = prompt.font(font.font, title);
    if (!chosen)
        return false;
    switch (role) {
    case FontRole::Edit:
    case FontRole::Label:
    case FontRole::Button:
        // The windows were designed for their sizes; the user picks the face and style.
        font.font.setFamily(chosen->family());
        font.font.setBold(chosen->bold());
        font.font.setItalic(chosen->italic());
        break;
    case FontRole::GridTitle:
    case FontRole::Grid:
    case FontRole::ReportLabel:
        font.font = *chosen;
        break;
    }
    return true;
}

bool chooseColor(QColor &color, Prompt &prompt, const QString &title)
{
    const std::optional<QColor> chosen = prompt.color(color, title);
    if (!chosen)
        return false;
    color = *chosen;
    return true;
}

} // namespace kv
