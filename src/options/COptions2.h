#pragma once

#include "COptionsPage.h"

struct AppSettings;

// The "Settings" page: the seven settings as check boxes and the WAV loop mode list, plus
// three options that are shown disabled and have no effect.
class COptions2 : public COptionsPage
{
    Q_OBJECT
public:
    explicit COptions2(const AppSettings& settings, QWidget* pParent = nullptr);

    // Writes the page's values with WriteSetting.
    void OnOK() override;

protected:
    void OnInitDialog() override;

private:
    bool IsChecked(int nId) const;
    void SetCheck(int nId, int nState);

    const AppSettings& m_settings;
};
