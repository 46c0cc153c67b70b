// The command reads its input once, whatever it is: a FIFO, a pipe reached
// through /dev/fd, a device that never ends. A failure is explained from the
// text read, and reading stops at the first XML error.
#include "cli_runner.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {
struct OnceRead {
    const char* name;
    const char* text; // null: the input is /dev/zero
    // Through a FIFO named as FILE, or, as `<(...)` gives it, through a pipe
    // that is standard input, named as /dev/fd/0.
    bool throughDevFd;
    int exitCode;
    const char* mention; // a part of the one line on stderr
};

const char* const Malformed = "<a>\n<b></a>\n";
const char* const Unconvertible = "<psf:PrintTicket xmlns:psf=\"http://schemas.microsoft.com/"
                                  "windows/2003/08/printing/printschemaframework\"/>\n";

TEST(CliInputTest, EveryInputIsReadOnce) {
    const OnceRead cases[] = {
        {"malformed, from a FIFO", Malformed, false, 2, "fifo:2:8: XML error: "},
        {"malformed, through /dev/fd", Malformed, true, 2, "/dev/fd/0:2:8: XML error: "},
        {"not convertible, from a FIFO", Unconvertible, false, 1, "no feature "},
        {"not convertible, through /dev/fd", Unconvertible, true, 1, "no feature "},
        {"endless NUL bytes", nullptr, false, 2, "/dev/zero:1:1: XML error: "},
    };
    for (const OnceRead& input : cases) {
        SCOPED_TRACE(input.name);
        ScratchFolder folder;
        std::string path = input.text ? folder.File("fifo") : "/dev/zero";
        std::thread writer;
        CliStreams streams;
        int pipeEnds[2] = {-1, -1};
        if (input.throughDevFd) {
            ASSERT_EQ(pipe(pipeEnds), 0);
            ASSERT_EQ(write(pipeEnds[1], input.text, strlen(input.text)),
                      ssize_t(strlen(input.text)));
            close(pipeEnds[1]);
            streams.stdinPath = "/proc/self/fd/" + std::to_string(pipeEnds[0]);
            path = "/dev/fd/0";
        } else if (input.text) {
            mkfifo(path.c_str(), 0600);
            writer = std::thread([&] {
                int descriptor = open(path.c_str(), O_WRONLY);
                EXPECT_EQ(write(descriptor, input.text, strlen(input.text)),
                          ssize_t(strlen(input.text)));
                close(descriptor);
            });
        }
        CliRun run = RunCli({"ticket", path}, "", streams);
        close(pipeEnds[0]);
        if (writer.joinable()) { // released also when the command never opened the FIFO
            int reader = open(path.c_str(), O_RDONLY | O_NONBLOCK);
            writer.join();
            close(reader);
        }
        EXPECT_EQ(run.exitCode, input.exitCode) << run.err;
        EXPECT_NE(run.err.find(input.mention), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    }
}
} // namespace
