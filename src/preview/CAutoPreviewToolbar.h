#pragma once

#include <functional>

#include <QWidget>

class QAction;
class QLabel;
class QString;
class QToolBar;

// The one-line form above the preview pane: the preview buttons and the caption text
// (picture size or animation frame).
class CAutoPreviewToolbar : public QWidget
{
    Q_OBJECT

public:
    // actionFor gives the frame's action for a command; the frame keeps owning the actions
    // and their enabled state, the form only places them.
    CAutoPreviewToolbar(const std::function<QAction*(int commandId)>& actionFor,
                        QWidget* pParent = nullptr);

    // Sets the caption and repaints it at once.
    void SetCaptionText(const QString& text);

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;

private:
    // Places the bar and the caption by the form's dialog layout.
    void LayOut();
    QAction* ButtonAction(const std::function<QAction*(int)>& actionFor, int commandId);

    QLabel* m_wndCaption = nullptr;
    bool m_bInitialized = false; // the buttons are on the bar
    QToolBar* m_wndToolBar = nullptr;
    std::function<QAction*(int)> m_actionFor;
};
