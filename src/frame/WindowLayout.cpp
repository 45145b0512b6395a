#include "WindowLayout.h"

#include <sstream>
#include <string>

#include "RegistryAccess.h"
#include "Settings.h"

namespace
{
std::string Key()
{
    return GetSettingsKey() + "\\Window";
}

int ReadValue(const char* name)
{
    return ReadRegDword(RegistryRoot::HKEY_CURRENT_USER, Key(), name, 0);
}

void WriteValue(const char* name, int nValue)
{
    WriteRegDword(RegistryRoot::HKEY_CURRENT_USER, Key(), name, nValue);
}

// "200,120,70,100"; anything that is not a list of positive widths reads as none.
std::vector<int> ReadWidths(const char* name)
{
    std::istringstream in(ReadRegString(RegistryRoot::HKEY_CURRENT_USER, Key(), name));
    std::vector<int> widths;
    std::string item;
    while (std::getline(in, item, ','))
    {
        try
        {
            const int nWidth = std::stoi(item);
            if (nWidth <= 0 || nWidth > 10000)
                return {};
            widths.push_back(nWidth);
        }
        catch (const std::exception&)
        {
            return {};
        }
    }
    return widths;
}

void WriteWidths(const char* name, const std::vector<int>& widths)
{
    std::string text;
    for (const int nWidth : widths)
        text += (text.empty() ? "" : ",") + std::to_string(nWidth);
    WriteRegString(RegistryRoot::HKEY_CURRENT_USER, Key(), name, text);
}
} // namespace

bool WindowLayout::Fits(const QRect& available) const
{
    // A window smaller than this was never the user's choice.
    constexpr int kSmallest = 100;
    // A maximised window's splitters were placed in the whole screen, not in the size
    // it comes back to when no longer maximised.
    const QSize panes = bMaximized ? available.size() : geometry.size();
    return geometry.width() >= kSmallest && geometry.height() >= kSmallest &&
           available.contains(geometry) && nLeftWidth > 0 && nLeftWidth < panes.width() &&
           nTreeHeight >= 0 && nTreeHeight < panes.height();
}

std::optional<WindowLayout> WindowLayout::Load()
{
    WindowLayout layout;
    layout.geometry =
        QRect(ReadValue("Left"), ReadValue("Top"), ReadValue("Width"), ReadValue("Height"));
    if (layout.geometry.isEmpty())
        return std::nullopt;
    layout.bMaximized = ReadValue("Maximized") != 0;
    layout.nLeftWidth = ReadValue("LeftColumn");
    layout.nTreeHeight = ReadValue("TreeHeight");
    layout.aVpColumns = ReadWidths("ColumnsVP");
    layout.aVppColumns = ReadWidths("ColumnsVPP");
    return layout;
}

void WindowLayout::Save() const
{
    WriteValue("Left", geometry.x());
    WriteValue("Top", geometry.y());
    WriteValue("Width", geometry.width());
    WriteValue("Height", geometry.height());
    WriteValue("Maximized", bMaximized ? 1 : 0);
    WriteValue("LeftColumn", nLeftWidth);
    WriteValue("TreeHeight", nTreeHeight);
    WriteWidths("ColumnsVP", aVpColumns);
    WriteWidths("ColumnsVPP", aVppColumns);
}
