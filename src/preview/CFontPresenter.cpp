#include "CFontPresenter.h"

#include <algorithm>
#include <cmath>
#include <new>

#include <QByteArray>
#include <QRawFont>
#include <QtEndian>

#include "CPreviewViewer.h"
#include "FileTypes.h"
#include "FontSheet.h"
#include "OutlineFont.h"
#include "VfFont.h"

namespace
{
// A sheet of a font of tens of thousands of glyphs (CJK) would take seconds to draw; the
// caption still counts them all.
constexpr int kMostSheetGlyphs = 4096;

QString FontCaption(int nGlyphs, int nHeight)
{
    return QStringLiteral("%1 glyphs, height %2").arg(nGlyphs).arg(nHeight);
}

// The glyph as Qt rasterises it: white, its coverage as alpha, placed from the line's top.
SheetGlyph RasterGlyph(const QRawFont& font, quint32 nGlyph, int nAscent)
{
    SheetGlyph glyph;
    const QImage coverage = font.alphaMapForGlyph(nGlyph, QRawFont::PixelAntialiasing)
                                .convertToFormat(QImage::Format_Alpha8);
    const QRectF bounds = font.boundingRect(nGlyph);
    glyph.nWidth = coverage.width();
    glyph.nHeight = coverage.height();
    glyph.nLeft = static_cast<std::int32_t>(std::floor(bounds.left()));
    glyph.nTop = nAscent + static_cast<std::int32_t>(std::floor(bounds.top()));
    glyph.rgba.resize(static_cast<std::size_t>(glyph.nWidth) * glyph.nHeight * 4, 255);
    for (int y = 0; y < glyph.nHeight; ++y)
    {
        const uchar* pRow = coverage.constScanLine(y);
        for (int x = 0; x < glyph.nWidth; ++x)
            glyph.rgba[(static_cast<std::size_t>(y) * glyph.nWidth + x) * 4 + 3] = pRow[x];
    }
    return glyph;
}

Result OutlineSheet(const std::vector<std::uint8_t>& bytes, RgbaPicture& sheet, QString& caption)
{
    const QByteArray data(reinterpret_cast<const char*>(bytes.data()),
                          static_cast<qsizetype>(bytes.size()));
    const QRawFont font(data, kOutlineFontPixels);
    const QByteArray maxp = font.fontTable("maxp");
    if (!font.isValid() || maxp.size() < 6)
        return Result::Fail("not a TrueType or OpenType font");
    const int nGlyphs = qFromBigEndian<quint16>(maxp.constData() + 4);
    const int nAscent = static_cast<int>(std::ceil(font.ascent()));
    const int nLineHeight = nAscent + static_cast<int>(std::ceil(font.descent()));

    std::vector<SheetGlyph> glyphs;
    const int nShown = std::min(nGlyphs, kMostSheetGlyphs);
    glyphs.reserve(static_cast<std::size_t>(nShown));
    for (int i = 0; i < nShown; ++i)
        glyphs.push_back(RasterGlyph(font, static_cast<quint32>(i), nAscent));

    // The sample line: glyphs looked up by character, pens moved by the kerned advances.
    const QList<quint32> indexes = font.glyphIndexesForString(QString::fromLatin1(kFontSampleText));
    const QList<QPointF> advances = font.advancesForGlyphIndexes(indexes, QRawFont::KernedAdvances);
    std::vector<SheetGlyph> sampleGlyphs;
    sampleGlyphs.reserve(static_cast<std::size_t>(indexes.size()));
    for (const quint32 nGlyph : indexes)
        sampleGlyphs.push_back(RasterGlyph(font, nGlyph, nAscent));
    std::vector<SheetPlacement> sample;
    double dPen = 0;
    int nSampleWidth = 0;
    for (qsizetype i = 0; i < indexes.size(); ++i)
    {
        const int nPen = static_cast<int>(std::lround(dPen));
        sample.push_back({nPen, &sampleGlyphs[static_cast<std::size_t>(i)]});
        nSampleWidth =
            std::max(nSampleWidth, nPen + sampleGlyphs[static_cast<std::size_t>(i)].nLeft +
                                       sampleGlyphs[static_cast<std::size_t>(i)].nWidth);
        dPen += i < advances.size() ? advances[i].x() : 0;
        nSampleWidth = std::max(nSampleWidth, static_cast<int>(std::ceil(dPen)));
    }
    if (Result r = LayOutFontSheet(nLineHeight, nSampleWidth, sample, glyphs, sheet); !r)
        return r;
    caption = FontCaption(nGlyphs, nLineHeight);
    return Result::Ok();
}
} // namespace

Result CFontPresenter::Load(std::vector<std::uint8_t> bytes, const EntrySource& entry)
{
    Stop();
    RgbaPicture sheet;
    QString caption;
    try
    {
        if (entry.nType == FILE_TYPE_VF)
        {
            VfFont font;
            if (Result r = DecodeVf(bytes, font); !r)
                return r;
            if (Result r = RenderFontSheet(font, sheet); !r)
                return r;
            caption = FontCaption(static_cast<int>(font.glyphs.size()), font.nHeight);
        }
        else if (Result r = OutlineSheet(bytes, sheet, caption); !r)
            return r;
    }
    catch (const std::bad_alloc&)
    {
        return Result::Fail("not enough memory for the font's sheet");
    }
    m_sheet = std::move(sheet);
    m_caption = caption;
    return Result::Ok();
}

void CFontPresenter::Stop()
{
    m_sheet = RgbaPicture();
    m_caption.clear();
}

QImage CFontPresenter::Picture() const
{
    if (IsEmpty())
        return QImage();
    return QImage(m_sheet.rgba.data(), m_sheet.nWidth, m_sheet.nHeight,
                  static_cast<qsizetype>(m_sheet.nWidth) * 4, QImage::Format_RGBX8888);
}

void CFontPresenter::ShowIn(CPreviewViewer& viewer, const QString& title) const
{
    // The sheet is opaque: its copy keeps nothing the pane frees.
    viewer.ShowPicture(title, Picture().copy(), m_caption);
}
