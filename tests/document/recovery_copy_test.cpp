#include "document/recovery_copy.h"
#include "support/fakes.h"
#include "support/notation.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <semaphore>
#include <thread>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quillet {
namespace {

using namespace test;

std::string contentOf(const NativePath& path) {
    const std::string bytes = readBytes(path);
    return bytes == "<missing>" ? "(missing)" : bytes;
}

// The folder of the copy may not be there yet: the first start makes it.
struct Folder {
    TempFolder dir;
    NativePath path = dir.filePath("data/Quillet");
};

template <std::size_t N> std::string bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

const std::string document = bytes("{TEXT}Gr\xFC\xDF"
                                   "e\r\n\x80 \0 ?{/TEXT}\r\n\r\n");

TEST(RecoveryCopy, KeepsTheBytesUntilTheDocumentIsEmpty) {
    Folder folder;
    RecoveryCopy copy(folder.path);
    EXPECT_FALSE(copy.store(document)) << "written without the lock";
    ASSERT_EQ(copy.claim(), RecoveryCopy::Claim::Claimed);
    EXPECT_FALSE(copy.leftOver());

    ASSERT_TRUE(copy.store(document));
    EXPECT_EQ(shown(contentOf(copy.path())), shown(document));
    EXPECT_EQ(shown(copy.leftOver().value_or("(none)")), shown(document));
    ASSERT_TRUE(copy.store("x"));
    EXPECT_EQ(contentOf(copy.path()), "x");

    ASSERT_TRUE(copy.store(""));
    EXPECT_FALSE(exists(copy.path()));
    EXPECT_FALSE(copy.leftOver());
    EXPECT_TRUE(copy.store("")) << "removing what is not there";
    EXPECT_EQ(folderContents(folder.path), std::vector<std::string>{"unsaved-document.lock"});
}

TEST(RecoveryCopy, ASecondProgramNeitherWritesNorRemovesTheCopy) {
    Folder folder;
    auto first = std::make_unique<RecoveryCopy>(folder.path);
    ASSERT_EQ(first->claim(), RecoveryCopy::Claim::Claimed);
    ASSERT_TRUE(first->store(document));

    RecoveryCopy second(folder.path);
    EXPECT_EQ(second.claim(), RecoveryCopy::Claim::HeldByAnother);
    EXPECT_FALSE(second.store("von der zweiten"));
    EXPECT_FALSE(second.store(""));
    EXPECT_EQ(shown(contentOf(first->path())), shown(document));

    // Closing the first lets go of the copy, which then waits for the next start.
    first.reset();
    EXPECT_EQ(second.claim(), RecoveryCopy::Claim::Claimed);
    EXPECT_EQ(shown(second.leftOver().value_or("(none)")), shown(document));
}

TEST(RecoveryCopy, TakesOverTheLockOfAProgramThatDied) {
    Folder folder;
    ASSERT_TRUE(makeFolders(folder.path));
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    ASSERT_GT(child, 0);
    waitpid(child, nullptr, 0);
    RecoveryCopy copy(folder.path);
    writeBytes(copy.lockPath(), std::to_string(child) + "\nquillet\n\n");

    EXPECT_EQ(copy.claim(), RecoveryCopy::Claim::Claimed);
}

// The lock lives as long as the program holding it: a second program is refused, and the
// next one after a kill takes the copy over.
TEST(RecoveryCopy, TheLockEndsWithItsHolder) {
    Folder folder;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = fork();
    if (holder == 0) {
        ::alarm(60); // should the test end without killing it
        RecoveryCopy copy(folder.path);
        const char claimed = copy.claim() == RecoveryCopy::Claim::Claimed ? 'y' : 'n';
        if (::write(ready[1], &claimed, 1) != 1)
            _exit(1);
        for (;;)
            ::pause();
    }
    ASSERT_GT(holder, 0);
    char claimed = 0;
    ASSERT_EQ(::read(ready[0], &claimed, 1), 1);
    EXPECT_EQ(claimed, 'y');
    RecoveryCopy copy(folder.path);
    EXPECT_EQ(copy.claim(), RecoveryCopy::Claim::HeldByAnother);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_EQ(copy.claim(), RecoveryCopy::Claim::Claimed);
    ::close(ready[0]);
    ::close(ready[1]);
}

// The copy holds the user's unsaved text: nobody else may read it.
TEST(RecoveryCopy, FolderAndFilesAreTheUsersAlone) {
    Folder folder;
    RecoveryCopy copy(folder.path);
    ASSERT_EQ(copy.claim(), RecoveryCopy::Claim::Claimed);
    ASSERT_TRUE(copy.store(document));
    const auto mode = [](const NativePath& path) {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
    };
    EXPECT_EQ(mode(folder.path), 0700u);
    EXPECT_EQ(mode(copy.path()), 0600u);
    EXPECT_EQ(mode(copy.lockPath()), 0600u);
    // A copy an older version left readable is replaced by one that is not.
    ASSERT_EQ(::chmod(copy.path().c_str(), 0644), 0);
    ASSERT_TRUE(copy.store("x"));
    EXPECT_EQ(mode(copy.path()), 0600u);
}

TEST(RecoveryCopy, OnlyARegularFileIsACopy) {
    Folder folder;
    RecoveryCopy copy(folder.path);
    ASSERT_EQ(copy.claim(), RecoveryCopy::Claim::Claimed);
    ASSERT_TRUE(makeFolders(copy.path()));
    EXPECT_FALSE(copy.leftOver());
    EXPECT_FALSE(copy.store(document));
}

TEST(RecoveryCopy, AFolderThatCannotBeMadeFails) {
    Folder folder;
    writeBytes(folder.dir.filePath("data"), "");
    RecoveryCopy copy(folder.path);
    EXPECT_EQ(copy.claim(), RecoveryCopy::Claim::Failed);
    EXPECT_FALSE(copy.isClaimed());
}

// The writer's first snapshot blocks until the test lets it go, so that everything handed
// over meanwhile queues behind a running write.
TEST(RecoveryWriter, WritesOnlyTheNewestOfWhatQueuedBehindAWrite) {
    Folder folder;
    RecoveryCopy copy(folder.path);
    ASSERT_EQ(copy.claim(), RecoveryCopy::Claim::Claimed);
    std::atomic<int> taken{0};
    std::atomic<int> failures{0};
    std::atomic<bool> onMainThread{false};
    const std::thread::id main = std::this_thread::get_id();
    std::binary_semaphore started{0}, release{0};
    RecoveryWriter writer(copy, [&](bool ok) { failures += ok ? 0 : 1; });

    writer.submit([&] {
        ++taken;
        onMainThread = onMainThread || std::this_thread::get_id() == main;
        started.release();
        release.acquire();
        return std::string("erste");
    });
    started.acquire();
    for (int i = 1; i <= 5; ++i)
        writer.submit([&, i] {
            ++taken;
            return "Fassung " + std::to_string(i);
        });
    release.release();
    writer.waitUntilIdle();

    EXPECT_EQ(contentOf(copy.path()), "Fassung 5");
    EXPECT_EQ(taken, 2);
    EXPECT_EQ(failures, 0);
    EXPECT_FALSE(onMainThread);
}

TEST(RecoveryWriter, WritesWhatWaitsBeforeItEndsAndReportsFailures) {
    Folder folder;
    RecoveryCopy copy(folder.path);
    ASSERT_EQ(copy.claim(), RecoveryCopy::Claim::Claimed);
    std::vector<bool> outcomes;
    {
        RecoveryWriter writer(copy, [&](bool ok) { outcomes.push_back(ok); });
        writer.submit([] { return document; });
    }
    EXPECT_EQ(shown(contentOf(copy.path())), shown(document));
    {
        RecoveryWriter writer(copy, [&](bool ok) { outcomes.push_back(ok); });
        writer.submit([] { return std::string(); });
        writer.waitUntilIdle();
        EXPECT_FALSE(exists(copy.path()));
        ASSERT_TRUE(makeFolders(copy.path()));
        writer.submit([] { return document; });
    }
    EXPECT_EQ(outcomes, (std::vector<bool>{true, true, false}));
}

} // namespace
} // namespace quillet
