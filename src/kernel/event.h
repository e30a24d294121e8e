// Events: the only way tasks talk to each other. Every event is a 600-byte record of the
// system resource "Event"; all live events form one chain in sending order, and each task walks
// it with its own cursor (resource/task_record.h), one event per cycle.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/pool.h"

// Destination id meaning every task.
constexpr uint32_t TASK_ID_ALL = 999;

// Event codes.
enum EventCode : uint16_t {
    EVENT_FIRST = 0x000,     // the first event of the chain
    EVENT_START = 0x101,     // initialise (word A: start mode)
    EVENT_SHUTDOWN = 0x102,  // request to the manager, then broadcast
    EVENT_SYSTEM_READY = 0x104,
    EVENT_YEAR = 0x110,
    EVENT_MONTH = 0x111,
    EVENT_DAY = 0x112,
    EVENT_HOUR = 0x113,
    EVENT_MINUTE = 0x114,
    EVENT_SECOND = 0x115,
    EVENT_HALF_SECOND = 0x116,
    EVENT_QUARTER_SECOND = 0x117,
    EVENT_TICK = 0x118,  // every fourth cycle
    EVENT_KEY = 0x200,
    EVENT_WINDOW_OPEN = 0x302,
    EVENT_WINDOW_CLOSE = 0x303,
    EVENT_MOUSE_DOWN = 0x306,
    EVENT_MOUSE_UP = 0x307,
    EVENT_OBJECT_NOTICE = 0x308,
    EVENT_REQ_DRAW = 0x309,
    EVENT_RET_DRAW = 0x30A,
    EVENT_WINDOW_ACTIVATE = 0x30B,
    EVENT_WINDOW_ACTIVE = 0x30E,
    EVENT_WINDOW_INACTIVE = 0x30F,
    EVENT_WINDOW_MOVE = 0x310,
    EVENT_WINDOW_RESIZED = 0x311,
    EVENT_CLOSE_WINDOWS = 0x312,
    EVENT_WINDOW_OPENED = 0x313,
    EVENT_WINDOW_CLOSED = 0x314,
    EVENT_WINDOW_RAISE = 0x315,
    EVENT_MOUSE_ENTER = 0x317,
    EVENT_MOUSE_LEAVE = 0x318,
    EVENT_MENU_ADD = 0x412,
    EVENT_MENU_SELECT = 0x413,
    EVENT_MENU_REQUEST = 0x415,
    EVENT_STRING = 0x501,
    EVENT_EFFECT_REQUEST = 0x503,
};

// Event flag bits.
constexpr uint8_t EVENT_LIVE = 0x40;
constexpr uint8_t EVENT_SPARE_FLAG = 0x80;  // cleared when sent

// Receive results.
enum ReceiveResult : int {
    RECEIVE_NO_TASK = 1,
    RECEIVE_NO_EVENT = 50,
    RECEIVE_NOT_MINE = 51,
    RECEIVE_EVENT = 54,
    RECEIVE_DISABLED = 6145,
};

constexpr uint32_t kEventRecordSize = 600;
constexpr size_t kEventDataSize = 568;
constexpr size_t kEventStringMax = 559;     // characters of a string event's text
constexpr size_t kEventStringWarning = 78;  // longer texts are logged as too large
constexpr size_t kMenuEventLabel = 2;       // data offset of a menu event's label
constexpr size_t kMenuEventLabelSize = 22;  // at most 21 characters and the NUL
constexpr size_t kMenuEventHelp = kMenuEventLabel + kMenuEventLabelSize;

struct EventRecord {
    uint16_t code;
    uint16_t pad0;
    uint32_t source;
    uint32_t destination;
    uint8_t flags;
    uint8_t pad1[3];
    Handle next;  // the next younger event; empty for the youngest
    uint16_t word_a;
    uint16_t word_b;
    uint32_t long_a;
    uint32_t value;
    char data[kEventDataSize];
};
static_assert(sizeof(EventRecord) == kEventRecordSize);
static_assert(offsetof(EventRecord, next) == 16);
static_assert(offsetof(EventRecord, word_a) == 20);
static_assert(offsetof(EventRecord, long_a) == 24);
static_assert(offsetof(EventRecord, value) == 28);
static_assert(offsetof(EventRecord, data) == 32);

// The chain: oldest live event (head) and youngest (tail).
extern Handle g_event_head;
extern Handle g_event_tail;
// The window of the last ReqDrawEvent.
extern Handle g_last_draw_request;
// The task served by the last receive; kept only while the TASK trace flag is on.
extern Handle g_current_task;

// The event record behind a handle, or nullptr. Re-read it after any call that may allocate.
EventRecord* event_record(Handle event);

// Logs the record sizes and creates the first event. When it cannot, it shows "init event
// errror!!" and returns false: the program then ends with status 1 from its start-up.
bool InitEvents();
// Forgets the chain (start-up and tests).
void ResetEvents();

// Sending. SendEvent returns the new event (empty when none can be created); the others
// return 0, or 1 when no event could be created. The sender fills the data fields right after.
Handle SendEvent(uint32_t source, uint32_t destination, uint16_t code);
int SendValueEvent(uint32_t source, uint32_t destination, uint16_t code, uint32_t value);
int SendStringEvent(Handle task, uint32_t destination, const char* text);
int RequestShutDown(Handle task);
int ReqDrawEvent(uint32_t destination, Handle window);
int SendWindowPointEvent(Handle task, Handle window, int16_t x, int16_t y);
int SendWindowEvent(Handle task, Handle window);
int RequestCloseWindows(uint32_t task_id);
int AddMenuItemEvent(Handle task, uint16_t item, const char* label, const char* help);

// Receiving.
int NextEvent(Handle task);  // 0 when the cursor stands on an event, else 50
int ReciveEvent(Handle task);
Handle CurrentEvent(Handle task);

// House-keeping: the smallest chain position any cursor rests on (0 when none), and the
// removal of the oldest event (0 removed, 1 kept).
int TopEvent();
int EndEvent();
