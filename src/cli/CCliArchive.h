#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "CInputFile.h"
#include "CORBISTAVDoc.h"
#include "IMessageSink.h"

// An archive opened for one command: the document, with its messages on stderr.
class CCliArchive : public IMessageSink
{
public:
    CCliArchive();
    // Prints the cause and returns false when nothing could be read. A partial
    // read returns true and prints a warning.
    bool Load(const std::string& path);
    void ShowMessage(const std::string& text) override;

    const CORBISTAVDoc& Doc() const { return *m_pDoc; }
    // Opens the archive file into input, kept open for further reads, and reads one file's
    // content whole, decompressed.
    Result ReadContent(int nFile, CInputFile& input, std::vector<std::uint8_t>& content) const;
    const std::string& Path() const { return m_strPath; }
    bool IsComplete() const { return m_pDoc->IsReadComplete(); }

private:
    std::unique_ptr<CORBISTAVDoc> m_pDoc;
    std::string m_strPath;
};
