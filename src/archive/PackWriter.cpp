#include "PackWriter.h"

#include <algorithm>
#include <deque>
#include <future>
#include <memory>

#include "CVpWriter.h"
#include "CWorkerPool.h"
#include "Lz41.h"

namespace
{
constexpr std::size_t COPY_CHUNK = 1024 * 1024;
// Blocks read ahead of the writer per job: enough that no job waits for the next one.
constexpr int BLOCKS_AHEAD_PER_JOB = 4;

struct Slot
{
    std::size_t nItem = 0;
    bool bBlock = false; // a block of a file to compress; else the item is written whole
    bool bFirst = false;
    bool bLast = false;
    std::vector<unsigned char> content;
    std::vector<unsigned char> compressed;
    std::future<void> done;
};

class CPackPipeline
{
public:
    CPackPipeline(const std::vector<PackItem>& items, const PackWriteOptions& options)
        : m_items(items), m_options(options),
          m_nWindow(std::max(1, options.nJobs) * BLOCKS_AHEAD_PER_JOB)
    {
    }

    Result Run(const std::string& targetPath)
    {
        if (Result r = m_writer.Create(targetPath, static_cast<std::int64_t>(m_items.size())); !r)
            return r;
        // Declared after the slots, so it is gone (and no task touches them) before they are.
        CWorkerPool pool(std::max(1, m_options.nJobs));
        m_pPool = &pool;
        Result result = WriteAll();
        m_pPool = nullptr;
        if (!result)
            return result;
        // A cancel that came with the last bytes still keeps the old file.
        if (Cancelled())
            return Result::Fail("interrupted");
        return m_writer.Commit();
    }

private:
    bool Cancelled() const { return m_options.isCancelled && m_options.isCancelled(); }

    Result WriteAll()
    {
        for (;;)
        {
            if (Result r = FillWindow(); !r)
                return r;
            if (m_slots.empty())
                return Result::Ok();
            if (Cancelled())
                return Result::Fail("interrupted");
            std::unique_ptr<Slot> slot = std::move(m_slots.front());
            m_slots.pop_front();
            if (slot->bBlock)
                --m_nBlocksInFlight;
            if (Result r = WriteSlot(*slot); !r)
                return r;
            if (slot->bBlock)
                m_spare.push_back(std::move(slot));
        }
    }

    // Reads blocks of the files to compress ahead of the writer and hands them to the jobs.
    Result FillWindow()
    {
        while (m_nBlocksInFlight < m_nWindow && m_nNextItem < m_items.size())
        {
            const PackItem& item = m_items[m_nNextItem];
            if (!item.IsFile() || !item.bCompress)
            {
                auto slot = std::make_unique<Slot>();
                slot->nItem = m_nNextItem++;
                m_slots.push_back(std::move(slot));
                continue;
            }
            const bool bFirst = !m_pInput;
            if (bFirst)
            {
                m_pInput = item.openInput();
                m_nRead = 0;
            }
            std::unique_ptr<Slot> slot = TakeSpare();
            slot->nItem = m_nNextItem;
            slot->bBlock = true;
            slot->bFirst = bFirst;
            slot->content.resize(static_cast<std::size_t>(
                std::min<std::int64_t>(LZ41_BLOCK_SIZE, item.nSize - m_nRead)));
            std::size_t nGot = 0;
            if (Result r = m_pInput->Read(slot->content, nGot); !r)
                return r;
            if (nGot != slot->content.size())
                return NotAsPlanned(item);
            m_nRead += static_cast<std::int64_t>(nGot);
            slot->bLast = m_nRead == item.nSize;
            if (slot->bLast)
            {
                m_pInput.reset();
                ++m_nNextItem;
            }
            Slot* pSlot = slot.get();
            slot->done =
                m_pPool->Submit([pSlot] { CompressLz41Block(pSlot->content, pSlot->compressed); });
            m_slots.push_back(std::move(slot));
            ++m_nBlocksInFlight;
        }
        return Result::Ok();
    }

    std::unique_ptr<Slot> TakeSpare()
    {
        if (m_spare.empty())
            return std::make_unique<Slot>();
        std::unique_ptr<Slot> slot = std::move(m_spare.back());
        m_spare.pop_back();
        return slot;
    }

    static Result NotAsPlanned(const PackItem& item)
    {
        return Result::Fail(item.strLabel + ": the content is not " + std::to_string(item.nSize) +
                            " bytes long as it was when packing began");
    }

