#include "text_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string SystemError(const std::string& action, const std::string& path, int code) {
    return "cannot " + action + " '" + path + "': " + std::strerror(code);
}

bool WriteAll(int descriptor, const std::string& text) {
    const char* data = text.data();
    size_t left = text.size();
    while (left > 0) {
        ssize_t written = write(descriptor, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    return true;
}

// Mode a newly created file gets from the process's umask.
mode_t NewFileMode() {
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}
} // namespace

bool ReadTextFile(const std::string& path, std::string* text, std::string* error) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        *error = SystemError("read", path, errno);
        return false;
    }
    std::string content;
    char buffer[8192];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        content.append(buffer, count);
    int readError = std::ferror(file) ? errno : 0;
    std::fclose(file);
    if (readError != 0) {
        *error = SystemError("read", path, readError);
        return false;
    }
    *text = std::move(content);
    return true;
}

bool WriteFileAtomically(const std::string& path, const std::string& text, std::string* error) {
    std::string temporary = path + ".XXXXXX";
    int descriptor = mkstemp(&temporary[0]);
    if (descriptor < 0) {
        *error = SystemError("write", path, errno);
        return false;
    }
    bool written = fchmod(descriptor, NewFileMode()) == 0 && WriteAll(descriptor, text) &&
                   fsync(descriptor) == 0;
    int writeError = errno;
    if (close(descriptor) != 0 && written) {
        written = false;
        writeError = errno;
    }
    if (written && std::rename(temporary.c_str(), path.c_str()) != 0) {
        written = false;
        writeError = errno;
    }
    if (!written) {
        unlink(temporary.c_str());
        *error = SystemError("write", path, writeError);
        return false;
    }
    return true;
}
