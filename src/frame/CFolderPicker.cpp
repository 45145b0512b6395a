#include "CFolderPicker.h"

#include "IPlatformServices.h"

CFolderPicker::CFolderPicker(IPlatformServices& platform, const QString& title,
                             const QString& initialFolder, QWidget* pOwner)
    : m_platform(platform), m_strTitle(title), m_strInitialFolder(initialFolder), m_pOwner(pOwner)
{
}

int CFolderPicker::DoModal()
{
    m_strFolder = m_strInitialFolder;
    const QString chosen = m_platform.PickFolder(m_pOwner, m_strTitle, m_strInitialFolder);
    if (chosen.isEmpty())
        return IDCANCEL;
    m_strFolder = chosen;
    return IDOK;
}
