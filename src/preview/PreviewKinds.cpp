#include "PreviewKinds.h"

#include <iterator>
#include <string>

#include "AsciiText.h"
#include "CFontPresenter.h"
#include "CModelPresenter.h"
#include "COggPresenter.h"
#include "CPicturePresenter.h"
#include "CTextPresenter.h"
#include "CVbmPresenter.h"
#include "FileTypes.h"

namespace
{
template <class T> std::unique_ptr<IPreviewPresenter> Make(const PresenterHost& host)
{
    return std::make_unique<T>(host);
}

std::unique_ptr<IPreviewPresenter> MakePicture(const PresenterHost&)
{
    return std::make_unique<CPicturePresenter>();
}

const PreviewKind kText{0, nullptr, PreviewGate::None, Make<CTextPresenter>};

const PreviewKind kKinds[] = {
    {FILE_TYPE_DDS, nullptr, PreviewGate::None, MakePicture},
    {FILE_TYPE_PNG, nullptr, PreviewGate::None, MakePicture},
    {FILE_TYPE_JPG, nullptr, PreviewGate::None, MakePicture},
    {FILE_TYPE_OGG, nullptr, PreviewGate::Sound, Make<COggPresenter>},
    {FILE_TYPE_POF, nullptr, PreviewGate::None, Make<CModelPresenter>},
    {FILE_TYPE_V3M, nullptr, PreviewGate::None, Make<CModelPresenter>},
    {FILE_TYPE_V3C, nullptr, PreviewGate::None, Make<CModelPresenter>},
    {FILE_TYPE_VBM, nullptr, PreviewGate::None, Make<CVbmPresenter>},
    {FILE_TYPE_VF, nullptr, PreviewGate::None, Make<CFontPresenter>},
    {FILE_TYPE_TTF, nullptr, PreviewGate::None, Make<CFontPresenter>},
    {0, ".otf", PreviewGate::None, Make<CFontPresenter>},
};
} // namespace

const PreviewKind& FindPreviewKind(int nType, std::string_view name)
{
    const std::string lower = ToLowerAscii(name);
    for (const PreviewKind& kind : kKinds)
    {
        if (kind.nType != 0 ? kind.nType == nType
                            : lower.size() > std::string_view(kind.szExtension).size() &&
                                  lower.ends_with(kind.szExtension))
            return kind;
    }
    return kText;
}

bool IsTextKind(const PreviewKind& kind)
{
    return &kind == &kText;
}
