#pragma once

#include <vector>

#include <QColor>
#include <QStringView>
#include <QTextCharFormat>

#include "TextDecoder.h"

class QTextBlock;
class QTextDocument;

enum class TextSyntax
{
    Table, // tables, missions, campaigns, configuration and effect files
    Lua,
    Shader, // C-like comments and strings
    Plain,  // text of no grammar the pane knows: not coloured
};

// Colours the lines of a text document one block at a time, when a block is about to be
// painted. Not a QSyntaxHighlighter: that one colours every block of a document as soon as
// the text is set, about 170 ms for a 2 MiB mission, where the pane has 50 ms.
class CTableHighlighter
{
public:
    // Colours readable on the black preview pane.
    static QColor Background();
    static QColor Foreground();
    static QTextCharFormat Format(TextSpanKind kind);

    // Forgets all blocks: the document's text was replaced.
    void Reset(TextSyntax syntax);
    TextSyntax Syntax() const { return m_syntax; }
    // The text was added at the end of the document, whose last block was nLastBlock before;
    // that block may have grown.
    void TextAppended(const QTextDocument& document, int nLastBlock, QStringView text);
    // Sets the block's formats unless it has them already. Blocks may come in any order:
    // the state at a block's start comes from the blocks above it, read once.
    void Highlight(const QTextBlock& block);

private:
    std::vector<TextSpan> Colour(QStringView text, int& nState) const;
    int StateAtStart(const QTextBlock& block);

    TextSyntax m_syntax = TextSyntax::Table;
    std::vector<int> m_states{TEXT_STATE_NONE}; // at the start of block i
    std::vector<bool> m_highlighted;            // block i has its formats
};
