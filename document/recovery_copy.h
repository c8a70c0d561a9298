#pragma once

#include "files/file_system.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// The copy of the document in the window that outlives a close, a crash or a kill: one
// file in a folder the program names (in the user's data), holding exactly the bytes "Save
// and New" would write. A lock file beside it gives the copy to one running program at a
// time, so that two never write over each other's copy. The folder and the files are the
// user's alone: the copy holds text nobody else should read.
class RecoveryCopy {
public:
    enum class Claim { Claimed, HeldByAnother, Failed };

    explicit RecoveryCopy(NativePath folder);
    // Lets go of the copy.
    ~RecoveryCopy();
    RecoveryCopy(const RecoveryCopy&) = delete;
    RecoveryCopy& operator=(const RecoveryCopy&) = delete;

    // Takes the copy for this program, making the folder when it is missing. The lock of
    // a program that ended without letting go of it (a crash, a kill) is taken over.
    Claim claim();
    bool isClaimed() const { return lock_.isOpen(); }

    // The text an earlier session left in the copy; nothing when there is none, or it is
    // empty.
    std::optional<std::string> leftOver() const;

    // Makes the bytes the copy, whole or not at all; an empty document removes the copy.
    // Only a claimed copy is written or removed.
    bool store(std::string_view bytes);

    NativePath path() const;
    NativePath lockPath() const;

private:
    NativePath folder_;
    FileHandle lock_;
};

// Writes the copy on a thread of its own, so that writing a large document never holds
// up the window. What is handed over while a write runs waits; of several, only the
// newest is written.
class RecoveryWriter {
public:
    // Gives the document's bytes. It runs on the writer's thread, so that converting a
    // large document costs the window nothing either.
    using Snapshot = std::function<std::string()>;
    // Told after each write whether it succeeded; called on the writer's thread.
    using Done = std::function<void(bool written)>;

    explicit RecoveryWriter(RecoveryCopy& copy, Done done = {});
    // Writes what is still waiting before the thread ends.
    ~RecoveryWriter();
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    void submit(Snapshot snapshot);
    // Until nothing waits and nothing is being written.
    void waitUntilIdle();

private:
    class Thread;
    std::unique_ptr<Thread> thread_;
};

} // namespace quillet
