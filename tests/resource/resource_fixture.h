// A fresh pool with the system resources, and small helpers for the resource tests.
#pragma once

#include <string>
#include <vector>

#include "kernel/system.h"
#include "resource/resource.h"
#include "support/test_env.h"

class ResourceTest : public NomaTest {
protected:
    void SetUp() override {
        NomaTest::SetUp();
        ASSERT_TRUE(CreateSystemResources());
    }

    // The handles of the resource's chain from first to last, following next.
    static std::vector<Handle> Chain(Handle resource) {
        std::vector<Handle> out;
        ResourceAttr* attr = resource_attr(resource);
        for (Handle h = attr ? attr->first_record : 0; h && out.size() < 100000;
             h = handle_entry(h)->next)
            out.push_back(h);
        return out;
    }

    // The active records in FirstRecord/NextRecord order.
    static std::vector<Handle> Active(Handle resource) {
        std::vector<Handle> out;
        for (Handle h = FirstRecord(resource); h; h = NextRecord(h))
            out.push_back(h);
        return out;
    }

    // A resource with items "a" (long), "s" (string of 10) and "b" (long).
    static Handle MakeASB(const char* name = "asb.res") {
        Handle r = CreateResource(0, name, "ASB");
        CreateItem(r, "a", ITEMlong, 0);
        CreateItem(r, "s", ITEMstring, 10);
        CreateItem(r, "b", ITEMlong, 0);
        return r;
    }
};
