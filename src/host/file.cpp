#include "host/file.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/open_files.h"
#include "host/sjis.h"

namespace {

bool exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

bool same_ignoring_ascii_case(const std::string& a, const char* b) {
    size_t n = std::strlen(b);
    if (a.size() != n) return false;
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x += 32;
        if (y >= 'A' && y <= 'Z') y += 32;
        if (x != y) return false;
    }
    return true;
}

// Replaces "\" by "/" outside double-byte characters, so the trail byte 0x5C of 表 stays.
std::string slashes(const char* name) {
    std::string out;
    for (size_t i = 0; name[i]; ++i) {
        unsigned char b = name[i];
        if (IsSjisLead(b) && name[i + 1]) {
            out += name[i];
            out += name[++i];
        } else {
            out += b == '\\' ? '/' : char(b);
        }
    }
    return out;
}

// Text-mode stream over a binary one.
struct TextStream {
    FILE* file;
    bool ended = false;  // Ctrl-Z seen
};

ssize_t text_read(void* cookie, char* buffer, size_t size) {
    auto* s = static_cast<TextStream*>(cookie);
    size_t n = 0;
    while (n < size && !s->ended) {
        int c = std::fgetc(s->file);
        if (c == EOF) break;
        if (c == 0x1A) {
            s->ended = true;
            break;
        }
        if (c == '\r') {
            int next = std::fgetc(s->file);
            if (next == '\n') {
                c = '\n';
            } else if (next != EOF) {
                std::ungetc(next, s->file);
            }
        }
        buffer[n++] = char(c);
    }
    return ssize_t(n);
}

ssize_t text_write(void* cookie, const char* buffer, size_t size) {
    auto* s = static_cast<TextStream*>(cookie);
    for (size_t i = 0; i < size; ++i) {
        if (buffer[i] == '\n' && std::fputc('\r', s->file) == EOF) return i ? ssize_t(i) : -1;
        if (std::fputc(buffer[i], s->file) == EOF) return i ? ssize_t(i) : -1;
    }
    // The text stream buffers already; pass each chunk on so a flush reaches the file.
    if (std::fflush(s->file) != 0) return -1;
    return ssize_t(size);
}

int text_seek(void* cookie, off64_t* offset, int whence) {
    auto* s = static_cast<TextStream*>(cookie);
    if (std::fseek(s->file, long(*offset), whence) != 0) return -1;
    s->ended = false;
    *offset = std::ftell(s->file);
    return 0;
}

int text_close(void* cookie) {
    auto* s = static_cast<TextStream*>(cookie);
    int result = std::fclose(s->file);
    delete s;
    return result;
}

}  // namespace

std::string HostResolvePath(const char* name) {
    std::string path = SjisToUtf8(slashes(name));
    if (path.empty() || exists(path)) return path;
    // Walk the components; a component that does not exist as written is looked up in its
    // folder ignoring ASCII case.
    std::string resolved = path[0] == '/' ? "/" : "";
    size_t pos = path[0] == '/' ? 1 : 0;
    while (pos <= path.size()) {
        size_t slash = path.find('/', pos);
        if (slash == std::string::npos) slash = path.size();
        std::string part = path.substr(pos, slash - pos);
        pos = slash + 1;
        if (part.empty()) continue;
        std::string candidate = resolved + part;
        if (!exists(candidate)) {
            DIR* dir = opendir(resolved.empty() ? "." : resolved.c_str());
            if (dir) {
                while (dirent* entry = readdir(dir)) {
                    if (same_ignoring_ascii_case(part, entry->d_name)) {
                        candidate = resolved + entry->d_name;
                        break;
                    }
                }
                closedir(dir);
            }
        }
        resolved = candidate;
        if (slash < path.size()) resolved += '/';
    }
    return resolved;
}

FILE* HostFileOpen(const char* name, const char* mode) {
    if (!name || !mode || !name[0]) return nullptr;
    std::string path = HostResolvePath(name);
    bool binary = std::strchr(mode, 'b') != nullptr;
    std::string base;  // the mode without t and b
    for (const char* m = mode; *m; ++m)
        if (*m != 't' && *m != 'b') base += *m;
    FILE* file = std::fopen(path.c_str(), (base + "b").c_str());
    if (!file) return nullptr;
    if (binary) {
        HostTrackFile(file, fileno(file));
        return file;
    }
    auto* stream = new TextStream{file};
    cookie_io_functions_t io = {text_read, text_write, text_seek, text_close};
    FILE* text = fopencookie(stream, base.c_str(), io);
    if (!text) {
        std::fclose(file);
        delete stream;
        return nullptr;
    }
    HostTrackFile(text, fileno(file));
    return text;
}
