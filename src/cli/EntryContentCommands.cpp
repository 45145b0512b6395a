#include "EntryContentCommands.h"

#include <iostream>
#include <memory>

#include "CCliArchive.h"
#include "CDigest.h"
#include "CEntryExtractor.h"
#include "CEntryReader.h"
#include "CInputFile.h"
#include "ContentSinks.h"
#include "EntrySelection.h"
#include "ExitCodes.h"

namespace
{
int Fail(const std::string& text)
{
    std::cerr << "orbistav-cli: " << text << '\n';
    return EXIT_FAILED;
}
} // namespace

int CatEntry(const CCliArchive& archive, const CatOptions& options, std::ostream& out)
{
    const CORBISTAVDoc& doc = archive.Doc();
    int nFile = 0;
    if (Result r = FindSingleEntry(archive, options.strEntry, nFile); !r)
        return Fail(r.Text());
    CInputFile input;
    if (Result r = input.Open(doc.GetPathName()); !r)
        return Fail(r.Text());
    CEntryReader reader(input, CEntryReader::ModeFor(doc, options.bRaw));
    const std::string label = CEntryExtractor::ArchivePathOf(doc, nFile);
    Result r = reader.Open(doc.m_files[nFile], label);
    if (r)
        r = reader.Stream(StreamSink(out));
    out.flush();
    if (!r)
        return Fail(r.Text());
    if (!out)
        return Fail("standard output could not be written");
    return archive.IsComplete() ? EXIT_OK : EXIT_PARTIAL;
}

int SumEntries(const CCliArchive& archive, const SumOptions& options, std::ostream& out)
{
    const CORBISTAVDoc& doc = archive.Doc();
    std::unique_ptr<CDigest> digest;
    if (Result r = CDigest::Create(options.strAlgorithm, digest); !r)
        return Fail(r.Text());
    std::vector<int> selected;
    int status = SelectEntries(archive, options.aPatterns, selected);
    if (selected.empty())
        return status;
    CInputFile input;
    if (Result r = input.Open(doc.GetPathName()); !r)
        return Fail(r.Text());

    CEntryReader reader(input, CEntryReader::ModeFor(doc, options.bRaw));
    for (const int f : selected)
    {
        const std::string label = CEntryExtractor::ArchivePathOf(doc, f);
        Result r = reader.Open(doc.m_files[f], label);
        if (r)
        {
            std::int64_t nSize = 0;
            r = reader.Stream(DigestSink(*digest, nSize));
        }
        const std::string value = digest->Finish();
        if (!r)
        {
            out.flush();
            status = Fail(r.Text());
            continue;
        }
        out << value << "  " << label << '\n';
    }
    out.flush();
    return out ? status : Fail("standard output could not be written");
}
