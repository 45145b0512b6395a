#include "FontConfigWarmUp.h"

#include <fontconfig/fontconfig.h>

std::future<void> StartFontConfigWarmUp()
{
    // FcInit loads the configuration and the font caches once for the process; a
    // failure here is no failure of the program: Qt tries again and reports it.
    return std::async(std::launch::async, [] { FcInit(); });
}
