#pragma once

#include <QDialog>

class COptions1;
class COptions2;
class COptionsPage;
class IPlatformServices;
class QPushButton;
class QTabWidget;
struct AppSettings;

// "Options & Configuration": the tabs "Settings" and "Games", OK and Cancel. OK lets every
// page that was shown write its values; Cancel, Escape and the close box write nothing.
class COptions : public QDialog
{
    Q_OBJECT
public:
    // Loads the stored settings into settings first, so the pages show what is stored.
    COptions(AppSettings& settings, IPlatformServices& platform, QWidget* pParent = nullptr);

    COptions1* GamesPage() const { return m_pageGames; }
    COptions2* SettingsPage() const { return m_pageSettings; }
    QTabWidget* TabControl() const { return m_wndTab; }
    QPushButton* OkButton() const { return m_wndOk; }
    QPushButton* CancelButton() const { return m_wndCancel; }

    void accept() override;

private:
    COptions1* m_pageGames = nullptr;
    COptions2* m_pageSettings = nullptr;
    QTabWidget* m_wndTab = nullptr;
    QPushButton* m_wndOk = nullptr;
    QPushButton* m_wndCancel = nullptr;
};
