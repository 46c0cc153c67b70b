// Where the ptbridge command writes: `-o` targets of every kind, failed writes,
// and standard output that cannot be written.
#include "cli_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <poll.h>
#include <sstream>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
const std::string Ticket = PTBRIDGE_EXAMPLES_DIR "/ticket.xml";

const std::string& ConvertedTicket() {
    static const std::string document = RunCli({"ticket", Ticket}).out;
    return document;
}

mode_t ModeOf(const std::string& path) {
    struct stat status {};
    lstat(path.c_str(), &status);
    return status.st_mode;
}

// `text` with every "@" replaced by the folder's path.
std::string InFolder(std::string text, const ScratchFolder& folder) {
    for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at + 1))
        text.replace(at, 1, folder.Path());
    return text;
}

// Every name in the folder, relative to it, with its type, mode and content or
// link target.
std::map<std::string, std::string> Snapshot(const ScratchFolder& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(folder.Path())) {
        std::string path = entry.path().string();
        std::string& state = entries[entry.path().lexically_relative(folder.Path()).string()] =
            std::to_string(ModeOf(path)) + " ";
        if (entry.is_symlink())
            state += fs::read_symlink(entry.path()).string();
        else if (entry.is_regular_file())
            state += ReadFile(path);
    }
    return entries;
}

std::vector<std::string> Names(const std::map<std::string, std::string>& snapshot) {
    std::vector<std::string> names;
    for (const auto& entry : snapshot)
        names.push_back(entry.first);
    return names;
}

const mode_t OldFileMode = 0640;

std::string MakeOldFile(const ScratchFolder& folder, const std::string& name) {
    std::string path = folder.Write(name, "previous content");
    chmod(path.c_str(), OldFileMode);
    return path;
}

enum class Delivery { IntoFile, ToFifoReader, OnStdout, Discarded };

// A target of -o that must receive the document and stay what it was. `make`
// sets it up in a scratch folder and gives the -o argument, or "" when it
// cannot be made here.
struct OutputTarget {
    const char* name;
    std::string (*make)(const ScratchFolder& folder);
    Delivery delivery;
    const char* file = nullptr; // the regular file in the folder that receives it
};

// As long as a name may be: the temporary name beside it must still fit.
const std::string LongName = std::string(250, 'n') + ".xml";

const OutputTarget OutputTargets[] = {
    {"LongName", [](const ScratchFolder& f) { return f.File(LongName); }, Delivery::IntoFile,
     LongName.c_str()},
    {"NewFile", [](const ScratchFolder& f) { return f.File("out.xml"); }, Delivery::IntoFile,
     "out.xml"},
    {"RegularFile", [](const ScratchFolder& f) { return MakeOldFile(f, "out.xml"); },
     Delivery::IntoFile, "out.xml"},
    {"SymlinkToRegularFile",
     [](const ScratchFolder& f) {
         fs::create_directory(f.File("real"));
         MakeOldFile(f, "real/out.xml");
         fs::create_symlink("real/out.xml", f.File("link.xml"));
         return f.File("link.xml");
     },
     Delivery::IntoFile, "real/out.xml"},
    {"DanglingSymlink",
     [](const ScratchFolder& f) {
         fs::create_directory(f.File("real"));
         fs::create_symlink("real/new.xml", f.File("link.xml"));
         return f.File("link.xml");
     },
     Delivery::IntoFile, "real/new.xml"},
    {"Fifo",
     [](const ScratchFolder& f) {
         mkfifo(f.File("fifo").c_str(), 0600);
         return f.File("fifo");
     },
     Delivery::ToFifoReader},
    {"CharacterDevice", // a copy of /dev/null, which only root may make
     [](const ScratchFolder& f) {
         struct stat null {};
         stat("/dev/null", &null);
         bool made = mknod(f.File("null").c_str(), S_IFCHR | 0666, null.st_rdev) == 0;
         return made ? f.File("null") : "";
     },
     Delivery::Discarded},
    {"Dash", [](const ScratchFolder&) { return std::string("-"); }, Delivery::OnStdout},
};

