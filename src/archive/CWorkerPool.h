#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

// A fixed set of threads that run submitted tasks in order of submission. Destroying the
// pool drops the tasks not yet started and waits for the running ones, so a task's
// buffers may go right after the pool.
class CWorkerPool
{
public:
    explicit CWorkerPool(int nThreads);
    ~CWorkerPool();
    CWorkerPool(const CWorkerPool&) = delete;
    CWorkerPool& operator=(const CWorkerPool&) = delete;

    std::future<void> Submit(std::function<void()> task);

private:
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::packaged_task<void()>> m_tasks;
    bool m_bStopping = false;
    std::vector<std::thread> m_threads;
};
