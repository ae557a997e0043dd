// The named mutex as an advisory lock on a file that only the user can reach: the kernel
// drops the lock when the process ends, also when it is killed, so a crashed copy never
// blocks the next start.
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "platform/Kernel.h"

namespace win {

namespace {

MutexOutcome g_lastOutcome = MutexOutcome::NotCreated;

// A directory that only this user can enter: nobody else can plant, replace or hold a lock
// file in it.
bool IsPrivateDirectory(const std::string& path, std::string& reason) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        reason = "not a directory";
    } else if (info.st_uid != geteuid()) {
        reason = "owned by another user";
    } else if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        reason = "other users have access to it";
    } else {
        return true;
    }
    return false;
}

// The place follows from the user alone, so that every copy the user starts finds the lock,
// whatever its environment: cron and remote shells have no XDG_RUNTIME_DIR, or another one.
// It is the user's runtime directory /run/user/<uid> when that is the user's own and private;
// otherwise a directory of the user's own in /tmp, made private if it is new. Tests, which run
// side by side, give each run a place of its own with RXT9_LOCK_DIR: the user's directory is
// then made in it. Empty when no place can be had, with the reason.
std::string LockDirectory(std::string& reason) {
    const std::string user = std::to_string(geteuid());
    const char* testPlace = std::getenv("RXT9_LOCK_DIR");
    const bool forTests = testPlace != nullptr && *testPlace == '/';
    std::string runtime = "/run/user/" + user;
    std::string ignored;
    if (!forTests && IsPrivateDirectory(runtime, ignored)) {
        return runtime;
    }
    std::string own = (forTests ? std::string(testPlace) : "/tmp") + "/rxt9-update-" + user;
    if (mkdir(own.c_str(), 0700) != 0 && errno != EEXIST) {
        reason = own + ": " + std::strerror(errno);
        return "";
    }
    if (!IsPrivateDirectory(own, reason)) {
        reason = own + ": " + reason;
        return "";
    }
    return own;
}

HANDLE Fail(const std::string& what) {
    std::cerr << std::string(program_invocation_short_name) +
                     ": cannot take the single-instance lock: " + what + '\n';
    g_lastOutcome = MutexOutcome::Failed;
    SetLastError(ERROR_GEN_FAILURE);
    return 0;
}

}  // namespace

HANDLE CreateMutexA(const void* /*securityAttributes*/, BOOL /*initialOwner*/, LPCSTR name) {
    std::string reason;
    const std::string directory = LockDirectory(reason);
    if (directory.empty()) {
        return Fail(reason);
    }
    const std::string path = directory + "/" + name + "." + std::to_string(geteuid()) + ".lock";
    // Never through a link: the lock is this file, not whatever a link points to.
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd >= 0 && fd <= STDERR_FILENO) {
        // With a standard stream closed the lock would get its descriptor, which the file
        // calls do not reach; keep it clear of them.
        const int moved = fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
        close(fd);
        fd = moved;
    }
    if (fd < 0) {
        return Fail(path + ": " + std::strerror(errno));
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) {
            g_lastOutcome = MutexOutcome::HeldElsewhere;
            SetLastError(ERROR_ALREADY_EXISTS);
            return fd;
        }
        const std::string failure = path + ": " + std::strerror(errno);
        close(fd);
        return Fail(failure);
    }
    g_lastOutcome = MutexOutcome::Owned;
    SetLastError(ERROR_SUCCESS);
    return fd;
}

MutexOutcome LastMutexOutcome() {
    return g_lastOutcome;
}

}  // namespace win
