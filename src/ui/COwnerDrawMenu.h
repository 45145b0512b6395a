#pragma once

#include <QObject>
#include <QPointer>
#include <QSize>
#include <memory>
#include <vector>

#include "OwnerDrawMenuItem.h"

class COwnerDrawMenuStyle;
#include <QMenu>
#include <QMenuBar>
class QPainter;
class QStyleOptionMenuItem;

// A menu bar whose popups the program draws itself: every command shows the image of its
// toolbar button beside its text, accelerators stand in one column, checked items get
// hand-drawn marks, disabled icons are engraved. The top-level object owns one object per
// popup; each popup keeps one record per item and re-synchronises them before it opens.
class COwnerDrawMenu : public QObject
{
    Q_OBJECT

public:
    // MNC_EXECUTE in the high word of a mnemonic answer: run the item at once.
    static constexpr int MNC_EXECUTE = 2;

    COwnerDrawMenu();
    ~COwnerDrawMenu() override;

    // Takes over the popups of a menu bar (the bar itself keeps its plain texts); false
    // without one.
    virtual bool LoadMenu(QMenuBar* pBar);
    // Attaches the images of a toolbar resource to the commands it has buttons for; false
    // when there is no such toolbar.
    bool LoadToolbar(int nToolbarId);
    // Appends an item to this popup: id 0 makes a separator.
    void AppendItem(const QString& strText, unsigned nFlags, int nId, int nImageSource);
    // Gives the item of a command (in this popup or below) a text, when one is given, and
    // the image of the command's button on the toolbar nImageSource.
    bool SetItemImage(const QString& strText, int nId, int nImageSource);
    bool IsOwnMenu(const QMenu* pMenu) const;
    // Brings the records of a popup in line with its items, before it opens.
    void PreparePopup(QMenu* pMenu);
    // The answer to a typed character: (MNC_EXECUTE << 16) | position, or 0.
    int FindMnemonic(QChar ch, unsigned nFlags, QMenu* pMenu);
    // Pads the texts of a popup's items so that their accelerators form one column.
    void AlignAccelerators(COwnerDrawMenu& popup);

    virtual QSize MeasureItem(const OwnerDrawMenuItem& item) const;
    virtual void DrawItem(QPainter& dc, const QStyleOptionMenuItem& option,
                          const OwnerDrawMenuItem& item) const;

    // The popup object of a menu, or null.
    COwnerDrawMenu* FindPopup(const QMenu* pMenu) const;
    // The record of an item of this popup, or null.
    const OwnerDrawMenuItem* FindItem(const QAction* pAction) const;
    const std::vector<std::unique_ptr<OwnerDrawMenuItem>>& Items() const { return m_items; }
    QMenu* Menu() const { return m_pMenu; }

    int m_nIconX = 16;
    int m_nIconY = 15;

protected:
    bool eventFilter(QObject* pObj, QEvent* pEvent) override;

private:
    explicit COwnerDrawMenu(QMenu* pMenu, COwnerDrawMenu* pRoot);
    void AdoptPopup(QMenu* pMenu);
    OwnerDrawMenuItem* FindCommand(int nId);
    void DrawDisabledImage(QPainter& dc, const OwnerDrawMenuItem& item, int x, int y) const;
    void DrawText(QPainter& dc, const QRect& rect, const QString& strText, const QColor& colour,
                  bool bHasTab) const;

    QPointer<QMenu> m_pMenu;
    QPointer<QMenuBar> m_pBar;
    COwnerDrawMenu* m_pRoot = nullptr;
    std::vector<std::unique_ptr<OwnerDrawMenuItem>> m_items;
    std::vector<std::unique_ptr<COwnerDrawMenu>> m_subMenus;
    std::unique_ptr<COwnerDrawMenuStyle> m_pStyle;
};
