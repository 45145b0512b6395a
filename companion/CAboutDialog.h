#pragma once

#include <QDialog>

struct ModuleInfo;

// Program name, version, date and author of the calling tool, and the suite it belongs to.
class CAboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CAboutDialog(const ModuleInfo& info, QWidget* pParent = nullptr);
};
