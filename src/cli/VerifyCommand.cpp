#include "VerifyCommand.h"

#include <iostream>

#include "CEntryReader.h"
#include "CInputFile.h"
#include "CORBISTAVDoc.h"
#include "CProgressLine.h"
#include "ExitCodes.h"
#include "TextEncoding.h"
#include "VpDirectory.h"
#include "VpFormat.h"

namespace
{
struct Entry
{
    ArchiveFile file;
    std::string strLabel; // the archive path, UTF-8
};

class CVerifier
{
public:
    explicit CVerifier(std::ostream& out) : m_out(out) {}

    // False when the archive could not be opened at all.
    bool Verify(const std::string& path)
    {
        m_strArchive = path;
        CInputFile file;
        if (Result r = file.Open(path); !r)
        {
            std::cerr << "orbistav-cli: " << r.Text() << '\n';
            return false;
        }
        if (file.Size() == 0)
        {
            std::cerr << "orbistav-cli: " << path << ": the file is empty\n";
            return false;
        }
        const int nKind = CORBISTAVDoc::KindOfName(path);
        std::vector<Entry> entries;
        if (nKind == ARCHIVE_KIND_VPP)
            ListVpp(file, entries);
        else if (nKind == ARCHIVE_KIND_VP)
            ListVp(file, entries);
        else
        {
            std::cerr << "orbistav-cli: " << path << ": Unsupported file extension.\n";
            return false;
        }
        ReadEntries(file, entries, nKind == ARCHIVE_KIND_VP);
        return true;
    }

    int Entries() const { return m_nEntries; }
    int Problems() const { return m_nProblems; }

private:
    void Problem(const std::string& text)
    {
        m_out << m_strArchive << ": " << text << '\n';
        ++m_nProblems;
    }

    void ListVp(CInputFile& file, std::vector<Entry>& entries)
    {
        VpDirectory directory;
        if (Result r = ReadVpDirectory(file, directory); !r)
            return Problem(r.Text());
        if (directory.strSignature != VP_SIGNATURE)
            Problem("the signature is not " + std::string(VP_SIGNATURE));
        if (!directory.strIncomplete.empty())
            Problem("the directory could be read only in part: " + directory.strIncomplete);
        const std::vector<std::string> paths = VpEntryPaths(directory.aEntries);
        for (std::size_t i = 0; i < directory.aEntries.size(); ++i)
        {
            const VpEntry& vp = directory.aEntries[i];
            if (vp.IsDirectory())
                continue;
            entries.push_back({AsArchiveFile(vp), Cp1252ToUtf8(paths[i])});
        }
    }

    void ListVpp(CInputFile& file, std::vector<Entry>& entries)
    {
        CORBISTAVDoc doc;
        doc.ReadVpp(file);
        if (!doc.IsReadComplete())
            Problem("the directory could be read only in part: " + doc.GetReadWarning());
        for (int f = 0; f < doc.m_nFileCount; ++f)
            entries.push_back({doc.m_files[f], "\\" + Cp1252ToUtf8(doc.m_files[f].strName)});
    }

    void ReadEntries(CInputFile& file, const std::vector<Entry>& entries, bool bVp)
    {
        CEntryReader reader(file, bVp ? CEntryReader::Mode::Content : CEntryReader::Mode::Stored);
        CProgressLine progress(std::cerr, CProgressLine::StandardErrorIsTerminal(),
                               static_cast<int>(entries.size()));
        for (const Entry& entry : entries)
        {
            ++m_nEntries;
            Result r = reader.Open(entry.file, entry.strLabel);
            if (r)
                r = reader.Stream(
                    [&](std::span<const unsigned char> piece)
                    {
                        progress.AddBytes(static_cast<std::int64_t>(piece.size()));
                        return Result::Ok();
                    });
            if (!r)
            {
                progress.Clear();
                Problem(r.Text());
            }
            progress.FileDone();
        }
    }

    std::ostream& m_out;
    std::string m_strArchive;
    int m_nEntries = 0;
    int m_nProblems = 0;
};
} // namespace

int VerifyArchives(const std::vector<std::string>& archives, std::ostream& out)
{
    CVerifier verifier(out);
    bool bAllOpened = true;
    for (const std::string& path : archives)
        bAllOpened = verifier.Verify(path) && bAllOpened;
    out << verifier.Entries() << " entries, " << verifier.Problems() << " problems\n";
    if (!bAllOpened)
        return EXIT_FAILED;
    return verifier.Problems() > 0 ? EXIT_PROBLEMS : EXIT_OK;
}
