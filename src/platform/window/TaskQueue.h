#pragma once
// Tasks handed to the event loop from any thread (the picture worker's
// deliveries), run there in the order they came.
#include <deque>
#include <functional>
#include <mutex>

class TaskQueue {
public:
    void Push(std::function<void()> task) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_tasks.push_back(std::move(task));
    }

    // Runs every task, those that the tasks add included; none runs under
    // the lock, so a task may push another.
    void RunAll() {
        for (;;) {
            std::function<void()> task;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                if (m_tasks.empty())
                    return;
                task = std::move(m_tasks.front());
                m_tasks.pop_front();
            }
            task();
        }
    }

private:
    std::mutex m_mutex;
    std::deque<std::function<void()>> m_tasks;
};
