#pragma once

#include "support/SafeSave.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class FileProblems;

/// Saves the lists' files (safe save: temporary file, flush to the disk, rename) on a thread of
/// its own, so that a change waits for the disk neither on the thread that handles calls nor in
/// the user interface. A save of a file that is queued and not yet begun is replaced by a newer
/// one: changes that come faster than the disk are written as the newest state alone. Outcomes
/// are reported to the FileProblems the save was queued with, on the owner's thread, at the next
/// save(), finish() or reportFinished(). The thread starts with the first save.
class StoreWriter {
public:
    StoreWriter() = default;
    StoreWriter(const StoreWriter&) = delete;
    StoreWriter& operator=(const StoreWriter&) = delete;
    /// Writes every queued save before it returns; outcomes not yet reported are dropped, so the
    /// owner calls finish() while their readers are still there.
    ~StoreWriter();

    /// Called on the writer's thread after each save: the owner arranges for reportFinished() on
    /// its own thread. It must not call back into the writer.
    void setOnFinished(std::function<void()> notify);

    /// Queues bytes to replace the file at path (see safeSave); problems hears the outcome.
    void save(const std::string& path, std::string bytes, FileProblems* problems);
    /// Waits until every queued save is written, then reports the outcomes: before the program
    /// ends and before anyone reads the files.
    void finish();
    /// Reports the outcomes of the saves done so far.
    void reportFinished();

private:
    struct Save {
        std::string path;
        std::string bytes;
        FileProblems* problems;
    };
    struct Outcome {
        std::string path;
        SaveResult result;
        FileProblems* problems;
    };

    void run();

    std::mutex m_mutex;
    std::condition_variable m_queuedOrStopping;
    std::condition_variable m_idle;
    std::deque<Save> m_queue;
    std::vector<Outcome> m_outcomes;
    std::function<void()> m_onFinished;
    bool m_writing = false;
    bool m_stopping = false;
    std::thread m_thread;
};
