#pragma once

#include <memory>
#include <string>
#include <vector>

#include "CMemorySource.h"
#include "CORBISTAVDoc.h"
#include "IDocumentObserver.h"
#include "IMessageSink.h"

// Records what the document tells the frame and the user.
struct RecordingObserver : IDocumentObserver, IMessageSink
{
    std::vector<std::string> events;
    void OnBeforeRead() override { events.push_back("before"); }
    void OnAfterRead() override { events.push_back("after"); }
    void ShowMessage(const std::string& text) override { events.push_back("message: " + text); }
};

// A document on the heap (its tables are far too large for the stack) wired to a recorder.
struct DocFixture
{
    std::unique_ptr<CORBISTAVDoc> doc = std::make_unique<CORBISTAVDoc>();
    RecordingObserver recorder;

    DocFixture()
    {
        doc->SetObserver(&recorder);
        doc->SetMessageSink(&recorder);
    }
    bool Load(const std::vector<unsigned char>& bytes, const std::string& path = "/games/test.vp")
    {
        CMemorySource source(bytes);
        return doc->Serialize(source, path);
    }
    const ArchiveFile& File(int f) const { return doc->m_files[f]; }
    const ArchiveDir& Dir(int d) const { return doc->m_dirs[d]; }
    std::vector<int> FilesOf(int d) const
    {
        return std::vector<int>(Dir(d).aFiles.begin(), Dir(d).aFiles.begin() + Dir(d).nFiles);
    }
    std::vector<int> ChildrenOf(int d) const
    {
        return std::vector<int>(Dir(d).aChildren, Dir(d).aChildren + Dir(d).nChildren);
    }
};
