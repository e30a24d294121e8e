#include "host/file.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

// Windows text mode. A stream that only writes ("w", "a") sends its text straight to the
// file, LF as CR LF. A stream that reads ("r" and the update modes) holds the file's text in
// memory as the reader sees it (CR LF as LF, ending at Ctrl-Z): its positions count those
// characters, so the C library's buffering, seeks and ftell agree with what is read. What an
// update stream writes goes back to the file, LF as CR LF, when it is closed.

struct WriteStream {
    FILE* file;
};

ssize_t write_stream_write(void* cookie, const char* buffer, size_t size) {
    auto* s = static_cast<WriteStream*>(cookie);
    for (size_t i = 0; i < size; ++i) {
        if (buffer[i] == '\n' && std::fputc('\r', s->file) == EOF) return i ? ssize_t(i) : -1;
        if (std::fputc(buffer[i], s->file) == EOF) return i ? ssize_t(i) : -1;
    }
    // The text stream buffers already; pass each chunk on so a flush reaches the file.
    if (std::fflush(s->file) != 0) return -1;
    return ssize_t(size);
}

int write_stream_seek(void* cookie, off64_t* offset, int whence) {
    auto* s = static_cast<WriteStream*>(cookie);
    if (std::fseek(s->file, long(*offset), whence) != 0) return -1;
    *offset = std::ftell(s->file);
    return 0;
}

int write_stream_close(void* cookie) {
    auto* s = static_cast<WriteStream*>(cookie);
    int result = std::fclose(s->file);
    delete s;
    return result;
}

struct MemoryStream {
    FILE* file;
    std::string text;
    size_t position = 0;
    bool append = false;  // writes go to the end; the file keeps what it held
    size_t kept = 0;      // length of the text the file held when opened for appending
    bool dirty = false;
};

std::string read_text(FILE* file) {
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;) {
        if (c == 0x1A) break;
        if (c == '\r') {
            int next = std::fgetc(file);
            if (next == '\n')
                c = '\n';
            else if (next != EOF)
                std::ungetc(next, file);
        }
        text += char(c);
    }
    return text;
}

ssize_t memory_read(void* cookie, char* buffer, size_t size) {
    auto* s = static_cast<MemoryStream*>(cookie);
    size_t n = s->position < s->text.size() ? std::min(size, s->text.size() - s->position) : 0;
    std::memcpy(buffer, s->text.data() + s->position, n);
    s->position += n;
    return ssize_t(n);
}

ssize_t memory_write(void* cookie, const char* buffer, size_t size) {
    auto* s = static_cast<MemoryStream*>(cookie);
    if (s->append) s->position = s->text.size();
    if (s->position > s->text.size()) s->text.resize(s->position, '\0');
    s->text.replace(s->position, std::min(size, s->text.size() - s->position), buffer, size);
    s->position += size;
    s->dirty = true;
    return ssize_t(size);
}

int memory_seek(void* cookie, off64_t* offset, int whence) {
    auto* s = static_cast<MemoryStream*>(cookie);
    off64_t base = whence == SEEK_CUR   ? off64_t(s->position)
                   : whence == SEEK_END ? off64_t(s->text.size())
                                        : 0;
    if (base + *offset < 0) return -1;
    s->position = size_t(base + *offset);
    *offset = off64_t(s->position);
    return 0;
}

int memory_close(void* cookie) {
    auto* s = static_cast<MemoryStream*>(cookie);
    int result = 0;
    if (s->dirty) {
        // Appending adds the new text to the file; the other modes write the whole text anew.
        size_t from = s->append ? s->kept : 0;
        if (!s->append) std::rewind(s->file);
        long written = 0;
        for (size_t i = from; i < s->text.size(); ++i) {
            if (s->text[i] == '\n') {
                std::fputc('\r', s->file);
                ++written;
            }
            std::fputc(s->text[i], s->file);
            ++written;
        }
        if (std::fflush(s->file) != 0) result = EOF;
        if (!s->append && ftruncate(fileno(s->file), written) != 0) result = EOF;
    }
    if (std::fclose(s->file) != 0) result = EOF;
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
        HostTrackFile(file);
        return file;
    }
    bool reads = base[0] == 'r' || base.find('+') != std::string::npos;
    FILE* text;
    const void* cookie;
    if (reads) {
        std::rewind(file);
        auto* stream = new MemoryStream{file, read_text(file)};
        stream->append = base[0] == 'a';
        stream->kept = stream->text.size();
        cookie_io_functions_t io = {memory_read, memory_write, memory_seek, memory_close};
        text = fopencookie(stream, base.c_str(), io);
        if (!text) delete stream;
        cookie = stream;
    } else {
        auto* stream = new WriteStream{file};
        cookie_io_functions_t io = {nullptr, write_stream_write, write_stream_seek,
                                    write_stream_close};
        text = fopencookie(stream, base.c_str(), io);
        if (!text) delete stream;
        cookie = stream;
    }
    if (!text) {
        std::fclose(file);
        return nullptr;
    }
    HostTrackFile(text, cookie);
    return text;
}
