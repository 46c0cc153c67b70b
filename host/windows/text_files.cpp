#include "platform_seams.h"

#include "common/platform.h"
#include "text_encoding.h"
#include "windows/file_handle.h"
#include "windows/windows_error.h"

#include <new>
#include <utility>

namespace ptbridge {

namespace {
std::string SystemError(const std::string& action, const std::string& path, DWORD code) {
    return "cannot " + action + " '" + path + "': " + DescribeWindowsError(code);
}

LPCWSTR Wide(const std::u16string& text) {
    return reinterpret_cast<LPCWSTR>(text.c_str());
}

// Creates a file that did not exist beside `path`, named after it, with the
// given attributes.
HANDLE CreateTemporaryBeside(const std::u16string& path, DWORD attributes,
                             std::u16string* temporary) {
    static unsigned attempt = 0;
    for (int tries = 0; tries < 100; ++tries) {
        std::string suffix = "." + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(GetTickCount()) + "-" + std::to_string(++attempt);
        *temporary = path + std::u16string(suffix.begin(), suffix.end());
        HANDLE handle = CreateFileW(Wide(*temporary), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    attributes, nullptr);
        if (handle != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return handle;
    }
    return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE file, const std::string& text) {
    const char* data = text.data();
    size_t left = text.size();
    while (left > 0) {
        DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr))
            return false;
        data += written;
        left -= written;
    }
    return true;
}

// Writes into an open file that is no disk file (NUL, a console, a pipe) as
// it is: such a file is never replaced or created.
bool WriteInPlace(FileHandle& file, const std::string& text, const std::string& path,
                  std::string* error) {
    bool written = WriteAll(file.Get(), text);
    DWORD writeError = GetLastError();
    if (!file.Close() && written) {
        written = false;
        writeError = GetLastError();
    }
    if (!written)
        *error = SystemError("write", path, writeError);
    return written;
}

// The full path of an open disk file, after every link on the way, and the
// attributes that its replacement takes over.
bool DescribeDiskFile(HANDLE file, std::u16string* finalPath, DWORD* attributes) {
    const DWORD Kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                       FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(file, &information))
        return false;
    *attributes = information.dwFileAttributes & Kept;
    if (*attributes == 0)
        *attributes = FILE_ATTRIBUTE_NORMAL;
    DWORD size = GetFinalPathNameByHandleW(file, nullptr, 0, FILE_NAME_NORMALIZED);
    if (size == 0)
        return false;
    std::u16string buffer(size, u'\0');
    DWORD length = GetFinalPathNameByHandleW(file, reinterpret_cast<LPWSTR>(&buffer[0]), size,
                                             FILE_NAME_NORMALIZED);
    if (length == 0 || length >= size)
        return false;
    buffer.resize(length);
    *finalPath = std::move(buffer);
    return true;
}

// Replaces the disk file `file` through a temporary file beside it that is
// moved over it once complete and on disk. Errors name
// `shownPath`, the path as the user gave it.
bool ReplaceAtomically(const std::u16string& file, DWORD attributes, const std::string& text,
                       const std::string& shownPath, std::string* error) {
    std::u16string temporary;
    FileHandle output(CreateTemporaryBeside(file, attributes, &temporary));
    if (!output.Valid()) {
        *error = SystemError("write", shownPath, GetLastError());
        return false;
    }
    bool written = WriteAll(output.Get(), text) && FlushFileBuffers(output.Get());
    DWORD writeError = GetLastError();
    if (!output.Close() && written) {
        written = false;
        writeError = GetLastError();
    }
    if (written && !MoveFileExW(Wide(temporary), Wide(file),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        written = false;
        writeError = GetLastError();
    }
    if (!written) {
        DeleteFileW(Wide(temporary));
        *error = SystemError("write", shownPath, writeError);
        return false;
    }
    return true;
}
} // namespace

bool WriteOutputFile(const std::string& path, const std::string& text, std::string* error) {
    if (path == "-") {
        WriteStandardOutput(text);
        return true;
    }
    std::u16string widePath;
    if (!Utf16FromUtf8(path, &widePath)) {
        *error = "cannot write '" + path + "': the path is not UTF-8";
        return false;
    }
    // Opened through any link, or created empty where nothing is yet (also at
    // the end of a dangling link): the handle tells what kind of file is
    // there, and where it is.
    FileHandle target(CreateFileW(Wide(widePath), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!target.Valid()) {
        *error = SystemError("write", path, GetLastError());
        return false;
    }
    bool created = GetLastError() != ERROR_ALREADY_EXISTS;
    if (GetFileType(target.Get()) != FILE_TYPE_DISK)
        return WriteInPlace(target, text, path, error);
    std::u16string finalPath;
    DWORD attributes = 0;
    if (!DescribeDiskFile(target.Get(), &finalPath, &attributes)) {
        *error = SystemError("write", path, GetLastError());
        return false;
    }
    target.Close();
    if (ReplaceAtomically(finalPath, attributes, text, path, error))
        return true;
    if (created)
        DeleteFileW(Wide(finalPath));
    return false;
}

} // namespace ptbridge
