#include "CWorkerPool.h"

CWorkerPool::CWorkerPool(int nThreads)
{
    for (int i = 0; i < (nThreads < 1 ? 1 : nThreads); ++i)
        m_threads.emplace_back([this] { Run(); });
}

CWorkerPool::~CWorkerPool()
{
    {
        std::lock_guard lock(m_mutex);
        m_bStopping = true;
        m_tasks.clear();
    }
    m_wake.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

std::future<void> CWorkerPool::Submit(std::function<void()> task)
{
    std::packaged_task<void()> packaged(std::move(task));
    std::future<void> done = packaged.get_future();
    {
        std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(packaged));
    }
    m_wake.notify_one();
    return done;
}

void CWorkerPool::Run()
{
    for (;;)
    {
        std::packaged_task<void()> task;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_bStopping || !m_tasks.empty(); });
            if (m_bStopping)
                return;
            task = std::move(m_tasks.front());
            m_tasks.pop_front();
        }
        task();
    }
}
