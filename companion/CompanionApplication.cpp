#include "CompanionApplication.h"

#include <QApplication>

namespace
{
int g_argc = 1;
char g_argv0[] = "vx_tools";
char* g_argv[] = {g_argv0, nullptr};
} // namespace

CompanionApplication::CompanionApplication()
{
    if (!QCoreApplication::instance())
        m_pOwnApp = std::make_unique<QApplication>(g_argc, g_argv);
}

CompanionApplication::~CompanionApplication() = default;
