#include "host/services.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>

#include "host/clock.h"
#include "host/file.h"
#include "host/input.h"
#include "host/message_box.h"
#include "host/program_thread.h"
#include "host/sjis.h"

namespace {

std::mutex title_lock;
std::string title_utf8;
bool title_changed = false;

bool is_separator(char c) {
    return c == ' ' || c == ';' || c == ',' || c == '=' || c == '+' || c == '-' || c == '/' ||
           c == '*';
}

uint32_t channel(uint32_t colour, int shift) {
    return (colour >> shift) & 0xFF;
}

}  // namespace

uint16_t HostSleep() {
    HostClockSleep(10);
    HostServiceProgramThread(PollPoint::Wait);
    return HostPollMouseButtons();
}

int HostFileTime(const char* path, char* text) {
    FILE* file = HostFileOpen(path, "rb");
    struct stat st;
    if (!file || fstat(fileno(file), &st) != 0) {
        if (file) HostFileClose(file);
        HostMessageBox(path);
        return 0;
    }
    HostFileClose(file);
    std::tm tm{};
    time_t seconds = st.st_mtime;
    localtime_r(&seconds, &tm);
    std::sprintf(text, "%d/%d/%d %d:%d:%d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                 tm.tm_hour, tm.tm_min, tm.tm_sec);
    return 0;
}

uint32_t HostBrighten(uint32_t colour, int16_t amount) {
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        int value = int(channel(colour, shift)) + amount;
        if (value < 0) value = 0;
        if (value > 255) value = 255;
        result |= uint32_t(value) << shift;
    }
    return result;
}

uint32_t HostMix(uint32_t colour1, uint32_t colour2) {
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        uint32_t value = (channel(colour1, shift) + channel(colour2, shift)) / 2;
        if (value > 255) value = 255;
        result |= value << shift;
    }
    return result;
}

void HostMoveMemory(const void* source, void* target, size_t length) {
    std::memmove(target, source, length);
}

const char* HostNextToken(const char* text, char* token) {
    if (is_separator(*text)) ++text;
    while (*text && !is_separator(*text))
        *token++ = *text++;
    *token = '\0';
    return text;
}

void HostSetTitle(const char* text) {
    std::lock_guard<std::mutex> hold(title_lock);
    title_utf8 = SjisToUtf8(text ? text : "");
    title_changed = true;
}

bool HostTakeTitle(std::string* utf8) {
    std::lock_guard<std::mutex> hold(title_lock);
    if (!title_changed) return false;
    *utf8 = title_utf8;
    title_changed = false;
    return true;
}
