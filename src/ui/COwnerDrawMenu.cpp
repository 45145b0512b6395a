#include "COwnerDrawMenu.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStyleOptionMenuItem>
#include <algorithm>

#include "CFlatLookStyle.h"
#include "COwnerDrawMenuStyle.h"
#include "FrameDrawing.h"
#include "MenuImages.h"
#include "SystemLook.h"

namespace
{
QString CurrentText(const QAction& action)
{
    QString strText = action.text();
    if (!action.shortcut().isEmpty())
        strText += QLatin1Char('\t') + action.shortcut().toString(QKeySequence::NativeText);
    return strText;
}

unsigned CurrentFlags(const QAction& action)
{
    unsigned nFlags = MF_OWNERDRAW | MF_BYPOSITION;
    if (action.isSeparator())
        return nFlags | MF_SEPARATOR;
    if (action.menu())
        nFlags |= MF_POPUP;
    if (!action.isEnabled())
        nFlags |= MF_GRAYED | MF_DISABLED;
    if (action.isChecked())
        nFlags |= MF_CHECKED;
    return nFlags;
}

int CommandOf(const QAction& action)
{
    bool bOk = false;
    const int nId = action.data().toInt(&bOk);
    return bOk ? nId : 0;
}
} // namespace

COwnerDrawMenu::COwnerDrawMenu() : m_pRoot(this) {}

COwnerDrawMenu::COwnerDrawMenu(QMenu* pMenu, COwnerDrawMenu* pRoot) : m_pMenu(pMenu), m_pRoot(pRoot)
{
}

COwnerDrawMenu::~COwnerDrawMenu()
{
    // Popups that outlive this object fall back to the application's look.
    for (const auto& pPopup : m_subMenus)
        if (pPopup->m_pMenu)
        {
            pPopup->m_pMenu->removeEventFilter(this);
            pPopup->m_pMenu->setStyle(nullptr);
        }
}

bool COwnerDrawMenu::LoadMenu(QMenuBar* pBar)
{
    if (!pBar)
        return false;
    m_pBar = pBar;
    if (!m_pStyle)
        m_pStyle = std::make_unique<COwnerDrawMenuStyle>(*this);
    for (QAction* pAction : pBar->actions())
        if (pAction->menu())
            AdoptPopup(pAction->menu());
    return true;
}

void COwnerDrawMenu::AdoptPopup(QMenu* pMenu)
{
    if (IsOwnMenu(pMenu))
        return;
    m_subMenus.push_back(std::unique_ptr<COwnerDrawMenu>(new COwnerDrawMenu(pMenu, this)));
    pMenu->setStyle(m_pStyle.get());
    pMenu->installEventFilter(this);
    // After the frame's own handling of the opening popup, which sets states and texts.
    connect(pMenu, &QMenu::aboutToShow, this, [this, pMenu] { PreparePopup(pMenu); });
    PreparePopup(pMenu);
    for (QAction* pAction : pMenu->actions())
        if (pAction->menu())
            AdoptPopup(pAction->menu());
}

bool COwnerDrawMenu::IsOwnMenu(const QMenu* pMenu) const
{
    return FindPopup(pMenu) != nullptr;
}

COwnerDrawMenu* COwnerDrawMenu::FindPopup(const QMenu* pMenu) const
{
    for (const auto& pPopup : m_pRoot->m_subMenus)
        if (pPopup->m_pMenu == pMenu && pMenu)
            return pPopup.get();
    return nullptr;
}

const OwnerDrawMenuItem* COwnerDrawMenu::FindItem(const QAction* pAction) const
{
    if (!pAction)
        return nullptr;
    for (const auto& pItem : m_items)
        if (pItem->pAction == pAction)
            return pItem.get();
    return nullptr;
}

void COwnerDrawMenu::AppendItem(const QString& strText, unsigned nFlags, int nId, int nImageSource)
{
    if (!m_pMenu)
        return;
    auto pItem = std::make_unique<OwnerDrawMenuItem>();
    if (nId == 0)
    {
        pItem->pAction = m_pMenu->addSeparator();
        pItem->nFlags = nFlags | MF_SEPARATOR | MF_OWNERDRAW;
    }
    else
    {
        pItem->strText = strText;
        pItem->nID = static_cast<unsigned>(nId);
        pItem->nFlags = nFlags | MF_OWNERDRAW;
        QAction* pAction = m_pMenu->addAction(strText.section(QLatin1Char('\t'), 0, 0));
        pAction->setData(nId);
        pAction->setEnabled((nFlags & (MF_GRAYED | MF_DISABLED)) == 0);
        pItem->pAction = pAction;
    }
    m_items.push_back(std::move(pItem));
    if (nImageSource != -1 && nId != 0)
        SetItemImage({}, nId, nImageSource);
}

