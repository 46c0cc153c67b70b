#include "platform_seams.h"

#include "linux/temporary_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace ptbridge {

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

// Gives the new file the old one's owner and group, as far as allowed: only
// root may give a file away, and others may only pick a group of their own.
bool KeepOwnerAndGroup(int descriptor, const struct stat& old) {
    return fchown(descriptor, old.st_uid, old.st_gid) == 0 ||
           fchown(descriptor, static_cast<uid_t>(-1), old.st_gid) == 0;
}

// Whether `target` is the file standard output already goes to (/dev/stdout,
// or a file the shell redirected it to): the text is then appended there
// rather than put in a new file that replaces it.
bool IsStandardOutput(const struct stat& target) {
    struct stat output;
    return fstat(STDOUT_FILENO, &output) == 0 && output.st_dev == target.st_dev &&
           output.st_ino == target.st_ino;
}

// Writes into an existing file that is no regular file (a device, a FIFO), as
// it is: never created, truncated or replaced.
bool WriteInPlace(const std::string& path, const std::string& text, std::string* error) {
    int descriptor = open(path.c_str(), O_WRONLY | O_NOCTTY);
    if (descriptor < 0) {
        *error = SystemError("write", path, errno);
        return false;
    }
    bool written = WriteAll(descriptor, text);
    int writeError = errno;
    if (close(descriptor) != 0 && written) {
        written = false;
        writeError = errno;
    }
    if (!written)
        *error = SystemError("write", path, writeError);
    return written;
}

// The name a chain of symbolic links ends at, which need not exist yet (a
// dangling link): `path` itself when it is no link. A relative link counts
// from the link's own folder.
bool FollowLinks(const std::string& path, std::string* file, std::string* error) {
    const int MaxLinks = 40; // as the kernel's own limit
    std::filesystem::path current = path;
    for (int links = 0; links < MaxLinks; ++links) {
        std::error_code failure;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, failure))) {
            *file = current.string();
            return true;
        }
        std::filesystem::path target = std::filesystem::read_symlink(current, failure);
        if (failure) {
            *error = SystemError("write", path, failure.value());
            return false;
        }
        current = current.parent_path() / target;
    }
    *error = SystemError("write", path, ELOOP);
    return false;
}

// Replaces the regular file `file`, or creates it, through a temporary file
// beside it that is renamed over it once complete and on disk. `existing` is
// the old file's status, null when there is none. Errors name `shownPath`, the
// path as the user gave it.
bool ReplaceAtomically(const std::string& file, const struct stat* existing,
                       const std::string& text, const std::string& shownPath, std::string* error) {
    TemporaryFile temporary;
    int descriptor = temporary.Create(file);
    if (descriptor < 0) {
        *error = SystemError("write", shownPath, errno);
        return false;
    }
    // Before the mode: a change of owner clears the set-user-ID and set-group-ID bits.
    if (existing)
        KeepOwnerAndGroup(descriptor, *existing);
    mode_t mode = existing ? existing->st_mode & 07777 : NewFileMode();
    bool written =
        fchmod(descriptor, mode) == 0 && WriteAll(descriptor, text) && fsync(descriptor) == 0;
    int writeError = errno;
    if (close(descriptor) != 0 && written) {
        written = false;
        writeError = errno;
    }
    if (written && !temporary.Replace(file)) {
        written = false;
        writeError = errno;
    }
    if (!written) {
        temporary.Remove();
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
    struct stat target;
    bool exists = stat(path.c_str(), &target) == 0;
    if (!exists && errno != ENOENT) {
        *error = SystemError("write", path, errno);
        return false;
    }
    if (exists && IsStandardOutput(target)) {
        WriteStandardOutput(text);
        return true;
    }
    if (exists && !S_ISREG(target.st_mode))
        return WriteInPlace(path, text, error);
    std::string file;
    if (!FollowLinks(path, &file, error))
        return false;
    // Replacing needs only the folder's permission; the file's own is kept
    // as the shell's ">" keeps it.
    if (exists && faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) != 0) {
        *error = SystemError("write", path, errno);
        return false;
    }
    return ReplaceAtomically(file, exists ? &target : nullptr, text, path, error);
}

} // namespace ptbridge
