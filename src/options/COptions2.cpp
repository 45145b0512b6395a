#include "COptions2.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

#include "Settings.h"

namespace
{
QCheckBox* CheckBox(const char* text, bool bEnabled = true)
{
    auto* pBox = new QCheckBox(QString::fromUtf8(text));
    pBox->setEnabled(bEnabled);
    return pBox;
}

QComboBox* DropDownList(const QStringList& items, bool bEnabled = true)
{
    auto* pList = new QComboBox;
    pList->addItems(items);
    // Filling selects the first item; a drop-down list starts without a selection.
    pList->setCurrentIndex(-1);
    pList->setEnabled(bEnabled);
    return pList;
}
} // namespace

COptions2::COptions2(const AppSettings& settings, QWidget* pParent)
    : COptionsPage(QStringLiteral("Settings"), 342, 178, pParent), m_settings(settings)
{
    Place(new QGroupBox(QStringLiteral("General Options")), 0, 5, 10, 330, 80);
    Place(CheckBox("Confirm overwriting existing files while extraction", false), 1004, 15, 25, 295,
          10);
    Place(CheckBox("Show grid in file list"), 1005, 15, 35, 295, 10);
    Place(
        CheckBox("Ensure on each startup that .VP/.VPP files are associated with ORBISTAV", false),
        1006, 15, 45, 300, 10);
    Place(new QLabel(QStringLiteral("WAV loop mode:")), 0, 13, 151, 60, 10);
    Place(DropDownList({QStringLiteral("Never loop"),
                        QStringLiteral("Loop music files only (don't loop effects and voice)"),
                        QStringLiteral("Always loop")}),
          1007, 131, 150, 195, 40);
    Place(new QLabel(QStringLiteral("FreeSpace 1 FSC/FSM/TBL files:")), 0, 15, 72, 110, 10);
    Place(DropDownList({QStringLiteral("Do not decode when extracting"),
                        QStringLiteral("Ask whether to decode when extracting"),
                        QStringLiteral("Always decode when extracting")},
                       false),
          1008, 131, 70, 195, 40);
    Place(new QGroupBox(QStringLiteral("Previewer")), 0, 5, 95, 330, 75);
    Place(CheckBox(".WAV audio files"), 1010, 20, 120, 70, 10);
    Place(CheckBox(".PCX graphic files"), 1011, 100, 120, 75, 10);
    Place(CheckBox(".ANI animation files"), 1012, 185, 120, 80, 10);
    Place(CheckBox("Stop previewing when opening the selected file in an external tool (via F3 "
                   "or double-click)"),
          1014, 13, 135, 310, 10);
    Place(CheckBox("Display file sizes in kB (instead of Bytes)"), 1016, 15, 55, 305, 10);
    Place(new QLabel(QStringLiteral("Automatically start Previewer (lower left of window) when "
                                    "selecting the following file types:")),
          0, 13, 110, 310, 10);
}

void COptions2::OnInitDialog()
{
    // Any other loop mode behaves as "Never loop" but is not one of the choices.
    const int nLoop = m_settings.m_nSoundAutoRepeatWAV;
    if (nLoop >= 0 && nLoop <= 2)
        static_cast<QComboBox*>(GetDlgItem(1007))->setCurrentIndex(nLoop);
    SetCheck(1014, m_settings.m_bAutoStopPreview);
    SetCheck(1010, m_settings.m_bSoundAutoPlayWAV);
    SetCheck(1012, m_settings.m_bAutoPlayANI);
    SetCheck(1011, m_settings.m_bAutoShowPCX);
    SetCheck(1016, m_settings.m_bInterfaceDisplayAsKB);
    SetCheck(1005, m_settings.m_bInterfaceShowGrid);
}

void COptions2::OnOK()
{
    // currentIndex is -1 when nothing is selected, which is then stored.
    WriteSetting(kSettingSoundAutoRepeatWAV,
                 static_cast<QComboBox*>(GetDlgItem(1007))->currentIndex());
    WriteSetting(kSettingAutoStopPreview, IsChecked(1014));
    WriteSetting(kSettingSoundAutoPlayWAV, IsChecked(1010));
    WriteSetting(kSettingAutoPlayANI, IsChecked(1012));
    WriteSetting(kSettingAutoShowPCX, IsChecked(1011));
    WriteSetting(kSettingInterfaceDisplayAsKB, IsChecked(1016));
    WriteSetting(kSettingInterfaceShowGrid, IsChecked(1005));
}

bool COptions2::IsChecked(int nId) const
{
    return static_cast<QCheckBox*>(GetDlgItem(nId))->isChecked();
}

void COptions2::SetCheck(int nId, int nState)
{
    // A two-state check box shows any non-zero state as ticked.
    static_cast<QCheckBox*>(GetDlgItem(nId))->setChecked(nState != 0);
}
