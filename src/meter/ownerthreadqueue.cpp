#include "meter/ownerthreadqueue.h"

void OwnerThreadQueue::post(std::function<void()> work)
{
    const std::lock_guard lock(m_mutex);
    m_waiting.push_back(std::move(work));
    // The queued call carries nothing of its own: the work goes through the locked queue.
    QMetaObject::invokeMethod(m_owner, [this] { runNext(); }, Qt::QueuedConnection);
}

void OwnerThreadQueue::runNext()
{
    std::function<void()> work;
    {
        const std::lock_guard lock(m_mutex);
        if (m_waiting.empty())
            return;
        work = std::move(m_waiting.front());
        m_waiting.pop_front();
    }
    work();
}