OwnerDrawMenuItem* COwnerDrawMenu::FindCommand(int nId)
{
    for (const auto& pItem : m_items)
    {
        if (pItem->pAction && pItem->pAction->menu())
            if (COwnerDrawMenu* pPopup = FindPopup(pItem->pAction->menu()))
                if (OwnerDrawMenuItem* pFound = pPopup->FindCommand(nId))
                    return pFound;
        if (nId != 0 && pItem->nID == static_cast<unsigned>(nId))
            return pItem.get();
    }
    return nullptr;
}

bool COwnerDrawMenu::SetItemImage(const QString& strText, int nId, int nImageSource)
{
    OwnerDrawMenuItem* pItem = nullptr;
    if (m_pMenu)
        pItem = FindCommand(nId);
    else
        for (const auto& pPopup : m_subMenus)
            if (!pItem)
                pItem = pPopup->FindCommand(nId);
    if (!pItem)
        return false;
    if (!strText.isEmpty())
        pItem->strText = strText;
    const std::optional<ToolbarResource> toolbar = LoadToolbarResource(nImageSource);
    if (!toolbar)
        return false;
    pItem->nImage = std::max(0, toolbar->ImageOf(nId));
    pItem->nImageSource = nImageSource;
    pItem->pImages = toolbar->bitmap;
    pItem->nFlags |= MF_OWNERDRAW;
    return true;
}

bool COwnerDrawMenu::LoadToolbar(int nToolbarId)
{
    const std::optional<ToolbarResource> toolbar = LoadToolbarResource(nToolbarId);
    if (!toolbar)
        return false;
    for (const int nButton : toolbar->aButtons)
        if (nButton != 0)
            SetItemImage({}, nButton, nToolbarId);
    return true;
}

void COwnerDrawMenu::PreparePopup(QMenu* pMenu)
{
    COwnerDrawMenu* pPopup = FindPopup(pMenu);
    if (!pPopup)
        return;
    for (const auto& pItem : pPopup->m_items)
        pItem->bSeen = false;
    std::vector<std::unique_ptr<OwnerDrawMenuItem>> items;
    for (QAction* pAction : pMenu->actions())
    {
        if (!pAction->isVisible())
            continue;
        const auto it = std::find_if(pPopup->m_items.begin(), pPopup->m_items.end(),
                                     [pAction](const auto& p)
                                     { return p && !p->bSeen && p->pAction == pAction; });
        std::unique_ptr<OwnerDrawMenuItem> pItem;
        if (it != pPopup->m_items.end())
            pItem = std::move(*it);
        else
            pItem = std::make_unique<OwnerDrawMenuItem>();
        pItem->bSeen = true;
        pItem->pAction = pAction;
        pItem->nFlags = CurrentFlags(*pAction);
        pItem->nID = pAction->isSeparator() || pAction->menu()
                         ? 0
                         : static_cast<unsigned>(CommandOf(*pAction));
        pItem->strText = pAction->isSeparator() ? QString() : CurrentText(*pAction);
        items.push_back(std::move(pItem));
    }
    // Records left unseen go with their images.
    pPopup->m_items = std::move(items);
    AlignAccelerators(*pPopup);
}

void COwnerDrawMenu::AlignAccelerators(COwnerDrawMenu& popup)
{
    const QFontMetrics metrics(MenuFont());
    const QLatin1Char tab('\t');
    const int nSpace = std::max(1, metrics.horizontalAdvance(u' '));
    int nWidest = 0;
    for (const auto& pItem : popup.m_items)
        nWidest =
            std::max(nWidest, metrics.horizontalAdvance(pItem->strText.section(tab, 0, 0) + u' '));
    for (const auto& pItem : popup.m_items)
    {
        const int nTab = static_cast<int>(pItem->strText.indexOf(tab));
        if (nTab < 0)
            continue;
        // The fewest spaces that reach the widest text. Spaces add their own width, so
        // the estimate is nearly always right and the two checks only confirm it.
        const QString strBefore = pItem->strText.left(nTab);
        const auto padded = [&](int n) { return strBefore + QString(n, u' '); };
        const int nShort = nWidest - metrics.horizontalAdvance(strBefore);
        int nSpaces = nShort > 0 ? (nShort + nSpace - 1) / nSpace : 0;
        while (metrics.horizontalAdvance(padded(nSpaces)) < nWidest)
            ++nSpaces;
        while (nSpaces > 0 && metrics.horizontalAdvance(padded(nSpaces - 1)) >= nWidest)
            --nSpaces;
        pItem->strText = padded(nSpaces) + pItem->strText.mid(nTab);
    }
}

