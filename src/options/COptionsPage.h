#pragma once

#include <QSize>
#include <QString>
#include <QWidget>

// A page of the options sheet, laid out in dialog units of its "Tahoma" 8 font. As a
// property page it is set up the first time its tab shows, and on OK only the pages that
// were set up apply their values.
class COptionsPage : public QWidget
{
    Q_OBJECT
public:
    // cx, cy: the page's size in dialog units.
    COptionsPage(const QString& title, int cx, int cy, QWidget* pParent = nullptr);

    const QString& Title() const { return m_strTitle; }
    bool IsCreated() const { return m_bCreated; }
    // The control with that id, or nullptr.
    QWidget* GetDlgItem(int nId) const;

    // Writes the page's values; the sheet calls it on OK for pages that were set up.
    virtual void OnOK() = 0;

protected:
    virtual void OnInitDialog() = 0;
    void showEvent(QShowEvent* pEvent) override;

    // Places a control at a position of the page's dialog layout; an id of 0 names none.
    // Controls are created in the layout's order, which is also their tab order.
    template <class T> T* Place(T* pControl, int nId, int x, int y, int cx, int cy)
    {
        PlaceControl(pControl, nId, x, y, cx, cy);
        return pControl;
    }

private:
    void PlaceControl(QWidget* pControl, int nId, int x, int y, int cx, int cy);

    QString m_strTitle;
    QSize m_base;
    bool m_bCreated = false;
};
