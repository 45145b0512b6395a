#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "ITextureResolver.h"

class CORBISTAVDoc;

// Textures from the open archive: the first entry of a name, in any directory.
class CDocumentTextures : public ITextureResolver
{
public:
    explicit CDocumentTextures(const CORBISTAVDoc& doc) : m_doc(doc) {}

    bool Find(std::string_view fileName, EntrySource& found) override;
    // The archive was read anew: names are looked up again.
    void Reset();

private:
    const CORBISTAVDoc& m_doc;
    std::unordered_map<std::string, int> m_entries; // lower-case name -> file index
    bool m_bIndexed = false;
};
