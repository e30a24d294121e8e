// A fresh pool with the system resources, numbered system messages, and small helpers.
#pragma once

#include <string>
#include <vector>

#include "core/system.h"
#include "resource/resource.h"
#include "support/test_env.h"

class ResourceTest : public NomaTest {
protected:
    void SetUp() override {
        NomaTest::SetUp();
        ASSERT_TRUE(CreateSystemResources());
        std::string messages;  // message n reads "MSGn"
        for (int i = 1; i <= 100; ++i)
            messages += "MSG" + std::to_string(i) + "\n";
        WriteFile("SYSTEM.msg", messages);
    }

    // A new pool, as after a restart of the program.
    void Restart() {
        UsePool(64 * 1024 * 1024, 4096);
        ASSERT_TRUE(CreateSystemResources());
    }
};

// The handles of the resource's chain from first to last, following next.
inline std::vector<Handle> Chain(Handle resource) {
    std::vector<Handle> out;
    for (Handle h = resource_attr(resource)->first_record; h && out.size() < 100000;
         h = handle_entry(h)->next)
        out.push_back(h);
    return out;
}

// The active records in FirstRecord/NextRecord order.
inline std::vector<Handle> Active(Handle resource) {
    std::vector<Handle> out;
    for (Handle h = FirstRecord(resource); h; h = NextRecord(h))
        out.push_back(h);
    return out;
}

// Items "a" (long), "s" (string of 10) and "b" (long, ending on the spare byte): record
// size 18.
inline Handle MakeASB(const char* name = "asb.res") {
    Handle r = CreateResource(0, name, "ASB");
    CreateItem(r, "a", ITEMlong, 0);
    CreateItem(r, "s", ITEMstring, 10);
    CreateItem(r, "b", ITEMlong, 0);
    return r;
}
