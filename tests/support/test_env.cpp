#include "support/test_env.h"

#include "app/compose.h"
#include "core/log.h"
#include "core/pool.h"
#include "core/system.h"
#include "kernel/task.h"
#include "resource/resource.h"
#include "window/redraw.h"
#include "window/window_events.h"

void NomaTest::SetUp() {
    temp_ = std::make_unique<TempFolder>("noma-test");
    folder_ = temp_->path();
    InstallSystemHooks();
    StoreSystemFlags(FLAG_TRACE);
    g_system.phase = PHASE_INIT;
    WriteFile("NOMA.ini", "Sys.error.elogfile test.log\n");
    OpenErrorLog();
    UsePool(64 * 1024 * 1024, 4096);
}

void NomaTest::TearDown() {
    CloseErrorLog();
    ResetResources();
    DestroyPool();
    temp_.reset();
}

void NomaTest::UsePool(uint32_t bytes, uint32_t entries) {
    ResetResources();
    ASSERT_TRUE(CreatePoolSized(bytes, entries));
}

std::vector<std::string> NomaTest::LogLines() {
    if (ErrorLogStream()) std::fflush(ErrorLogStream());
    return ReadLines("test.log");
}

bool NomaTest::Logged(const std::string& line) {
    for (const std::string& l : LogLines())
        if (l == line) return true;
    return false;
}

void NomaTest::ExpectLogged(std::initializer_list<std::string> lines) {
    for (const std::string& line : lines)
        EXPECT_TRUE(Logged(line)) << line;
}

int NomaTest::LogCount(const std::string& part) {
    int n = 0;
    for (const std::string& line : LogLines())
        n += line.find(part) != std::string::npos;
    return n;
}

std::vector<EventRecord> NomaTest::EventsTo(uint32_t id) {
    std::vector<EventRecord> events;
    for (const EventRecord* r = event_record(g_event_head); r; r = event_record(r->next))
        if (r->destination == id) events.push_back(*r);
    return events;
}

void NomaTest::AnswerDraws(uint32_t owner, const std::function<void(uint32_t)>& draw) {
    for (int round = 0; round < 100; ++round) {
        std::vector<Handle> requests;
        for (EventRecord* r = event_record(g_event_head); r; r = event_record(r->next))
            if (r->code == EVENT_REQ_DRAW && r->destination == TaskId(owner)) {
                requests.push_back(r->value);
                r->destination = 0;
            }
        if (requests.empty()) return;
        for (Handle w : requests) {
            if (draw) draw(w);
            RetDrawEvent(owner, w);
            continue_redraw_motion(w);
        }
    }
}

void NomaTest::WriteFile(const std::string& name, const std::string& content) {
    WriteFileBytes(name, content);
}

std::string NomaTest::ReadFile(const std::string& name) {
    return ReadFileBytes(name);
}
