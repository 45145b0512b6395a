#pragma once

#include <memory>
#include <string_view>

#include "IPreviewPresenter.h"

// Which setting lets a kind start as soon as its entry is selected; otherwise it waits for
// Play/Preview.
enum class PreviewGate
{
    None,      // always shown
    Animation, // AutoPlayANI
    Sound,     // SoundAutoPlayWAV
};

// One row of the pane's table of kinds: the entries of a file type (or, for names the type
// table does not know, of an extension) and the presenter that shows them. Rows with the same
// make share one presenter.
struct PreviewKind
{
    int nType;               // 0: the row is found by its extension
    const char* szExtension; // lower case with the dot, for nType 0
    PreviewGate gate;
    std::unique_ptr<IPreviewPresenter> (*make)(const PresenterHost& host);
};

// The row for an entry: by file type, else by extension; text kinds and names of no row get
// the text row, which shows what turns out to be text.
const PreviewKind& FindPreviewKind(int nType, std::string_view name);
// The text row is tried on content rather than name.
bool IsTextKind(const PreviewKind& kind);