void PrintTo(const OutputTarget& testCase, std::ostream* out) {
    *out << testCase.name;
}

class OutputTargetTest : public ::testing::TestWithParam<OutputTarget> {};

TEST_P(OutputTargetTest, ReceivesTheDocumentAndKeepsItsKindAndMode) {
    const OutputTarget& target = GetParam();
    ScratchFolder folder;
    std::string path = target.make(folder);
    if (path.empty())
        GTEST_SKIP() << "cannot make this target here";
    mode_t kind = ModeOf(path) & S_IFMT;
    std::vector<std::string> names = Names(Snapshot(folder));
    mode_t fileMode = OldFileMode;
    if (target.file && !fs::exists(folder.File(target.file))) {
        names.push_back(target.file);
        std::sort(names.begin(), names.end());
        mode_t mask = umask(0);
        umask(mask);
        fileMode = 0666 & ~mask;
    }
    std::string received;
    std::atomic<bool> readerDone{false};
    std::thread reader;
    // A second name for the FIFO, through which a reader still waiting for a
    // writer is released even when the command replaced the first.
    ScratchFolder spare;
    std::string fifo = spare.File("fifo");
    if (target.delivery == Delivery::ToFifoReader) {
        link(path.c_str(), fifo.c_str());
        reader = std::thread([&] {
            received = ReadFile(path);
            readerDone = true;
        });
    }

    CliRun run = RunCli({"ticket", Ticket, "-o", path}, folder.Path());
    while (reader.joinable() && !readerDone) {
        close(open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (reader.joinable())
        reader.join();
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, target.delivery == Delivery::OnStdout ? ConvertedTicket() : "");
    if (target.delivery == Delivery::ToFifoReader) {
        EXPECT_EQ(received, ConvertedTicket());
    }
    if (kind != 0) {
        EXPECT_EQ(ModeOf(path) & S_IFMT, kind);
    }
    if (target.file) {
        EXPECT_EQ(ReadFile(folder.File(target.file)), ConvertedTicket());
        EXPECT_EQ(ModeOf(folder.File(target.file)), S_IFREG | fileMode);
    }
    EXPECT_EQ(Names(Snapshot(folder)), names); // no temporary file left, no "-" made
}

INSTANTIATE_TEST_SUITE_P(Targets, OutputTargetTest, ::testing::ValuesIn(OutputTargets),
                         [](const auto& info) { return std::string(info.param.name); });

// A case of a run that must leave its -o target and everything else as it was;
// "@" stands for a scratch folder that holds an old result.xml, a ticket the
// plug-in cannot convert, a malformed document, a read-only folder, a
// symbolic link that loops and a device that is always full.
struct OutputFailure {
    const char* name;
    const char* args; // separated by blanks
    int exitCode;
    const char* error; // how standard error starts, after "ptbridge: "
    bool needsUnprivileged = false;
};

const OutputFailure OutputFailures[] = {
    {"DiskFull", "ticket -o @/full", 2, "cannot write '@/full': No space left on device\n"},
    {"MissingFolder", "ticket -o @/missing/result.xml", 2,
     "cannot write '@/missing/result.xml': No such file or directory\n"},
    {"FolderIsAFile", "ticket -o @/result.xml/result.xml", 2,
     "cannot write '@/result.xml/result.xml': Not a directory\n"},
    {"TargetIsAFolder", "ticket -o @/locked", 2, "cannot write '@/locked': Is a directory\n"},
    {"LinkLoop", "ticket -o @/loop.xml", 2,
     "cannot write '@/loop.xml': Too many levels of symbolic links\n"},
    {"UnwritableFolder", "ticket -o @/locked/result.xml", 2,
     "cannot write '@/locked/result.xml': Permission denied\n", true},
    {"ConversionFails", "ticket @/no-feature.xml -o @/result.xml", 1,
     "ConvertDevModeToPrintTicket returned E_FAIL (0x80004005): "},
    {"InputMissing", "ticket @/missing.xml -o @/result.xml", 2,
     "cannot read '@/missing.xml': No such file or directory\n"},
    {"InputMalformed", "devmode @/broken.xml -o @/result.xml", 2, "@/broken.xml:2:"},
};

void PrintTo(const OutputFailure& testCase, std::ostream* out) {
    *out << testCase.name;
}

class OutputFailureTest : public ::testing::TestWithParam<OutputFailure> {};

TEST_P(OutputFailureTest, IsReportedAndLeavesEverythingAsItWas) {
    const OutputFailure& failure = GetParam();
    if (failure.needsUnprivileged && geteuid() == 0)
        GTEST_SKIP() << "root writes into a read-only folder";
    ScratchFolder folder;
    MakeOldFile(folder, "result.xml");
    folder.Write("no-feature.xml", "<psf:PrintTicket xmlns:psf=\"http://schemas.microsoft.com/"
                                   "windows/2003/08/printing/printschemaframework\"/>\n");
    folder.Write("broken.xml", "<?xml version=\"1.0\"?>\n<a></b>\n");
    fs::create_directory(folder.File("locked"));
    MakeOldFile(folder, "locked/result.xml");
    chmod(folder.File("locked").c_str(), 0555);
    fs::create_symlink("loop.xml", folder.File("loop.xml"));
    // /dev/full itself only where a regression cannot replace it.
    struct stat full {};
    stat("/dev/full", &full);
    if (geteuid() != 0 || mknod(folder.File("full").c_str(), S_IFCHR | 0666, full.st_rdev) != 0)
        fs::create_symlink("/dev/full", folder.File("full"));
    std::map<std::string, std::string> before = Snapshot(folder);

    std::vector<std::string> args;
    std::istringstream words(InFolder(failure.args, folder));
    for (std::string word; words >> word;)
        args.push_back(word);
    CliRun run = RunCli(args);
    EXPECT_EQ(run.exitCode, failure.exitCode);
    EXPECT_EQ(run.err.rfind("ptbridge: " + InFolder(failure.error, folder), 0), 0u) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(Snapshot(folder), before);
    chmod(folder.File("locked").c_str(), 0755);
}

INSTANTIATE_TEST_SUITE_P(Failures, OutputFailureTest, ::testing::ValuesIn(OutputFailures),
                         [](const auto& info) { return std::string(info.param.name); });

// Standard output that fails: a full disk is an error, a reader that went away
// ends the command quietly with the status it would have had.
struct StdoutFailure {
    const char* name;
    std::vector<std::string> args;
    bool closedPipe; // else /dev/full
    int exitCode;
    const char* error;
};

const char* const DiskFullError =
    "ptbridge: cannot write standard output: No space left on device\n";

const StdoutFailure StdoutFailures[] = {
    {"TicketToFullDisk", {"ticket"}, false, 2, DiskFullError},
    {"DashToFullDisk", {"ticket", "-o", "-"}, false, 2, DiskFullError},
    {"DiffToFullDisk", {"capabilities", "--diff"}, false, 2, DiskFullError},
    {"InfoToFullDisk", {"info"}, false, 2, DiskFullError},
    {"HelpToFullDisk", {"--help"}, false, 2, DiskFullError},
    {"TicketToClosedPipe", {"ticket"}, true, 0, ""},
    {"InfoToClosedPipe", {"info"}, true, 0, ""},
    {"HelpToClosedPipe", {"--help"}, true, 0, ""},
};

void PrintTo(const StdoutFailure& testCase, std::ostream* out) {
    *out << testCase.name;
}

class StdoutFailureTest : public ::testing::TestWithParam<StdoutFailure> {};

TEST_P(StdoutFailureTest, GivesTheExpectedStatusAndMessage) {
    const StdoutFailure& failure = GetParam();
    ScratchFolder folder; // where a "-o -" taken for a file name would land
    CliStreams fullDisk;
    fullDisk.stdoutPath = "/dev/full";
    CliRun run = failure.closedPipe ? RunCliIntoClosedPipe(failure.args)
                                    : RunCli(failure.args, folder.Path(), fullDisk);
    EXPECT_EQ(run.exitCode, failure.exitCode); // -1 when SIGPIPE ended it
    EXPECT_EQ(run.err, failure.error);
}

INSTANTIATE_TEST_SUITE_P(Streams, StdoutFailureTest, ::testing::ValuesIn(StdoutFailures),
                         [](const auto& info) { return std::string(info.param.name); });

// /proc/self/fd/1 rather than /dev/stdout, the link to it: a regression may
// replace the name it is given.
TEST(CliOutputTest, StandardOutputRedirectedToAFileIsAppendedToNotReplaced) {
    ScratchFolder folder;
    CliStreams redirected;
    redirected.stdoutPath = folder.File("captured.txt");
    CliRun run = RunCli({"ticket", Ticket, "-o", "/proc/self/fd/1", "--diff"}, "", redirected);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::string captured = ReadFile(redirected.stdoutPath);
    EXPECT_EQ(captured.rfind(ConvertedTicket(), 0), 0u) << captured;
    EXPECT_NE(captured.find("\n--- "), std::string::npos) << "the diff is missing";
}

// Root may write anything: the command then runs as nobody.
TEST(CliOutputTest, ATargetTheUserMayNotWriteIsRefusedAsTheShellRefusesIt) {
    ScratchFolder folder;
    chmod(folder.Path().c_str(), 0777); // the folder alone would let the file be replaced
    std::string target = folder.Write("result.xml", "previous content");
    chmod(target.c_str(), 0444);
    std::string program = PTBRIDGE_CLI_PATH;
    std::vector<std::string> args{"ticket", "-o", target};
    if (geteuid() == 0) {
        if (access("/usr/bin/setpriv", X_OK) != 0)
            GTEST_SKIP() << "running as another user needs setpriv";
        args.insert(args.begin(), {"--reuid=65534", "--regid=65534", "--clear-groups", program});
        program = "/usr/bin/setpriv";
    }
    CliRun run = RunProgram(program, args);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "ptbridge: cannot write '" + target + "': Permission denied\n");
    EXPECT_EQ(ReadFile(target), "previous content");
    EXPECT_EQ(folder.Entries().size(), 1u);
}