    Result WriteSlot(Slot& slot)
    {
        const PackItem& item = m_items[slot.nItem];
        switch (item.kind)
        {
        case PackItem::Kind::Directory:
            m_writer.AddDirectory(item.strName);
            return Result::Ok();
        case PackItem::Kind::Parent:
            m_writer.AddDirectory("..");
            return Result::Ok();
        case PackItem::Kind::File:
            break;
        }
        if (!slot.bBlock)
        {
            const std::int64_t nStart = m_writer.Position();
            if (Result r = CopyStored(item); !r)
                return r;
            m_writer.AddEntry(nStart, item.nSize, item.strName, item.tTime);
            FileDone();
            return Result::Ok();
        }

        slot.done.get();
        if (slot.bFirst)
        {
            m_nEntryStart = m_writer.Position();
            m_aOffsets.assign(1, LZ41_MAGIC_BYTES);
            if (Result r = m_writer.Write(LZ41_MAGIC); !r)
                return r;
        }
        if (Result r = m_writer.Write(slot.compressed); !r)
            return r;
        m_aOffsets.push_back(m_writer.Position() - m_nEntryStart);
        if (m_options.onContentBytes)
            m_options.onContentBytes(static_cast<std::int64_t>(slot.content.size()));
        if (!slot.bLast)
            return Result::Ok();

        if (Result r = m_writer.Write(Lz41Trailer(m_aOffsets, item.nSize, LZ41_BLOCK_SIZE)); !r)
            return r;
        std::int64_t nStored = m_writer.Position() - m_nEntryStart;
        // Stored as it is when compressing gains nothing; an empty file keeps the layout,
        // since an entry of size 0 would read as a directory.
        if (item.nSize > 0 && nStored >= item.nSize)
        {
            if (Result r = m_writer.Rewind(m_nEntryStart); !r)
                return r;
            if (Result r = CopyStored(item, false); !r)
                return r;
            nStored = item.nSize;
        }
        m_writer.AddEntry(m_nEntryStart, nStored, item.strName, item.tTime);
        FileDone();
        return Result::Ok();
    }

    Result CopyStored(const PackItem& item, bool bCount = true)
    {
        std::unique_ptr<IPackInput> input = item.openInput();
        int fd = -1;
        std::int64_t nOffset = 0;
        if (Result r = input->OpenRange(fd, nOffset); !r)
            return r;
        if (fd >= 0)
            return CopyRange(item, fd, nOffset, bCount);
        m_copy.resize(static_cast<std::size_t>(
            std::min<std::int64_t>(COPY_CHUNK, std::max<std::int64_t>(item.nSize, 1))));
        std::int64_t nDone = 0;
        for (;;)
        {
            if (Cancelled())
                return Result::Fail("interrupted");
            std::size_t nGot = 0;
            if (Result r = input->Read(m_copy, nGot); !r)
                return r;
            nDone += static_cast<std::int64_t>(nGot);
            if (nDone > item.nSize)
                return NotAsPlanned(item);
            if (nGot > 0)
                if (Result r = m_writer.Write({m_copy.data(), nGot}); !r)
                    return r;
            if (bCount && m_options.onContentBytes)
                m_options.onContentBytes(static_cast<std::int64_t>(nGot));
            if (nGot < m_copy.size())
                break;
        }
        return nDone == item.nSize ? Result::Ok() : NotAsPlanned(item);
    }

    // Straight from file to file, in pieces so that progress moves and a cancel is seen.
    Result CopyRange(const PackItem& item, int fd, std::int64_t nOffset, bool bCount)
    {
        return m_writer.CopyFrom(fd, nOffset, item.nSize, item.strLabel,
                                 [&](std::int64_t nBytes)
                                 {
                                     if (bCount && m_options.onContentBytes)
                                         m_options.onContentBytes(nBytes);
                                     return Cancelled() ? Result::Fail("interrupted")
                                                        : Result::Ok();
                                 });
    }

    void FileDone()
    {
        if (m_options.onFileDone)
            m_options.onFileDone();
    }

    const std::vector<PackItem>& m_items;
    const PackWriteOptions& m_options;
    const int m_nWindow;
    CVpWriter m_writer;
    std::deque<std::unique_ptr<Slot>> m_slots;
    std::vector<std::unique_ptr<Slot>> m_spare;
    CWorkerPool* m_pPool = nullptr;
    int m_nBlocksInFlight = 0;
    std::size_t m_nNextItem = 0;
    std::unique_ptr<IPackInput> m_pInput; // the file being cut into blocks
    std::int64_t m_nRead = 0;
    std::int64_t m_nEntryStart = 0; // of the compressed entry being written
    std::vector<std::int64_t> m_aOffsets;
    std::vector<unsigned char> m_copy;
};
} // namespace

Result WriteVpArchive(const std::vector<PackItem>& items, const std::string& targetPath,
                      const PackWriteOptions& options)
{
    CPackPipeline pipeline(items, options);
    return pipeline.Run(targetPath);
}
