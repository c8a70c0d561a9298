#include "document/recovery_copy.h"

#include "files/text_file.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace quillet {

namespace {

constexpr std::string_view CopyName = "unsaved-document.txt";
constexpr std::string_view LockName = "unsaved-document.lock";

} // namespace

RecoveryCopy::RecoveryCopy(NativePath folder) : folder_(std::move(folder)) {}

RecoveryCopy::~RecoveryCopy() {
    if (!lock_.isOpen())
        return;
    // Removed while still locked, so that no other program finds the lock free and then
    // loses its file.
    removeFile(lockPath());
    lock_.close();
}

NativePath RecoveryCopy::path() const {
    return joinPath(folder_, CopyName);
}

NativePath RecoveryCopy::lockPath() const {
    return joinPath(folder_, LockName);
}

RecoveryCopy::Claim RecoveryCopy::claim() {
    if (lock_.isOpen())
        return Claim::Claimed;
    if (!createFolders(folder_, Access::OwnerOnly))
        return Claim::Failed;
    // The system holds the lock for the program until it ends, however it ends, so a lock
    // file that a crash left behind is free to be taken.
    LockOutcome outcome = LockOutcome::Failed;
    FileHandle lock = lockFile(lockPath(), outcome);
    if (outcome != LockOutcome::Locked)
        return outcome == LockOutcome::HeldByAnother ? Claim::HeldByAnother : Claim::Failed;
    lock_ = std::move(lock);
    return Claim::Claimed;
}

std::optional<std::string> RecoveryCopy::leftOver() const {
    // Only a regular file is read: anything else put there is not a copy this program wrote.
    std::optional<std::string> text = readTextFile(path());
    if (!text || text->empty())
        return std::nullopt;
    return text;
}

bool RecoveryCopy::store(std::string_view bytes) {
    if (!lock_.isOpen())
        return false;
    const NativePath copy = path();
    if (bytes.empty())
        return !nameTaken(copy) || removeFile(copy);
    FileStatus existing;
    if (statusOf(copy, existing) && (!existing.regular || !mayWrite(copy)))
        return false;
    // A new file each time, the user's alone, whatever an older copy's permissions were.
    StagedFile file(copy);
    return file.open(Access::OwnerOnly) && file.write(bytes) && file.commit();
}

class RecoveryWriter::Thread {
public:
    Thread(RecoveryCopy& copy, Done done)
        : copy_(copy), done_(std::move(done)), thread_([this] { run(); }) {}

    void submit(Snapshot snapshot) {
        const std::lock_guard locker(mutex_);
        waiting_ = std::move(snapshot);
        wake_.notify_one();
    }
    void waitUntilIdle() {
        std::unique_lock locker(mutex_);
        idle_.wait(locker, [this] { return !waiting_ && !writing_; });
    }
    void stop() {
        {
            const std::lock_guard locker(mutex_);
            stopping_ = true;
            wake_.notify_one();
        }
        thread_.join();
    }

private:
    void run() {
        for (;;) {
            Snapshot snapshot;
            {
                std::unique_lock locker(mutex_);
                wake_.wait(locker, [this] { return waiting_ || stopping_; });
                if (!waiting_)
                    return;
                snapshot = std::move(waiting_);
                waiting_ = nullptr;
                writing_ = true;
            }
            const bool written = copy_.store(snapshot());
            {
                const std::lock_guard locker(mutex_);
                writing_ = false;
                if (!waiting_)
                    idle_.notify_all();
            }
            if (done_)
                done_(written);
        }
    }

    RecoveryCopy& copy_;
    Done done_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    Snapshot waiting_;
    bool writing_ = false;
    bool stopping_ = false;
    // Last, so that it starts once everything it reads is there.
    std::thread thread_;
};

RecoveryWriter::RecoveryWriter(RecoveryCopy& copy, Done done)
    : thread_(std::make_unique<Thread>(copy, std::move(done))) {}

RecoveryWriter::~RecoveryWriter() {
    thread_->stop();
}

void RecoveryWriter::submit(Snapshot snapshot) {
    thread_->submit(std::move(snapshot));
}

void RecoveryWriter::waitUntilIdle() {
    thread_->waitUntilIdle();
}

} // namespace quillet
