#include "host/open_files.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <mutex>
#include <vector>

// The C library's list of every open stream (glibc). A stream that was closed leaves it, so a
// remembered pointer is only touched while it is on the list.
extern "C" {
void* _IO_iter_begin();
void* _IO_iter_end();
void* _IO_iter_next(void* iterator);
FILE* _IO_iter_file(void* iterator);
void _IO_list_lock();
void _IO_list_unlock();
}

namespace {

struct Tracked {
    FILE* stream;
    int fd;
    dev_t device;
    ino_t inode;
};

std::mutex mutex;
std::vector<Tracked> tracked;

// The descriptor still names the file it named at opening.
bool same_file(const Tracked& t) {
    struct stat st;
    return fcntl(t.fd, F_GETFD) != -1 && fstat(t.fd, &st) == 0 && st.st_dev == t.device &&
           st.st_ino == t.inode;
}

// The remembered streams that are still open, in opening order. The stream must still be on
// the library's list and its descriptor must still lead to its file: a closed stream whose
// memory or descriptor was reused by somebody else's open is not ours any more.
std::vector<FILE*> open_streams() {
    std::vector<FILE*> on_list;
    _IO_list_lock();
    for (void* i = _IO_iter_begin(); i != _IO_iter_end(); i = _IO_iter_next(i))
        on_list.push_back(_IO_iter_file(i));
    _IO_list_unlock();
    std::vector<FILE*> open;
    std::erase_if(tracked, [&](const Tracked& t) {
        bool live =
            std::find(on_list.begin(), on_list.end(), t.stream) != on_list.end() && same_file(t);
        if (live) open.push_back(t.stream);
        return !live;
    });
    return open;
}

}  // namespace

void HostTrackFile(FILE* stream, int fd) {
    struct stat st;
    if (!stream || fstat(fd, &st) != 0) return;
    std::lock_guard lock(mutex);
    // A descriptor or stream seen again belongs to the new stream: the old one was closed.
    std::erase_if(tracked, [&](const Tracked& t) {
        return t.fd == fd || t.stream == stream || !same_file(t);
    });
    tracked.push_back({stream, fd, st.st_dev, st.st_ino});
}

int HostOpenFileCount() {
    std::lock_guard lock(mutex);
    return int(open_streams().size());
}

int HostCloseAllFiles() {
    std::lock_guard lock(mutex);
    std::vector<FILE*> open = open_streams();
    for (FILE* f : open)
        std::fclose(f);
    tracked.clear();
    return int(open.size());
}
