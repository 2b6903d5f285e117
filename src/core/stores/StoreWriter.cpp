#include "stores/StoreWriter.h"

#include "stores/FileProblems.h"

#include <algorithm>
#include <utility>

StoreWriter::~StoreWriter() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_queuedOrStopping.notify_one();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void StoreWriter::setOnFinished(std::function<void()> notify) {
    const std::lock_guard lock(m_mutex);
    m_onFinished = std::move(notify);
}

void StoreWriter::save(const std::string& path, std::string bytes, FileProblems* problems) {
    reportFinished();
    {
        const std::lock_guard lock(m_mutex);
        const auto queued =
            std::ranges::find_if(m_queue, [&path](const Save& save) { return save.path == path; });
        if (queued != m_queue.end()) {
            queued->bytes = std::move(bytes);
            queued->problems = problems;
        } else {
            m_queue.push_back({path, std::move(bytes), problems});
        }
        if (!m_thread.joinable()) {
            m_thread = std::thread(&StoreWriter::run, this);
        }
    }
    m_queuedOrStopping.notify_one();
}

void StoreWriter::finish() {
    {
        std::unique_lock lock(m_mutex);
        m_idle.wait(lock, [this] { return m_queue.empty() && !m_writing; });
    }
    reportFinished();
}

void StoreWriter::reportFinished() {
    std::vector<Outcome> outcomes;
    {
        const std::lock_guard lock(m_mutex);
        outcomes.swap(m_outcomes);
    }
    for (const Outcome& outcome : outcomes) {
        if (outcome.problems == nullptr) {
            continue;
        }
        if (outcome.result) {
            outcome.problems->saved(outcome.path);
        } else {
            outcome.problems->saveFailed(outcome.path, outcome.result.error);
        }
    }
}

void StoreWriter::run() {
    std::unique_lock lock(m_mutex);
    while (true) {
        m_queuedOrStopping.wait(lock, [this] { return !m_queue.empty() || m_stopping; });
        // Stopping still writes what is queued: nothing the user changed is lost at the end.
        if (m_queue.empty()) {
            return;
        }
        Save save = std::move(m_queue.front());
        m_queue.pop_front();
        m_writing = true;
        lock.unlock();
        SaveResult result = safeSave(save.path, save.bytes);
        lock.lock();
        m_writing = false;
        m_outcomes.push_back({std::move(save.path), std::move(result), save.problems});
        if (m_onFinished) {
            m_onFinished();
        }
        m_idle.notify_all();
    }
}