int COwnerDrawMenu::FindMnemonic(QChar ch, unsigned nFlags, QMenu* pMenu)
{
    if (!(nFlags & MF_POPUP))
        return 0;
    COwnerDrawMenu* pPopup = FindPopup(pMenu);
    if (!pPopup)
        return 0;
    const QString strKey = (QStringLiteral("&") + ch).toLower();
    int nVisible = 0;
    for (const QAction* pAction : pMenu->actions())
        nVisible += pAction->isVisible() ? 1 : 0;
    if (nVisible != static_cast<int>(pPopup->m_items.size()))
        PreparePopup(pMenu);
    for (std::size_t nPos = 0; nPos < pPopup->m_items.size(); ++nPos)
        if (pPopup->m_items[nPos]->strText.toLower().contains(strKey))
            return (MNC_EXECUTE << 16) | static_cast<int>(nPos);
    return 0;
}

bool COwnerDrawMenu::eventFilter(QObject* pObj, QEvent* pEvent)
{
    if (pEvent->type() != QEvent::KeyPress)
        return false;
    auto* pMenu = qobject_cast<QMenu*>(pObj);
    const auto* pKey = static_cast<const QKeyEvent*>(pEvent);
    const QString strText = pKey->text();
    if (!pMenu || strText.size() != 1 || !strText[0].isPrint() || strText[0].isSpace() ||
        (pKey->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    const int nAnswer = FindMnemonic(strText[0], MF_POPUP, pMenu);
    if (nAnswer == 0)
    {
        QApplication::beep();
        return true;
    }
    COwnerDrawMenu* pPopup = FindPopup(pMenu);
    QAction* pAction = pPopup->m_items[static_cast<std::size_t>(nAnswer & 0xFFFF)]->pAction;
    if (!pAction)
        return true;
    // The item runs at once, as Return on it would.
    pMenu->setActiveAction(pAction);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(pMenu, &enter);
    return true;
}

QSize COwnerDrawMenu::MeasureItem(const OwnerDrawMenuItem& item) const
{
    const int nLine = GetSystemMetrics(SM_CYMENU);
    if (item.nFlags & MF_SEPARATOR)
        return {0, nLine / 2};
    const QFontMetrics metrics(MenuFont());
    const QString strText = QString(item.strText).replace(QLatin1Char('\t'), QLatin1Char(' '));
    return {metrics.horizontalAdvance(strText) + 2 * m_nIconX + 1, std::max(nLine, m_nIconY + 4)};
}

void COwnerDrawMenu::DrawDisabledImage(QPainter& dc, const OwnerDrawMenuItem& item, int x,
                                       int y) const
{
    // The image's shape, without its background colours, engraved: light one pixel right
    // and down, shadow on top.
    const QImage cell = item.pImages.copy(m_nIconX * item.nImage, 0, m_nIconX, m_nIconY)
                            .toImage()
                            .convertToFormat(QImage::Format_ARGB32);
    const QRgb face = GetSysColor(COLOR_BTNFACE).rgb();
    const QRgb light = GetSysColor(COLOR_BTNHIGHLIGHT).rgb();
    QImage highlight(cell.size(), QImage::Format_ARGB32);
    highlight.fill(Qt::transparent);
    QImage shadow = highlight;
    const QRgb highlightColour = GetSysColor(COLOR_BTNHIGHLIGHT).rgba();
    const QRgb shadowColour = GetSysColor(COLOR_BTNSHADOW).rgba();
    for (int py = 0; py < cell.height(); ++py)
        for (int px = 0; px < cell.width(); ++px)
        {
            const QRgb pixel = cell.pixel(px, py);
            const QRgb opaque = pixel | 0xFF000000u;
            // The light greys of button artwork count as background like the face colour.
            if (qAlpha(pixel) < 128 || opaque == face || opaque == light || qGray(pixel) >= 0xC0)
                continue;
            highlight.setPixel(px, py, highlightColour);
            shadow.setPixel(px, py, shadowColour);
        }
    dc.fillRect(x, y, m_nIconX, m_nIconY, GetSysColor(COLOR_3DFACE));
    dc.drawImage(x + 1, y + 1, highlight);
    dc.drawImage(x, y, shadow);
}

void COwnerDrawMenu::DrawText(QPainter& dc, const QRect& rect, const QString& strText,
                              const QColor& colour, bool bHasTab) const
{
    const QLatin1Char tab('\t');
    dc.setPen(colour);
    const int nFlags = Qt::TextSingleLine | Qt::AlignVCenter | Qt::TextShowMnemonic;
    dc.drawText(rect, nFlags | Qt::AlignLeft, strText.section(tab, 0, 0).trimmed());
    if (bHasTab)
        dc.drawText(rect, nFlags | Qt::AlignRight, strText.section(tab, -1));
}

void COwnerDrawMenu::DrawItem(QPainter& dc, const QStyleOptionMenuItem& option,
                              const OwnerDrawMenuItem& item) const
{
    const QRect& rect = option.rect;
    const int nLeft = rect.left();
    const int nTop = rect.top();
    const QColor menu = GetSysColor(COLOR_MENU);
    dc.setRenderHint(QPainter::Antialiasing, false);
    if (item.nFlags & MF_SEPARATOR)
    {
        dc.fillRect(rect, menu);
        const int y = nTop + rect.height() / 2;
        dc.fillRect(nLeft, y, rect.width(), 1, GetSysColor(COLOR_BTNSHADOW));
        dc.fillRect(nLeft, y + 1, rect.width(), 1, GetSysColor(COLOR_BTNHIGHLIGHT));
        return;
    }
    const bool bSelected = (option.state & QStyle::State_Selected) != 0;
    const bool bDisabled = !(option.state & QStyle::State_Enabled);
    const bool bChecked = option.checked;
    const bool bHasIcon = item.nImageSource != -1;
    const bool bHasImage = bHasIcon && !item.pImages.isNull() && item.nImage >= 0;
    const int o = std::max(0, (rect.height() - m_nIconY - 4) / 2);

    dc.fillRect(rect, menu);
    if (bSelected)
    {
        QRect fill = rect;
        if (bHasIcon || bChecked)
            fill.setLeft(nLeft + m_nIconX + 5);
        dc.fillRect(fill, GetSysColor(COLOR_HIGHLIGHT));
    }

    const QRect button(nLeft, nTop + o, m_nIconX + 4, m_nIconY + 4);
    const QPoint imageAt(nLeft + 2, nTop + o + 2);
    auto drawImage = [&]
    {
        if (bHasImage)
            dc.drawPixmap(imageAt, item.pImages,
                          QRect(m_nIconX * item.nImage, 0, m_nIconX, m_nIconY));
    };
    if (bHasIcon)
    {
        Draw3dRectColors(dc, QRect(nLeft + 1, nTop + o + 1, m_nIconX + 2, m_nIconY + 2), menu,
                         menu);
        if (bDisabled && bHasImage)
            DrawDisabledImage(dc, item, imageAt.x(), imageAt.y());
        else if (bSelected)
        {
            dc.fillRect(button.adjusted(1, 1, -1, -1), menu);
            if (bChecked)
                Draw3dRect(dc, button, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
            else
                Draw3dRect(dc, button, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
            drawImage();
        }
        else if (bChecked)
        {
            dc.fillRect(button.adjusted(1, 1, -1, -1), GetSysColor(COLOR_3DLIGHT));
            Draw3dRect(dc, button, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
            drawImage();
        }
        else
            drawImage();
    }
    else if (bChecked)
    {
        const QRect box(nLeft + 1, nTop + o + 2, m_nIconX, m_nIconY);
        dc.fillRect(box, GetSysColor(bSelected ? COLOR_MENU : COLOR_3DLIGHT));
        Draw3dRect(dc, box, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
        const QColor mark = GetSysColor(COLOR_MENUTEXT);
        if (option.checkType == QStyleOptionMenuItem::Exclusive)
        {
            dc.setPen(Qt::NoPen);
            dc.setBrush(mark);
            dc.drawEllipse(QRect(box.left() + 5, box.top() + 4, 6, 6));
        }
        else
        {
            CFlatLookStyle::DrawCheckGlyph(dc, box.left() + 4, box.top() + 4, mark);
        }
    }

    const bool bHasTab = item.strText.contains(QLatin1Char('\t'));
    QRect text(QPoint(nLeft + m_nIconX + 9, nTop - 1), QPoint(rect.right(), rect.bottom() - 1));
    if (bHasTab)
        text.setRight(text.right() - m_nIconX);
    dc.setFont(MenuFont());
    if (!bDisabled)
        DrawText(dc, text, item.strText,
                 GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT), bHasTab);
    else if (bSelected)
        DrawText(dc, text, item.strText, menu, bHasTab);
    else
    {
        DrawText(dc, text.translated(1, 1), item.strText, GetSysColor(COLOR_BTNHIGHLIGHT), bHasTab);
        DrawText(dc, text, item.strText, GetSysColor(COLOR_GRAYTEXT), bHasTab);
    }
}
