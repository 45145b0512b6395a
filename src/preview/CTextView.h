#pragma once

#include <QBasicTimer>
#include <QString>
#include <QWidget>

#include "CTableHighlighter.h"

class QLineEdit;
class QPlainTextEdit;
class QShortcut;

// Read-only text of an entry in a fixed-width font, coloured, selectable and copyable; in
// the preview pane and in the viewer window, which also turns on the find bar (Ctrl+F).
class CTextView : public QWidget
{
    Q_OBJECT

public:
    explicit CTextView(QWidget* pParent = nullptr);
    ~CTextView() override;

    // Shows the text from its top. A long text shows its first lines at once and the rest
    // follows while the event loop runs; anything that reaches past what is shown (a key, a
    // click, find) takes the rest in at once.
    void SetText(const QString& text, TextSyntax syntax = TextSyntax::Table);
    void Clear();
    // False while part of the text still waits to go into the editor.
    bool IsComplete() const;
    void FinishLoading();

    void SetFindEnabled(bool bEnabled);
    bool IsFindEnabled() const { return m_bFindEnabled; }
    // Opens the find bar with the field focused (nothing happens while find is off).
    void ShowFindBar();
    void HideFindBar();
    // Selects the next or previous match of the find field's text, without regard to case,
    // from the selection on and round the end; false when there is none.
    bool FindNext();
    bool FindPrevious();

    QPlainTextEdit* Editor() const { return m_pEditor; }
    QWidget* FindBar() const { return m_pFindBar; }
    QLineEdit* FindField() const { return m_pFindField; }

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void timerEvent(QTimerEvent* pEvent) override;

private:
    // Moves up to nMaxLines whole lines, no more than nMaxUnits units, of the waiting text
    // into the editor.
    void LoadSlice(int nMaxLines, qsizetype nMaxUnits);
    void HighlightVisibleBlocks();
    bool Find(bool bBackward);
    void ShowNotFound(bool bNotFound);

    QPlainTextEdit* m_pEditor = nullptr;
    CTableHighlighter m_highlighter;
    QString m_pending; // the text not yet in the editor begins at m_nPendingPos
    qsizetype m_nPendingPos = 0;
    QBasicTimer m_loadTimer;

    bool m_bFindEnabled = false;
    QWidget* m_pFindBar = nullptr;
    QLineEdit* m_pFindField = nullptr;
    QShortcut* m_pFindShortcut = nullptr;
    QShortcut* m_pFindNextShortcut = nullptr;
    QShortcut* m_pFindPreviousShortcut = nullptr;
};
