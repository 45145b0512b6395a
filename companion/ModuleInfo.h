#pragma once

#include <QString>

// What the module information file beside the calling program says about it.
struct ModuleInfo
{
    QString strId;      // "Desc"
    QString strVersion; // "Vers"
    QString strDate;
    QString strCoder;
    int nBuild = 0;

    static ModuleInfo Read();
};
