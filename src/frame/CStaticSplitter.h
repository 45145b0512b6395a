#pragma once

#include <QSplitter>
#include <vector>

// A splitter with the static-splitter layout rules: every pane but the last gets its
// ideal size, the last takes what remains, and a pane that would get less than its
// minimum is hidden, its space going to the pane before it. Dragging a bar sets the
// ideal size of the pane before it.
class CStaticSplitter : public QSplitter
{
    Q_OBJECT
public:
    explicit CStaticSplitter(Qt::Orientation orientation, QWidget* pParent = nullptr);

    void SetPaneInfo(int nPane, int nIdeal, int nMinimum);
    int IdealSize(int nPane) const;
    void RecalcLayout();

protected:
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    struct PaneInfo
    {
        int nIdeal = 0;
        int nMinimum = 0;
    };
    PaneInfo& Info(int nPane);
    void OnSplitterMoved(int nPos, int nIndex);

    std::vector<PaneInfo> m_aPanes;
    bool m_bLayingOut = false;
};
