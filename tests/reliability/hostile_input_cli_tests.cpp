// Input files the ptbridge command cannot use: each is reported on one line of
// stderr, without control characters, with exit status 2; nothing is written.
#include "cli_runner.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <random>

namespace {
struct BadInput {
    std::string description;
    std::string path;
    std::string mention; // a part of the message
};

// Bytes from a fixed seed, so that a failure can be reproduced.
std::string Garbage(const std::string& start, size_t length, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes = start;
    while (bytes.size() < length)
        bytes += static_cast<char>(generator() & 0xFF);
    return bytes;
}

std::string Nested(int levels) {
    std::string text;
    for (int i = 0; i < levels; ++i)
        text += "<a>";
    for (int i = 0; i < levels; ++i)
        text += "</a>";
    return text;
}

void ExpectOneLineRefusal(const BadInput& input) {
    SCOPED_TRACE(input.description);
    for (const char* command : {"ticket", "capabilities", "devmode"}) {
        ScratchFolder output;
        CliRun run = RunCli({command, input.path, "-o", output.File("out.xml")});
        EXPECT_EQ(run.exitCode, 2) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(output.Entries().empty()) << "an output file was written";
        ASSERT_FALSE(run.err.empty());
        EXPECT_EQ(run.err.rfind("ptbridge: ", 0), 0u) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "not one line: " << run.err;
        for (char c : run.err.substr(0, run.err.size() - 1))
            EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
                << "control character " << int(c) << " in " << run.err;
        EXPECT_NE(run.err.find(input.mention), std::string::npos) << run.err;
    }
}

TEST(HostileInputCliTest, UnusableFilesAreRefusedOnOneLine) {
    ScratchFolder folder;
    const std::vector<BadInput> inputs = {
        {"an empty file", folder.Write("empty.xml", ""), "empty.xml is empty"},
        {"binary garbage", folder.Write("garbage.bin", Garbage("", 4096, 1)), "XML error"},
        {"garbage after a start tag", folder.Write("tag.xml", Garbage("<a>", 4096, 2)),
         "XML error"},
        {"bytes that are not UTF-8", folder.Write("latin.xml", "<a>\xFF\xFE</a>"),
         "latin.xml:1:4: XML error: bytes that are not UTF-8"},
        // libxml2 describes these outside the parser too; only the parser's
        // report may reach the user.
        {"UTF-16 with an unpaired surrogate",
         folder.Write("utf16.xml", std::string("\xFF\xFE<\0a\0>\0\0\xD8\0\0<\0/\0a\0>\0", 20)),
         "utf16.xml:1:4: XML error: an unpaired UTF-16 surrogate"},
        {"bytes the declared encoding cannot decode",
         folder.Write("jis.xml",
                      "<?xml version=\"1.0\" encoding=\"ISO-2022-JP\"?><a>\x1B$B\xFF\xFF</a>"),
         "jis.xml:1:"},
        {"a control character in an attribute", folder.Write("escape.xml", "<a b=\"\x1B[31m\"/>"),
         "escape.xml:1:"},
        {"10000 levels of nesting", folder.Write("deep.xml", Nested(10000)),
         "deeper than 256 levels"},
        {"a directory", folder.Path(), "cannot read '" + folder.Path() + "': Is a directory"},
        // Reading fails even for root: nothing is mapped at offset 0.
        {"a file that cannot be read", "/proc/self/mem",
         "cannot read '/proc/self/mem': Input/output error"},
        {"a name with a line break", folder.File("two\nlines.xml"), "No such file"},
    };
    for (const BadInput& input : inputs)
        ExpectOneLineRefusal(input);
}

// Memory that runs out while the input is read, parsed or converted is
// reported like any unusable input, never by the process dying.
TEST(HostileInputCliTest, RunningOutOfMemoryIsRefusedOnOneLine) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer's own reservations do not fit under an address-space limit";
#endif
    ScratchFolder folder;
    std::string path =
        folder.Write("text.xml", "<a>" + std::string(32 * 1024 * 1024, 'x') + "</a>");
    for (int megabytes : {64, 96, 128, 160, 256}) {
        SCOPED_TRACE(std::to_string(megabytes) + " MB of address space");
        CliRun run = RunProgram("/bin/sh", {"-c",
                                            "ulimit -v " + std::to_string(megabytes * 1024) +
                                                " && exec \"$0\" ticket \"$1\" -o \"$2\"",
                                            PTBRIDGE_CLI_PATH, path, folder.File("out.xml")});
        EXPECT_EQ(run.exitCode, 2) << run.err;
        EXPECT_EQ(run.err.rfind("ptbridge: ", 0), 0u) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "not one line: " << run.err;
    }
}

TEST(HostileInputCliTest, AFileWithoutReadPermissionIsRefusedOnOneLine) {
    ScratchFolder folder;
    std::string path = folder.Write("locked.xml", "<a/>");
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    if (access(path.c_str(), R_OK) == 0)
        GTEST_SKIP() << "permissions do not stop this user from reading";
    ExpectOneLineRefusal({"no read permission", path, "Permission denied"});
}
} // namespace
