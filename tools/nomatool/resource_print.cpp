#include "tools/nomatool/resource_print.h"

#include <cstdio>
#include <cstring>

#include "core/pool.h"
#include "host/sjis.h"
#include "resource/resource.h"
#include "resource/resource_file.h"

Handle LoadResourceForTool(const char* path) {
    if (!CreatePool() || !CreateSystemResources()) {
        std::fprintf(stderr, "nomatool: cannot create the system resources\n");
        return 0;
    }
    std::string name = Utf8ToSjis(path);
    Handle resource = OpenResource(0, name.c_str(), "");
    if (!resource) std::fprintf(stderr, "nomatool: cannot load %s\n", path);
    return resource;
}

Handle ActiveRecordAt(Handle resource, long index) {
    if (index < 1) return 0;
    Handle record = FirstRecord(resource);
    for (long i = 1; record && i < index; ++i)
        record = NextRecord(record);
    return record;
}

uint32_t ItemBodySize(int type, uint32_t size) {
    switch (type) {
        case 1:
        case 2:
        case ITEMlong:
            return 4;
        case ITEMstring:
        case 8:
            return size;
        case ITEMlongArray:
            return size / 4 * 4;
        default:
            return 0;
    }
}

std::string QuotedText(const char* text, size_t limit) {
    std::string utf8 = SjisToUtf8(std::string_view(text, strnlen(text, limit)));
    std::string out = "\"";
    for (unsigned char c : utf8) {
        if (c < 0x20 || c == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", c);
            out += escape;
        } else {
            if (c == '"' || c == '\\') out += '\\';
            out += char(c);
        }
    }
    return out + "\"";
}

std::string FormatItemValue(int type, const uint8_t* address, uint32_t size, bool quote) {
    const char* text = reinterpret_cast<const char*>(address);
    switch (type) {
        case ITEMstring:
            return quote ? QuotedText(text, size) : SjisToUtf8({text, strnlen(text, size)});
        case 1:
        case 2:
        case ITEMlong:
            return std::to_string(LoadLong(address));
        case ITEMlongArray: {
            std::string out = "[";
            for (uint32_t i = 0; i + 4 <= size; i += 4)
                out += (i ? ", " : "") + std::to_string(LoadLong(address + i));
            return out + "]";
        }
        default: {
            std::string out;
            for (uint32_t i = 0; i < size; ++i) {
                char hex[4];
                std::snprintf(hex, sizeof hex, "%s%02X", i ? " " : "", address[i]);
                out += hex;
            }
            return out;
        }
    }
}

void PrintRecordItems(Handle record) {
    const HandleEntry* entry = handle_entry(record);
    const ResourceAttr* attr = entry ? resource_attr(entry->owner) : nullptr;
    if (!attr) return;
    const uint8_t* body = record_body(record);
    uint32_t room = entry->size + 1u;  // the spare byte past the body belongs to the items
    uint32_t offset = 1;
    Handle item = attr->first_item;
    for (uint32_t i = 0; item && i < attr->item_count; ++i) {
        const ItemDesc* desc = item_desc(item);
        if (!desc) break;
        std::string name = SjisToUtf8({desc->name, strnlen(desc->name, sizeof desc->name)});
        if (offset + uint64_t(desc->size) <= room)
            std::printf("%s=%s\n", name.c_str(),
                        FormatItemValue(desc->type, body + offset, desc->size, false).c_str());
        else
            std::printf("%s=(outside the record)\n", name.c_str());
        offset += desc->size;
        item = desc->next;
    }
}
