#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include <QString>

#include "CTableHighlighter.h"
#include "IPreviewPresenter.h"

class CTextView;

// Every entry that is text, whatever its name: tables, missions, scripts, shader sources,
// markup, data files. Shown in the pane's own text view, coloured where the kind has an
// obvious grammar.
class CTextPresenter : public IPreviewPresenter
{
public:
    explicit CTextPresenter(const PresenterHost& host) : m_host(host) {}

    // Whether the first bytes of an entry of no known kind are text (no NUL, UTF-8 or
    // Windows-1252): the entry is then read whole.
    static bool MayBeText(std::span<const std::uint8_t> head);
    // The colouring for an entry's name and type.
    static TextSyntax SyntaxFor(const EntrySource& entry);

    Result Load(std::vector<std::uint8_t> bytes, const EntrySource& entry) override;
    void Stop() override;
    bool IsEmpty() const override { return !m_bLoaded; }
    QWidget* Widget() const override;
    QString Caption() const override;
    void ShowIn(CPreviewViewer& viewer, const QString& title) const override;

    CTextView* View() const { return m_pView; }

private:
    PresenterHost m_host;
    CTextView* m_pView = nullptr; // made on the first text, over the viewport
    QString m_text;
    bool m_bLoaded = false;
    TextSyntax m_syntax = TextSyntax::Table;
};
