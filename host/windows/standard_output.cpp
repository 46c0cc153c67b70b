#include "platform_seams.h"

#include "cli_commands.h"
#include "windows/windows_error.h"

#include "common/platform.h"

#include <cstdio>
#include <cstdlib>

namespace ptbridge {

namespace {
// The error of the first failed write, ERROR_SUCCESS while none failed.
DWORD writeError = ERROR_SUCCESS;

bool ReaderWentAway(DWORD error) {
    return error == ERROR_BROKEN_PIPE || error == ERROR_NO_DATA;
}
} // namespace

// WriteFile on the standard output handle: bytes go out as they are, with no
// line-end translation, whether the handle is a console, a pipe or a file.
void WriteStandardOutput(const std::string& text) {
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    const char* data = text.data();
    size_t left = text.size();
    while (left > 0 && writeError == ERROR_SUCCESS) {
        DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(output, data, chunk, &written, nullptr)) {
            writeError = GetLastError();
            break;
        }
        data += written;
        left -= written;
    }
}

int FinishStandardOutput(int status) {
    if (std::fflush(stdout) != 0 && writeError == ERROR_SUCCESS)
        writeError = _doserrno != 0 ? static_cast<DWORD>(_doserrno) : ERROR_WRITE_FAULT;
    if (writeError == ERROR_SUCCESS || ReaderWentAway(writeError))
        return status;
    std::fprintf(stderr, "ptbridge: cannot write standard output: %s\n",
                 DescribeWindowsError(writeError).c_str());
    return ExitUsageOrInput;
}

} // namespace ptbridge
