#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <cstdint>

class QLabel;
class QProgressBar;
class QPushButton;

// The progress window of a save: what is written, a bar and Cancel. The save runs on the
// GUI thread; each step repaints the window and takes the click on Cancel, the only input
// the window lets through while it stands.
class CSaveProgressDlg : public QDialog
{
    Q_OBJECT
public:
    CSaveProgressDlg(QWidget* pOwner, const QString& action);

    // The bytes written so far of the total; false once Cancel was clicked.
    bool Step(std::int64_t nDone, std::int64_t nTotal);
    bool Cancelled() const { return m_bCancelled; }

    QProgressBar* m_wndProgress;
    QPushButton* m_wndCancel;

protected:
    void closeEvent(QCloseEvent* pEvent) override;

private:
    QElapsedTimer m_shownAt;
    bool m_bCancelled = false;
};
