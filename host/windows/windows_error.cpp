#include "windows/windows_error.h"

#include "text_encoding.h"

namespace ptbridge {

std::string DescribeWindowsError(DWORD code) {
    WCHAR* buffer = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::string message;
    if (length)
        message = Utf8FromUtf16(std::u16string(reinterpret_cast<const char16_t*>(buffer), length));
    LocalFree(buffer);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.'))
        message.pop_back();
    std::string number = "error " + std::to_string(code);
    return message.empty() ? number : message + " (" + number + ")";
}

} // namespace ptbridge
