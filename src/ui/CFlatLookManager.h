#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <set>
#include <unordered_map>

class CFlatControl;
class CFlatLookStyle;
#include <QWidget>

// Gives the controls of every dialog the flat look: installed once for the GUI thread, it
// watches dialogs being shown and dresses their controls (and controls added later) with a
// painter object each, and tracks the control under the mouse with a 100 ms timer.
class CFlatLookManager : public QObject
{
    Q_OBJECT

public:
    enum Mode : int
    {
        MODE_CONTROLS = 0, // every child control as it is created
        MODE_DIALOGS = 1,  // the controls of each dialog when it is first shown
    };

    // The one manager of the program; it lives as long as the application object.
    static CFlatLookManager& Instance();

    // nThreadId -1: the calling thread, the only one that shows widgets.
    void InstallHook(int nThreadId = -1, int nMode = MODE_DIALOGS);
    void RemoveHook(int nThreadId = -1);

    bool SubclassControl(QWidget* pWnd);
    void SubclassDialog(QWidget* pDialog);
    bool UnsubclassControl(QObject* pWnd);

    CFlatControl* FindControl(const QObject* pWnd) const;
    bool IsDialogSubclassed(const QObject* pDialog) const;
    int ControlCount() const { return static_cast<int>(m_controls.size()); }
    bool IsHoverTimerRunning() const { return m_timer.isActive(); }
    QWidget* HotWindow() const { return m_pHotWnd; }

    // One tick of the hover timer.
    void OnHoverTimer();

protected:
    bool eventFilter(QObject* pObj, QEvent* pEvent) override;

private:
    explicit CFlatLookManager(QObject* pParent);
    ~CFlatLookManager() override;

    std::unique_ptr<CFlatControl> CreatePainter(QWidget* pWnd) const;
    QWidget* ControlAt(QWidget* pWnd) const;
    void SetHotWindow(QWidget* pWnd, bool bHot);

    int m_nMode = MODE_DIALOGS;
    bool m_bHooked = false;
    std::unordered_map<const QObject*, std::unique_ptr<CFlatControl>> m_controls;
    std::unordered_map<const QObject*, QWidget*> m_paintTargets; // paint target -> control
    std::set<const QObject*> m_dialogs;
    QTimer m_timer;
    QPointer<QWidget> m_pHotWnd;
    CFlatLookStyle* m_pStyle = nullptr;
};
