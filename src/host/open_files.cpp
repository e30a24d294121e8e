#include "host/open_files.h"

#include "host/file.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

std::mutex mutex;
std::vector<FILE*> tracked;  // in opening order

}  // namespace

void HostTrackFile(FILE* stream) {
    if (!stream) return;
    std::lock_guard lock(mutex);
    tracked.push_back(stream);
}

int HostFileClose(FILE* stream) {
    if (!stream) return EOF;
    {
        std::lock_guard lock(mutex);
        std::erase(tracked, stream);
    }
    return std::fclose(stream);
}

int HostOpenFileCount() {
    std::lock_guard lock(mutex);
    return int(tracked.size());
}

int HostCloseAllFiles() {
    std::vector<FILE*> open;
    {
        std::lock_guard lock(mutex);
        open.swap(tracked);
    }
    for (FILE* f : open)
        std::fclose(f);
    return int(open.size());
}
