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
    font.font.setFamily(chosen->family());
    font.font.setBold(chosen->bold());
    font.font.setItalic(chosen->italic());
    return true;
}

} // namespace kv
