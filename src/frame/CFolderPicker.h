#pragma once

#include <QString>

class IPlatformServices;
class QWidget;

// The folder chooser of the extraction command: a thin layer over the platform's
// folder dialog. DoModal returns IDOK (1) when a folder was chosen, else IDCANCEL (2);
// the folder stays the initial one then.
class CFolderPicker
{
public:
    enum
    {
        IDOK = 1,
        IDCANCEL = 2,
    };

    CFolderPicker(IPlatformServices& platform, const QString& title, const QString& initialFolder,
                  QWidget* pOwner);

    int DoModal();
    const QString& GetFolder() const { return m_strFolder; }

private:
    IPlatformServices& m_platform;
    QString m_strTitle;
    QString m_strInitialFolder;
    QWidget* m_pOwner;
    QString m_strFolder;
};