// Stops the process as soon as a file appears in the folder, while it writes.
void StopOnceWriting(const std::string& folder, pid_t process) {
    int watch = inotify_init1(IN_CLOEXEC);
    inotify_add_watch(watch, folder.c_str(), IN_CREATE);
    pollfd ready{watch, POLLIN, 0};
    if (poll(&ready, 1, 60000) == 1)
        kill(process, SIGSTOP);
    close(watch);
}

TEST(CliOutputTest, AWriteCutShortLeavesNoTemporaryFile) {
    ScratchFolder folder;
    CliRun limited =
        RunProgram("/bin/sh", {"-c", "ulimit -f 1 && exec \"$0\" capabilities -o \"$1\"",
                               PTBRIDGE_CLI_PATH, folder.File("out.xml")});
    EXPECT_EQ(limited.exitCode, 2);
    EXPECT_EQ(limited.err,
              "ptbridge: cannot write '" + folder.File("out.xml") + "': File too large\n");
    EXPECT_TRUE(folder.Entries().empty());

    // Output that takes a while to write, so that the signal comes during it.
    std::string input = folder.Write("in.xml", ReadFile(PTBRIDGE_EXAMPLES_DIR "/capabilities.xml") +
                                                   "<!--" + std::string(8 << 20, 'x') + "-->\n");
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        ScratchFolder output;
        CliStreams streams;
        streams.whileRunning = [&](pid_t process) {
            StopOnceWriting(output.Path(), process);
            kill(process, signal);
            kill(process, SIGCONT);
        };
        CliRun run = RunCli({"capabilities", input, "-o", output.File("out.xml")}, "", streams);
        EXPECT_EQ(run.signal, signal) << run.err;
        for (const std::string& name : output.Entries())
            EXPECT_EQ(name, "out.xml") << "left behind";
    }
}
} // namespace
