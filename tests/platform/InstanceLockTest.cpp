#include "platform/InstanceLock.h"
#include "support/ScratchDirectory.h"

#include <csignal>
#include <sys/wait.h>

using platform::InstanceLock;

using InstanceLockTest = ScratchDirectory;

namespace {

// Runs tryAcquire in a child process; its exit status says whether it got the lock.
bool childAcquires(const std::string& file) {
    const pid_t child = ::fork();
    if (child == 0) {
        InstanceLock lock(file);
        ::_exit(lock.tryAcquire() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

TEST_F(InstanceLockTest, OnlyTheFirstHolderGetsIt) {
    const std::string file = "run/skyvane.lock";
    {
        InstanceLock first(file);
        ASSERT_TRUE(first.tryAcquire());
        EXPECT_TRUE(first.tryAcquire()) << "asking again while holding it";
        EXPECT_FALSE(childAcquires(file));
        EXPECT_FALSE(InstanceLock(file).tryAcquire()) << "a second lock object in this process";
        first.release();
        EXPECT_TRUE(childAcquires(file));
        ASSERT_TRUE(first.tryAcquire());
    }
    EXPECT_TRUE(childAcquires(file)) << "released on destruction";
}

TEST_F(InstanceLockTest, ReleasedWhenTheHolderDies) {
    const std::string file = "skyvane.lock";
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        InstanceLock lock(file);
        const char got = lock.tryAcquire() ? 'y' : 'n';
        [[maybe_unused]] auto n = ::write(ready[1], &got, 1);
        ::pause();
        ::_exit(0);
    }
    char got = 0;
    ASSERT_EQ(::read(ready[0], &got, 1), 1);
    EXPECT_EQ(got, 'y');
    InstanceLock mine(file);
    EXPECT_EQ(mine.acquire(), InstanceLock::State::HeldElsewhere);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_TRUE(mine.tryAcquire());
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST(InstanceLock, AFileThatCannotBeMadeIsUnavailableNotHeld) {
    // Start-up tells "another instance runs" from "the lock can't be had": only the first blocks.
    InstanceLock lock("/proc/skyvane-no-such-directory/skyvane.lock");
    EXPECT_EQ(lock.acquire(), InstanceLock::State::Unavailable);
    EXPECT_FALSE(lock.tryAcquire());
}

TEST(InstanceLockDefault, LivesInTheRuntimeDirectory) {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string keep = saved ? saved : "";
    ::setenv("XDG_RUNTIME_DIR", "/run/user/1234", 1);
    EXPECT_EQ(InstanceLock::defaultLockFile(), "/run/user/1234/skyvane.lock");
    if (saved) {
        ::setenv("XDG_RUNTIME_DIR", keep.c_str(), 1);
    } else {
        ::unsetenv("XDG_RUNTIME_DIR");
    }
}
