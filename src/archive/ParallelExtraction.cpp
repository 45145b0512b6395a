#include "ParallelExtraction.h"

#include <condition_variable>
#include <mutex>
#include <optional>

#include "AsciiText.h"
#include "CEntryExtractor.h"
#include "CORBISTAVDoc.h"
#include "CWorkerPool.h"

namespace
{
struct Outcome
{
    Result result;
    std::string written;
};
} // namespace

void ExtractInParallel(const CORBISTAVDoc& doc, const std::vector<CEntryExtractor*>& extractors,
                       const std::vector<int>& files,
                       const std::function<void(std::size_t nIndex, const Result& result,
                                                const std::string& written)>& onDone)
{
    const std::size_t nWorkers = extractors.size();
    // Case is ignored too: a destination on a file system that ignores it stays one file.
    std::vector<std::vector<std::size_t>> shares(nWorkers);
    for (std::size_t i = 0; i < files.size(); ++i)
        shares[std::hash<std::string>{}(ToLowerAscii(doc.m_files[files[i]].strName)) % nWorkers].push_back(i);

    std::mutex mutex;
    std::condition_variable ready;
    std::vector<std::optional<Outcome>> outcomes(files.size());
    {
        CWorkerPool pool(static_cast<int>(nWorkers));
        for (std::size_t w = 0; w < nWorkers; ++w)
            pool.Submit(
                [&, w]
                {
                    for (const std::size_t i : shares[w])
                    {
                        Outcome outcome;
                        try
                        {
                            outcome.result = extractors[w]->Extract(files[i], &outcome.written);
                        }
                        catch (const std::exception& e)
                        {
                            outcome.result = Result::Fail(
                                CEntryExtractor::ArchivePathOf(doc, files[i]) + ": " + e.what());
                        }
                        std::lock_guard lock(mutex);
                        outcomes[i] = std::move(outcome);
                        ready.notify_one();
                    }
                });
        for (std::size_t i = 0; i < files.size(); ++i)
        {
            std::unique_lock lock(mutex);
            ready.wait(lock, [&] { return outcomes[i].has_value(); });
            const Outcome outcome = std::move(*outcomes[i]);
            lock.unlock();
            onDone(i, outcome.result, outcome.written);
        }
    }
}
