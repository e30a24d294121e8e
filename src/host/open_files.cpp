#include "host/open_files.h"

#include "host/file.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

std::mutex mutex;
struct TrackedFile {
    FILE* stream;
    const void* cookie;
};
std::vector<TrackedFile> tracked;  // in opening order

}  // namespace

void HostTrackFile(FILE* stream, const void* cookie) {
    if (!stream) return;
    std::lock_guard lock(mutex);
    tracked.push_back({stream, cookie});
}

int HostFileClose(FILE* stream) {
    if (!stream) return EOF;
    {
        std::lock_guard lock(mutex);
        std::erase_if(tracked, [stream](const TrackedFile& t) { return t.stream == stream; });
    }
    return std::fclose(stream);
}

int HostOpenFileCount() {
    std::lock_guard lock(mutex);
    return int(tracked.size());
}

int HostCloseAllFiles() {
    std::vector<TrackedFile> open;
    {
        std::lock_guard lock(mutex);
        open.swap(tracked);
    }
    for (const TrackedFile& f : open)
        std::fclose(f.stream);
    return int(open.size());
}
