// Reads files on one background thread ahead of need, so that the main thread only has to take
// the results. The read function gets a file name and gives back a value; it must touch nothing
// shared (no render device, no cache). Everything else happens on the thread that owns the reader.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>

template <class T>
class BackgroundReader {
public:
    using ReadFunction = std::function<T(const std::string&)>;

    explicit BackgroundReader(ReadFunction read) : read_(std::move(read)) {}
    ~BackgroundReader() { Stop(); }
    BackgroundReader(const BackgroundReader&) = delete;
    BackgroundReader& operator=(const BackgroundReader&) = delete;

    // Queues the file unless it is queued, being read, or read and not yet taken. The thread
    // starts with the first file.
    void Request(const std::string& name) {
        std::lock_guard lock(mutex_);
        if (Known(name)) return;
        queue_.push_back(name);
        changed_.notify_all();
        if (thread_.joinable()) return;
        stopping_ = false;
        try {
            thread_ = std::thread(&BackgroundReader::Run, this);
        } catch (const std::system_error&) {
            // No thread to be had: Take reads each queued file itself when it is asked for.
        }
    }

    // The value of a requested file, once. Waits while the thread reads it; a file still in the
    // queue is taken out and read here instead, so no file is read twice. Nothing for a file
    // never requested, already taken, or whose reading threw: the caller reads it itself.
    std::optional<T> Take(const std::string& name) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return current_ != name; });
        if (auto it = done_.find(name); it != done_.end()) {
            std::optional<T> value(std::move(it->second));
            done_.erase(it);
            return value;
        }
        if (auto it = std::find(queue_.begin(), queue_.end(), name); it != queue_.end()) {
            queue_.erase(it);
            lock.unlock();
            return read_(name);
        }
        return std::nullopt;
    }

    // Until every queued file has been read (or the thread could not start).
    void Wait() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return (queue_.empty() && !current_) || !thread_.joinable(); });
    }

    // Files not yet started are dropped, the one being read is finished, the thread ends, and
    // values not taken are dropped. Request starts again afterwards.
    void Stop() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
            queue_.clear();
            changed_.notify_all();
        }
        if (thread_.joinable()) thread_.join();
        std::lock_guard lock(mutex_);
        done_.clear();
    }

    // The file is queued, being read, or read and not yet taken.
    bool Holds(const std::string& name) const {
        std::lock_guard lock(mutex_);
        return Known(name);
    }

private:
    bool Known(const std::string& name) const {
        return current_ == name || done_.count(name) || std::find(queue_.begin(), queue_.end(), name) != queue_.end();
    }

    void Run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
            if (stopping_) return;
            current_ = std::move(queue_.front());
            queue_.pop_front();
            const std::string name = *current_;
            lock.unlock();
            std::optional<T> value;
            try {
                value = read_(name);
            } catch (...) {
                // Left to the main thread, which reads the file again when it needs it.
            }
            lock.lock();
            if (value) done_.insert_or_assign(name, std::move(*value));
            current_.reset();
            changed_.notify_all();
        }
    }

    const ReadFunction read_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> queue_;
    std::optional<std::string> current_;  // the file the thread is reading
    std::map<std::string, T> done_;
    bool stopping_ = false;
    std::thread thread_;  // last: started after everything it uses, joined by Stop
};
