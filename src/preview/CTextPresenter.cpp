#include "CTextPresenter.h"

#include <string>
#include <string_view>

#include "AsciiText.h"
#include "CPreviewViewer.h"
#include "CTextView.h"
#include "FileTypes.h"
#include "TextDecoder.h"

namespace
{
constexpr std::string_view kShaderExtensions[] = {".hlsl", ".sdr", ".vert", ".frag", ".glsl",
                                                  ".fx",   ".vs",  ".ps",   ".geom", ".comp"};
} // namespace

bool CTextPresenter::MayBeText(std::span<const std::uint8_t> head)
{
    return DetectTextCoding(head) != TextCoding::NotText;
}

TextSyntax CTextPresenter::SyntaxFor(const EntrySource& entry)
{
    if (entry.nType == FILE_TYPE_LUA)
        return TextSyntax::Lua;
    if (IsTextFileType(entry.nType))
        return TextSyntax::Table;
    const std::string name = ToLowerAscii(entry.strName);
    for (const std::string_view extension : kShaderExtensions)
        if (name.size() > extension.size() && name.ends_with(extension))
            return TextSyntax::Shader;
    return TextSyntax::Plain;
}

Result CTextPresenter::Load(std::vector<std::uint8_t> bytes, const EntrySource& entry)
{
    Stop();
    std::string utf8;
    if (Result r = DecodeText(bytes, utf8); !r)
        return r;
    std::vector<std::uint8_t>().swap(bytes);
    m_text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    m_bLoaded = true;
    if (!m_pView)
        m_pView = new CTextView(m_host.pViewport);
    m_syntax = SyntaxFor(entry);
    m_pView->SetText(m_text, m_syntax);
    return Result::Ok();
}

void CTextPresenter::Stop()
{
    if (m_pView)
    {
        m_pView->hide();
        m_pView->Clear();
    }
    m_text = QString();
    m_bLoaded = false;
}

QWidget* CTextPresenter::Widget() const
{
    return IsEmpty() ? nullptr : m_pView;
}

QString CTextPresenter::Caption() const
{
    return IsEmpty() ? QString() : LineCountCaption(m_text);
}

void CTextPresenter::ShowIn(CPreviewViewer& viewer, const QString& title) const
{
    viewer.ShowText(title, m_text, m_syntax);
}
