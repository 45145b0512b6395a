#include "CTableHighlighter.h"

#include <string_view>

#include <QFont>
#include <QList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace
{
std::u16string_view Units(QStringView text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}
} // namespace

QColor CTableHighlighter::Background()
{
    return QColor(0x00, 0x00, 0x00);
}

QColor CTableHighlighter::Foreground()
{
    return QColor(0xd0, 0xd0, 0xd0);
}

// Contrast on black: sections 12:1, fields 10:1, strings 8.6:1, comments 8.3:1.
QTextCharFormat CTableHighlighter::Format(TextSpanKind kind)
{
    QTextCharFormat format;
    switch (kind)
    {
    case TextSpanKind::Section:
        format.setForeground(QColor(0xe5, 0xc0, 0x7b));
        format.setFontWeight(QFont::Bold);
        break;
    case TextSpanKind::Field:
        format.setForeground(QColor(0x6c, 0xb6, 0xff));
        break;
    case TextSpanKind::Comment:
        format.setForeground(QColor(0x7f, 0xb0, 0x69));
        break;
    case TextSpanKind::String:
        format.setForeground(QColor(0xe0, 0x93, 0x7a));
        break;
    }
    return format;
}

void CTableHighlighter::Reset(TextSyntax syntax)
{
    m_syntax = syntax;
    m_states.assign(1, TEXT_STATE_NONE);
    m_highlighted.clear();
}

void CTableHighlighter::TextAppended(const QTextDocument& document, int nLastBlock,
                                     QStringView text)
{
    const auto nLast = static_cast<std::size_t>(nLastBlock);
    if (m_states.size() > nLast + 1)
        m_states.resize(nLast + 1);
    if (m_highlighted.size() > nLast)
        m_highlighted[nLast] = false;
    if (m_states.size() != nLast + 1)
        return;

    // The states of the new blocks are worked out from the text while it is at hand: reading
    // 90 000 blocks back from the document on a jump to the end takes 40 ms and more. The
    // lines are split as QTextCursor::insertText splits blocks; where the document tells
    // otherwise (the old last block was not empty, a separator not counted here), the blocks
    // are read back when they are needed.
    const qsizetype nLastLength = document.findBlockByNumber(nLastBlock).length() - 1;
    int nState = m_states.back();
    qsizetype nStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
    {
        const QChar ch = text[i];
        if (ch != u'\n' && ch != u'\r' && ch != QChar::ParagraphSeparator)
            continue;
        if (nStart == 0 && i != nLastLength)
            break;
        Colour(text.sliced(nStart, i - nStart), nState);
        m_states.push_back(nState);
        if (ch == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        nStart = i + 1;
    }
    if (static_cast<std::size_t>(document.blockCount()) != m_states.size())
        m_states.resize(nLast + 1);
}

void CTableHighlighter::Highlight(const QTextBlock& block)
{
    if (!block.isValid())
        return;
    const auto nBlock = static_cast<std::size_t>(block.blockNumber());
    if (nBlock < m_highlighted.size() && m_highlighted[nBlock])
        return;
    int nState = StateAtStart(block);
    const std::vector<TextSpan> spans = Colour(block.text(), nState);
    if (m_states.size() == nBlock + 1)
        m_states.push_back(nState);

    QList<QTextLayout::FormatRange> ranges;
    ranges.reserve(static_cast<qsizetype>(spans.size()));
    for (const TextSpan& span : spans)
        ranges.append(
            {static_cast<int>(span.nStart), static_cast<int>(span.nLength), Format(span.kind)});
    // Setting formats throws the block's layout away; a block without any keeps it.
    if (!ranges.isEmpty() || !block.layout()->formats().isEmpty())
        block.layout()->setFormats(ranges);
    if (m_highlighted.size() <= nBlock)
        m_highlighted.resize(nBlock + 1, false);
    m_highlighted[nBlock] = true;
}

std::vector<TextSpan> CTableHighlighter::Colour(QStringView text, int& nState) const
{
    switch (m_syntax)
    {
    case TextSyntax::Lua:
        return ColourLuaLine(Units(text), nState);
    case TextSyntax::Shader:
        return ColourCLikeLine(Units(text), nState);
    case TextSyntax::Plain:
        return {};
    default:
        return ColourTableLine(Units(text), nState);
    }
}

int CTableHighlighter::StateAtStart(const QTextBlock& block)
{
    const auto nBlock = static_cast<std::size_t>(block.blockNumber());
    if (nBlock < m_states.size())
        return m_states[nBlock];
    QTextBlock above = block.document()->findBlockByNumber(static_cast<int>(m_states.size()) - 1);
    int nState = m_states.back();
    while (m_states.size() <= nBlock && above.isValid())
    {
        Colour(above.text(), nState);
        m_states.push_back(nState);
        above = above.next();
    }
    return m_states.back();
}
