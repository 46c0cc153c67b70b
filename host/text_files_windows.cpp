#include "text_files.h"

#include "common/platform.h"
#include "text_encoding.h"
#include "windows_error.h"

namespace {
std::string SystemError(const std::string& action, const std::string& path, DWORD code) {
    return "cannot " + action + " '" + path + "': " + DescribeWindowsError(code);
}

// Owns a file handle.
class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    bool Close() {
        HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle == INVALID_HANDLE_VALUE || CloseHandle(handle);
    }

  private:
    HANDLE handle_;
};

LPCWSTR Wide(const std::u16string& text) {
    return reinterpret_cast<LPCWSTR>(text.c_str());
}

// Creates a file that did not exist beside `path`, named after it.
HANDLE CreateTemporaryBeside(const std::u16string& path, std::u16string* temporary) {
    static unsigned attempt = 0;
    for (int tries = 0; tries < 100; ++tries) {
        std::string suffix = "." + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(GetTickCount()) + "-" + std::to_string(++attempt);
        *temporary = path + std::u16string(suffix.begin(), suffix.end());
        HANDLE handle = CreateFileW(Wide(*temporary), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
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
} // namespace

bool ReadTextFile(const std::string& path, std::string* text, std::string* error) {
    std::u16string widePath;
    if (!Utf16FromUtf8(path, &widePath)) {
        *error = "cannot read '" + path + "': the path is not UTF-8";
        return false;
    }
    FileHandle file(CreateFileW(Wide(widePath), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        *error = SystemError("read", path, GetLastError());
        return false;
    }
    std::string content;
    char buffer[8192];
    for (;;) {
        DWORD count = 0;
        if (!ReadFile(file.Get(), buffer, sizeof buffer, &count, nullptr)) {
            *error = SystemError("read", path, GetLastError());
            return false;
        }
        if (count == 0)
            break;
        content.append(buffer, count);
    }
    *text = std::move(content);
    return true;
}

bool WriteFileAtomically(const std::string& path, const std::string& text, std::string* error) {
    std::u16string widePath;
    if (!Utf16FromUtf8(path, &widePath)) {
        *error = "cannot write '" + path + "': the path is not UTF-8";
        return false;
    }
    std::u16string temporary;
    FileHandle file(CreateTemporaryBeside(widePath, &temporary));
    if (!file.Valid()) {
        *error = SystemError("write", path, GetLastError());
        return false;
    }
    bool written = WriteAll(file.Get(), text) && FlushFileBuffers(file.Get());
    DWORD writeError = GetLastError();
    if (!file.Close() && written) {
        written = false;
        writeError = GetLastError();
    }
    if (written && !MoveFileExW(Wide(temporary), Wide(widePath),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        written = false;
        writeError = GetLastError();
    }
    if (!written) {
        DeleteFileW(Wide(temporary));
        *error = SystemError("write", path, writeError);
        return false;
    }
    return true;
}
