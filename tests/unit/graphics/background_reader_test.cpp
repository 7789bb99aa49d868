// The background reader with a read function the test holds up: a file still queued is read by
// whoever asks for it, one being read is waited for, no file is read twice, and stopping
// finishes the file in hand and drops the rest.
#include "graphics/background_reader.hpp"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <thread>

namespace {

// Reads "name" as "read:name", counting the reads. "slow" waits until the test lets it go;
// "bad" throws.
class HeldReads {
public:
    std::string Read(const std::string& name) {
        std::unique_lock lock(mutex_);
        ++reads_[name];
        if (name == "bad") throw std::runtime_error("unreadable");
        if (name == "slow") {
            slowStarted_ = true;
            changed_.notify_all();
            changed_.wait(lock, [&] { return slowReleased_; });
        }
        return "read:" + name;
    }
    void WaitUntilSlowStarted() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return slowStarted_; });
    }
    void ReleaseSlow() {
        std::lock_guard lock(mutex_);
        slowReleased_ = true;
        changed_.notify_all();
    }
    int Reads(const std::string& name) {
        std::lock_guard lock(mutex_);
        return reads_[name];
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<std::string, int> reads_;
    bool slowStarted_ = false, slowReleased_ = false;
};

TEST(BackgroundReaderTest, QueuedFilesAreReadByTheTakerAndTheFileInHandIsWaitedFor) {
    HeldReads reads;
    BackgroundReader<std::string> reader([&](const std::string& n) { return reads.Read(n); });
    reader.Request("slow");
    reader.Request("queued");
    reader.Request("slow");  // already asked for: not queued twice
    reads.WaitUntilSlowStarted();
    // The thread is held on "slow", so "queued" has not started: the taker reads it itself.
    EXPECT_EQ(reader.Take("queued"), "read:queued");
    EXPECT_FALSE(reader.Holds("queued"));
    std::optional<std::string> slow;
    std::thread taker([&] { slow = reader.Take("slow"); });
    reads.ReleaseSlow();
    taker.join();
    EXPECT_EQ(slow, "read:slow");
    for (const char* name : {"slow", "queued"}) EXPECT_EQ(reads.Reads(name), 1) << name;
    // Taken once; a file never asked for is the caller's to read.
    EXPECT_EQ(reader.Take("slow"), std::nullopt);
    EXPECT_EQ(reader.Take("never"), std::nullopt);
    EXPECT_EQ(reads.Reads("never"), 0);
}

TEST(BackgroundReaderTest, AReadThatThrowsIsLeftToTheCaller) {
    HeldReads reads;
    BackgroundReader<std::string> reader([&](const std::string& n) { return reads.Read(n); });
    reader.Request("bad");
    reader.Request("good");
    reader.Wait();
    EXPECT_FALSE(reader.Holds("bad"));
    EXPECT_EQ(reader.Take("bad"), std::nullopt);
    EXPECT_EQ(reader.Take("good"), "read:good");
}

TEST(BackgroundReaderTest, StopFinishesTheFileInHandDropsTheRestAndCanStartAgain) {
    HeldReads reads;
    BackgroundReader<std::string> reader([&](const std::string& n) { return reads.Read(n); });
    reader.Request("slow");
    reader.Request("dropped");
    reads.WaitUntilSlowStarted();
    // Let "slow" finish only once Stop has emptied the queue, so "dropped" is never started.
    std::thread release([&] {
        while (reader.Holds("dropped")) std::this_thread::yield();
        reads.ReleaseSlow();
    });
    reader.Stop();
    release.join();
    EXPECT_EQ(reads.Reads("slow"), 1);
    EXPECT_EQ(reads.Reads("dropped"), 0);
    EXPECT_EQ(reader.Take("slow"), std::nullopt) << "values not taken go with the thread";
    reader.Request("again");
    reader.Wait();
    EXPECT_EQ(reader.Take("again"), "read:again");
}

}  // namespace
