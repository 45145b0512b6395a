#include "CFlatLookManager.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDateTimeEdit>
#include <QDialog>
#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>

#include "CFlatCheckBox.h"
#include "CFlatComboBox.h"
#include "CFlatControl.h"
#include "CFlatDateTime.h"
#include "CFlatEdit.h"
#include "CFlatHeader.h"
#include "CFlatLookStyle.h"
#include "CFlatPushButton.h"
#include "CFlatRadioButton.h"
#include "CFlatScrollBar.h"
#include "CFlatSlider.h"
#include "CFlatSpin.h"
#include "CFlatTabCtrl.h"
#include "CFlatToolBar.h"

namespace
{
constexpr int kHoverMilliseconds = 100;

bool IsDialogWindow(const QWidget* pWnd)
{
    return pWnd->isWindow() &&
           (qobject_cast<const QDialog*>(pWnd) || pWnd->windowType() == Qt::Dialog);
}

bool HasFrame(const QFrame* pFrame)
{
    return pFrame->frameShape() != QFrame::NoFrame;
}

// Whether pWnd belongs to pDialog itself and not to a dialog nested inside it.
bool BelongsTo(const QWidget* pWnd, const QWidget* pDialog)
{
    for (const QWidget* p = pWnd->parentWidget(); p && p != pDialog; p = p->parentWidget())
        if (qobject_cast<const QDialog*>(p) || p->isWindow())
            return false;
    return true;
}
} // namespace

CFlatLookManager& CFlatLookManager::Instance()
{
    static QPointer<CFlatLookManager> s_pManager;
    if (!s_pManager)
        s_pManager = new CFlatLookManager(QCoreApplication::instance());
    return *s_pManager;
}

CFlatLookManager::CFlatLookManager(QObject* pParent) : QObject(pParent)
{
    m_timer.setInterval(kHoverMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &CFlatLookManager::OnHoverTimer);
}

CFlatLookManager::~CFlatLookManager()
{
    RemoveHook();
    m_controls.clear();
}

void CFlatLookManager::InstallHook(int, int nMode)
{
    m_nMode = nMode;
    if (m_bHooked)
        return;
    m_bHooked = true;
    if (!m_pStyle)
    {
        // The application owns its style from here on.
        m_pStyle = new CFlatLookStyle;
        QApplication::setStyle(m_pStyle);
    }
    qApp->installEventFilter(this);
}

void CFlatLookManager::RemoveHook(int)
{
    if (!m_bHooked)
        return;
    m_bHooked = false;
    if (qApp)
        qApp->removeEventFilter(this);
    m_timer.stop();
}

std::unique_ptr<CFlatControl> CFlatLookManager::CreatePainter(QWidget* pWnd) const
{
    if (auto* pButton = qobject_cast<QPushButton*>(pWnd))
        return pButton->isFlat() ? nullptr : std::make_unique<CFlatPushButton>(pWnd);
    if (qobject_cast<QCheckBox*>(pWnd))
        return std::make_unique<CFlatCheckBox>(pWnd);
    if (qobject_cast<QRadioButton*>(pWnd))
        return std::make_unique<CFlatRadioButton>(pWnd);
    if (qobject_cast<QComboBox*>(pWnd))
        return std::make_unique<CFlatComboBox>(pWnd);
    if (auto* pEdit = qobject_cast<QLineEdit*>(pWnd))
    {
        // The edit of a combo or spin box is framed with its owner.
        const QWidget* pParent = pEdit->parentWidget();
        if (qobject_cast<const QComboBox*>(pParent) ||
            qobject_cast<const QAbstractSpinBox*>(pParent))
            return nullptr;
        return pEdit->hasFrame() ? std::make_unique<CFlatEdit>(pWnd) : nullptr;
    }
    if (auto* pHeader = qobject_cast<QHeaderView*>(pWnd))
        return pHeader->sectionsClickable() ? std::make_unique<CFlatHeader>(pWnd) : nullptr;
    if (auto* pView = qobject_cast<QAbstractItemView*>(pWnd))
        return HasFrame(pView) ? std::make_unique<CFlatControl>(pWnd) : nullptr;
    if (auto* pText = qobject_cast<QTextEdit*>(pWnd))
        return HasFrame(pText) ? std::make_unique<CFlatControl>(pWnd) : nullptr;
    if (auto* pPlain = qobject_cast<QPlainTextEdit*>(pWnd))
        return HasFrame(pPlain) ? std::make_unique<CFlatControl>(pWnd) : nullptr;
    if (qobject_cast<QDateTimeEdit*>(pWnd))
        return std::make_unique<CFlatDateTime>(pWnd);
    if (qobject_cast<QCalendarWidget*>(pWnd))
        return std::make_unique<CFlatControl>(pWnd);
    if (auto* pSpin = qobject_cast<QAbstractSpinBox*>(pWnd))
        return pSpin->hasFrame() ? std::make_unique<CFlatSpin>(pWnd) : nullptr;
    if (qobject_cast<QScrollBar*>(pWnd))
        return std::make_unique<CFlatScrollBar>(pWnd);
    if (qobject_cast<QSlider*>(pWnd))
        return std::make_unique<CFlatSlider>(pWnd);
    if (qobject_cast<QToolBar*>(pWnd))
        return CFlatToolBar::IsFlat(pWnd) ? nullptr : std::make_unique<CFlatToolBar>(pWnd);
    if (qobject_cast<QTabWidget*>(pWnd) || qobject_cast<QTabBar*>(pWnd))
        return std::make_unique<CFlatTabCtrl>(pWnd);
    return nullptr;
}

