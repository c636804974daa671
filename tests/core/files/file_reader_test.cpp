#include "core/files/system.h"
#include "core/pictures/probe.h"
#include "core/support/temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace gamarium::files {
namespace {

// A named pipe counts as a file that cannot be read: neither the reader
// nor the size probe (the page generator's) waits for a writer. Run in a
// child process, which is killed when it hangs.
TEST(FileReader, APipeIsNotWaitedOn) {
    gamarium::testing::TempFolder folder;
    const Path pipe = folder.path() / "pipe.png";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    const pid_t child = fork();
    if (child == 0) {
        const bool unread = !FileReader(pipe).open() && !pictures::probePictureSize(pipe);
        _exit(unread ? 0 : 1);
    }
    int status = 0;
    for (int waited = 0; waited < 100 && waitpid(child, &status, WNOHANG) == 0; ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (kill(child, SIGKILL) == 0) {
        waitpid(child, &status, 0);
        FAIL() << "waited on the pipe";
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

} // namespace
} // namespace gamarium::files
