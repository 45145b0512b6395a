#pragma once

#include <QDialog>

struct ModuleInfo;

// The check for a new version. No update service is reachable from this build, so it
// says so at once instead of waiting on a network that is not there.
class CVersionCheckDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CVersionCheckDialog(const ModuleInfo& info, QWidget* pParent = nullptr);
};