bool CFlatLookManager::SubclassControl(QWidget* pWnd)
{
    if (!pWnd || m_controls.count(pWnd))
        return false;
    std::unique_ptr<CFlatControl> pPainter = CreatePainter(pWnd);
    if (!pPainter)
        return false;
    QWidget* pTarget = nullptr;
    QRect rect;
    pPainter->GetFrameDC(pTarget, rect);
    if (pTarget && pTarget != pWnd)
        m_paintTargets[pTarget] = pWnd;
    m_controls[pWnd] = std::move(pPainter);
    connect(pWnd, &QObject::destroyed, this, [this](QObject* p) { UnsubclassControl(p); });
    if (!m_timer.isActive())
        m_timer.start();
    pWnd->update();
    return true;
}

bool CFlatLookManager::UnsubclassControl(QObject* pWnd)
{
    const auto it = m_controls.find(pWnd);
    if (it == m_controls.end())
        return false;
    std::erase_if(m_paintTargets, [pWnd](const auto& entry) { return entry.second == pWnd; });
    m_controls.erase(it);
    if (m_pHotWnd == pWnd)
        m_pHotWnd = nullptr;
    if (m_controls.empty())
        m_timer.stop();
    return true;
}

void CFlatLookManager::SubclassDialog(QWidget* pDialog)
{
    if (!pDialog || m_dialogs.count(pDialog))
        return;
    const QList<QWidget*> children = pDialog->findChildren<QWidget*>();
    for (QWidget* pChild : children)
        if (!pChild->isWindow() && BelongsTo(pChild, pDialog))
            SubclassControl(pChild);
    m_dialogs.insert(pDialog);
    connect(pDialog, &QObject::destroyed, this, [this](QObject* p) { m_dialogs.erase(p); });
    for (QWidget* pChild : children)
        if (CFlatControl* pPainter = FindControl(pChild))
            pPainter->UpdateFrame();
}

CFlatControl* CFlatLookManager::FindControl(const QObject* pWnd) const
{
    const auto it = m_controls.find(pWnd);
    return it == m_controls.end() ? nullptr : it->second.get();
}

bool CFlatLookManager::IsDialogSubclassed(const QObject* pDialog) const
{
    return m_dialogs.count(pDialog) != 0;
}

bool CFlatLookManager::eventFilter(QObject* pObj, QEvent* pEvent)
{
    if (!m_bHooked)
        return false;
    const QEvent::Type type = pEvent->type();
    if (type == QEvent::Show && pObj->isWidgetType())
    {
        auto* pWnd = static_cast<QWidget*>(pObj);
        if (m_nMode == MODE_DIALOGS)
        {
            if (IsDialogWindow(pWnd))
                SubclassDialog(pWnd);
            else if (!pWnd->isWindow() && m_dialogs.count(pWnd->window()) &&
                     BelongsTo(pWnd, pWnd->window()) && SubclassControl(pWnd))
                FindControl(pWnd)->UpdateFrame();
        }
        else if (!pWnd->isWindow() && !qobject_cast<QScrollBar*>(pWnd) && SubclassControl(pWnd))
            FindControl(pWnd)->UpdateFrame();
    }
    if (m_controls.empty())
        return false;
    auto it = m_controls.find(pObj);
    if (it == m_controls.end())
    {
        const auto target = m_paintTargets.find(pObj);
        if (target == m_paintTargets.end())
            return false;
        it = m_controls.find(target->second);
        if (it == m_controls.end())
            return false;
    }
    return it->second->WindowProc(pObj, pEvent);
}

QWidget* CFlatLookManager::ControlAt(QWidget* pWnd) const
{
    for (QWidget* p = pWnd; p; p = p->isWindow() ? nullptr : p->parentWidget())
    {
        if (m_controls.count(p))
            return p;
        if (const auto it = m_paintTargets.find(p); it != m_paintTargets.end())
            return it->second;
    }
    return nullptr;
}

void CFlatLookManager::SetHotWindow(QWidget* pWnd, bool bHot)
{
    CFlatControl* pPainter = FindControl(pWnd);
    if (!pPainter)
        return;
    pPainter->SetHot(bHot);
    pPainter->UpdateFrame();
    // A hot header lights the view it heads.
    if (qobject_cast<QHeaderView*>(pWnd))
        if (CFlatControl* pParent = FindControl(pWnd->parentWidget()))
        {
            pParent->SetHot(bHot);
            pParent->UpdateFrame();
        }
}

void CFlatLookManager::OnHoverTimer()
{
    // Nothing changes while a button is held down on some control.
    if (m_controls.empty() || QWidget::mouseGrabber() ||
        QGuiApplication::mouseButtons() != Qt::NoButton)
        return;
    const QPoint pt = QCursor::pos();
    QWidget* pControl = ControlAt(QApplication::widgetAt(pt));
    if (!pControl)
    {
        if (m_pHotWnd)
            SetHotWindow(m_pHotWnd, false);
        m_pHotWnd = nullptr;
        return;
    }
    CFlatControl* pPainter = FindControl(pControl);
    if (!pPainter->IsNewHotSpot(pt, pControl == m_pHotWnd))
        return;
    if (m_pHotWnd && m_pHotWnd != pControl)
        SetHotWindow(m_pHotWnd, false);
    SetHotWindow(pControl, true);
    m_pHotWnd = pControl;
    // Another item of the same control: its frames move.
    QWidget* pTarget = nullptr;
    QRect rect;
    pPainter->GetFrameDC(pTarget, rect);
    if (pTarget)
        pTarget->update();
}
