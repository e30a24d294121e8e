#include "host/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
constexpr const char* kLockFile = ".noma.lock";
int lock_fd = -1;
}  // namespace

bool HostLockInstance() {
    if (lock_fd >= 0) return true;
    int fd = open(kLockFile, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    // A folder we cannot write in cannot hold the lock; the copy runs unguarded then.
    if (fd < 0) return true;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    lock_fd = fd;
    return true;
}
