#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <cstdint>

class QLabel;
class QProgressBar;

// The progress window of a large extraction (dialog 135): the action line, the file
// line and the progress bar. It takes no input: the extraction runs on the GUI thread,
// processes no events and repaints the window itself before each file.
class CExtractProgressDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CExtractProgressDlg(QWidget* pOwner);

    // Shows the window, disabled, with the action line for the whole selection and the
    // bar's range set to its bytes; returns once it is painted.
    void Start(int nFiles, std::int64_t nTotalBytes);
    // The file about to be written and the bytes written before it, painted at once for
    // the first file, then when 40 ms have passed or the bar has moved by a tenth.
    void SetFile(const QString& name, std::int64_t nPosition);

    QProgressBar* m_wndProgress;
    QLabel* m_wndFile;
    QLabel* m_wndAction;

protected:
    void closeEvent(QCloseEvent* pEvent) override;

private:
    // The bar counts in ints: totals past 2 GiB are counted in units of 2^m_nShift bytes.
    int m_nShift = 0;
    std::int64_t m_nTotal = 0;
    std::int64_t m_nShown = -1; // the position last painted, -1 before the first file
    QElapsedTimer m_shownAt;
};
