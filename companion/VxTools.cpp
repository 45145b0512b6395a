// The companion library's entry points: each takes no arguments and returns when its
// dialog has been closed.
#include "CAboutDialog.h"
#include "CConfigGamesDialog.h"
#include "CVersionCheckDialog.h"
#include "CompanionApplication.h"
#include "ModuleInfo.h"

#define VX_EXPORT extern "C" __attribute__((visibility("default")))

namespace
{
template <typename Dialog, typename... Args> void Run(Args&&... args)
{
    CompanionApplication app;
    Dialog dialog(std::forward<Args>(args)...);
    dialog.exec();
}
} // namespace

VX_EXPORT void DoAbout()
{
    Run<CAboutDialog>(ModuleInfo::Read());
}

VX_EXPORT void DoVXVC()
{
    Run<CVersionCheckDialog>(ModuleInfo::Read());
}

VX_EXPORT void DoConfigGames()
{
    Run<CConfigGamesDialog>();
}
