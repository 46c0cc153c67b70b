#include "linux/temporary_file.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace ptbridge {

namespace {
const int CleanedSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr size_t SignalCount = sizeof CleanedSignals / sizeof CleanedSignals[0];

// The handler's state: the path is prepared before `armed` is set, with the
// signals blocked, so the handler only calls unlink, sigaction and raise,
// which are async-signal-safe.
char armedPath[PATH_MAX];
volatile sig_atomic_t armed = 0;
struct sigaction previousActions[SignalCount];

extern "C" void RemoveThenEnd(int signal) {
    if (armed)
        unlink(armedPath);
    struct sigaction defaults {};
    defaults.sa_handler = SIG_DFL;
    sigemptyset(&defaults.sa_mask);
    sigaction(signal, &defaults, nullptr);
    // Blocked until the handler returns, then delivered with the default
    // action: the process ends with the signal's status.
    raise(signal);
}

// Blocks the cleaned signals while it lives, so that the file and the
// handler's state change together.
class SignalsBlocked {
  public:
    SignalsBlocked() {
        sigset_t blocked;
        sigemptyset(&blocked);
        for (int signal : CleanedSignals)
            sigaddset(&blocked, signal);
        sigprocmask(SIG_BLOCK, &blocked, &previous_);
    }
    ~SignalsBlocked() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }
    SignalsBlocked(const SignalsBlocked&) = delete;
    SignalsBlocked& operator=(const SignalsBlocked&) = delete;

  private:
    sigset_t previous_;
};

void InstallHandlers() {
    struct sigaction action {};
    action.sa_handler = RemoveThenEnd;
    sigemptyset(&action.sa_mask);
    for (int signal : CleanedSignals)
        sigaddset(&action.sa_mask, signal);
    for (size_t i = 0; i < SignalCount; ++i) {
        sigaction(CleanedSignals[i], nullptr, &previousActions[i]);
        if (previousActions[i].sa_handler != SIG_IGN)
            sigaction(CleanedSignals[i], &action, nullptr);
    }
}

void RestoreHandlers() {
    for (size_t i = 0; i < SignalCount; ++i)
        sigaction(CleanedSignals[i], &previousActions[i], nullptr);
}

// "FOLDER/NAME.XXXXXX" for the target "FOLDER/NAME", NAME cut (at a character
// boundary of UTF-8) so that the new name fits the folder's limit.
std::string TemporaryTemplate(const std::string& target) {
    const std::string Suffix = ".XXXXXX";
    size_t slash = target.rfind('/');
    size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::string folder = slash == std::string::npos ? "." : target.substr(0, nameStart);
    long limit = pathconf(folder.c_str(), _PC_NAME_MAX);
    size_t nameLength = target.size() - nameStart;
    if (limit > static_cast<long>(Suffix.size()) &&
        nameLength + Suffix.size() > static_cast<size_t>(limit)) {
        size_t cut = nameStart + static_cast<size_t>(limit) - Suffix.size();
        while (cut > nameStart && (static_cast<unsigned char>(target[cut]) & 0xC0) == 0x80)
            --cut;
        return target.substr(0, cut) + Suffix;
    }
    return target + Suffix;
}
} // namespace

TemporaryFile::~TemporaryFile() {
    Remove();
}

int TemporaryFile::Create(const std::string& target) {
    Remove();
    std::string name = TemporaryTemplate(target);
    if (name.size() >= sizeof armedPath) {
        errno = ENAMETOOLONG;
        return -1;
    }
    SignalsBlocked blocked;
    std::memcpy(armedPath, name.c_str(), name.size() + 1);
    int descriptor = mkstemp(armedPath);
    if (descriptor < 0)
        return -1;
    InstallHandlers();
    armed = 1;
    exists_ = true;
    return descriptor;
}

bool TemporaryFile::Replace(const std::string& target) {
    SignalsBlocked blocked;
    if (std::rename(armedPath, target.c_str()) != 0)
        return false;
    armed = 0;
    exists_ = false;
    RestoreHandlers();
    return true;
}

void TemporaryFile::Remove() {
    if (!exists_)
        return;
    int savedErrno = errno;
    SignalsBlocked blocked;
    unlink(armedPath);
    armed = 0;
    exists_ = false;
    RestoreHandlers();
    errno = savedErrno;
}

} // namespace ptbridge
