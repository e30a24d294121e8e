// nomatool res-dump FILE.res: every field of a resource file, readably. The file is read as it
// is stored (nothing is loaded into a resource), so duplicate numbers and the handle fields
// show as written.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "resource/resource.h"
#include "resource/resource_file.h"
#include "tools/nomatool/commands.h"
#include "tools/nomatool/resource_print.h"

namespace {

std::string stamp(ClockRecord c) {
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", ClockYear(c),
                  ClockMonth(c), ClockDay(c), ClockHour(c), ClockMinute(c), ClockSecond(c),
                  ClockMillisecond(c));
    return text;
}

std::string hex_if_set(const uint8_t* bytes, size_t size) {
    std::string out;
    bool set = false;
    for (size_t i = 0; i < size; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%s%02X", i ? " " : "", bytes[i]);
        out += hex;
        set = set || bytes[i];
    }
    return set ? out : "0";
}

void field(const char* name, const std::string& value) {
    std::printf("  %-15s%s\n", name, value.c_str());
}
void field(const char* name, long value) {
    field(name, std::to_string(value));
}

void dump_header(const ResourceFileHeader& h) {
    std::printf("header\n");
    field("tag", QuotedText(h.tag, sizeof h.tag));
    field("version", QuotedText(h.version, sizeof h.version));
    field("revision", QuotedText(h.revision, sizeof h.revision));
    field("memory type", QuotedText(&h.memory_type, 1));
    field("status", long(h.status));
    field("size", long(h.size));
    field("reserved 12", long(h.reserved0));
    field("reserved 14", hex_if_set(h.reserved1, sizeof h.reserved1));
    field("reserved 22", hex_if_set(h.reserved2, sizeof h.reserved2));
}

void dump_attr(const ResourceAttr& a) {
    std::printf("attribute block\n");
    field("name", QuotedText(a.name, sizeof a.name));
    field("data name", QuotedText(a.data_name, sizeof a.data_name));
    field("user", QuotedText(a.user, sizeof a.user));
    field("reserved 86", hex_if_set(a.reserved0, sizeof a.reserved0));
    field("created", stamp(a.created));
    field("stamp 2", stamp(a.stamp2));
    field("stamp 3", stamp(a.stamp3));
    field("reserved 112", long(a.reserved1));
    field("reserved 116", hex_if_set(a.reserved2, sizeof a.reserved2));
    field("owner task", long(a.owner_task));
    field("reserved 124", hex_if_set(a.reserved3, sizeof a.reserved3));
    field("active bytes", long(a.active_bytes));
    field("record size", long(a.record_size));
    field("record count", long(a.record_count));
    field("active count", long(a.active_count));
    field("first record", long(a.first_record));
    field("last record", long(a.last_record));
    field("next resource", long(a.next_resource));
    field("prev resource", long(a.prev_resource));
    field("group", long(a.group));
    field("tag", QuotedText(a.tag, sizeof a.tag));
    field("reserved 174", hex_if_set(a.reserved4, sizeof a.reserved4));
    field("tag number", long(a.tag_number));
    field("mark", QuotedText(a.mark, sizeof a.mark));
    field("item count", long(a.item_count));
    field("first item", long(a.first_item));
    field("last item", long(a.last_item));
    field("reserved 200", hex_if_set(a.reserved5, sizeof a.reserved5));
}

class FileReader {
public:
    explicit FileReader(std::string bytes) : bytes_(std::move(bytes)) {}
    bool get(void* out, size_t size) {
        if (bytes_.size() - position_ < size) return false;
        std::memcpy(out, bytes_.data() + position_, size);
        position_ += size;
        return true;
    }
    size_t position() const { return position_; }
    size_t size() const { return bytes_.size(); }

private:
    std::string bytes_;
    size_t position_ = 0;
};

int ended_early(const FileReader& in, const char* where) {
    std::printf("end: the file ends inside %s at byte %zu of %zu\n", where, in.position(),
                in.size());
    return 0;
}

}  // namespace

int CmdResDump(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: nomatool res-dump FILE.res\n");
        return 2;
    }
    std::ifstream stream(argv[1], std::ios::binary);
    if (!stream) {
        std::fprintf(stderr, "nomatool: cannot open %s\n", argv[1]);
        return 1;
    }
    FileReader in{std::string(std::istreambuf_iterator<char>(stream), {})};
    std::printf("file %s, %zu bytes\n", argv[1], in.size());

    ResourceFileHeader header;
    if (!in.get(&header, sizeof header)) {
        std::fprintf(stderr, "nomatool: %s is shorter than a resource file header\n", argv[1]);
        return 1;
    }
    dump_header(header);
    ResourceAttr attr;
    if (!in.get(&attr, sizeof attr)) return ended_early(in, "the attribute block");
    dump_attr(attr);

    std::printf("items\n");
    std::vector<ItemDesc> items(attr.item_count);
    uint32_t record_size = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        ItemDesc& d = items[i];
        if (!in.get(&d, sizeof d)) return ended_early(in, "the items");
        std::printf("  [%zu] %s type %d size %u flags 0x%02X%s upper %d lower %d next %u\n", i,
                    QuotedText(d.name, sizeof d.name).c_str(), d.type, unsigned(d.size), d.flags,
                    d.flags & ITEM_LIMITED ? " limited" : "", int(d.upper), int(d.lower),
                    unsigned(d.next));
        record_size += ItemBodySize(d.type, d.size);
    }

    std::printf("records\n");
    std::vector<uint8_t> body;
    for (uint32_t k = 1; k <= attr.record_count; ++k) {
        HandleEntry e;
        if (!in.get(&e, sizeof e)) return ended_early(in, "the records");
        uint32_t size = record_size ? record_size : e.size;
        std::printf(
            "  [%u] number %d flags 0x%04X size %u body %u owner %u next %u prev %u "
            "mark %s\n",
            unsigned(k), int(e.number), e.flags, unsigned(e.size), unsigned(e.body),
            unsigned(e.owner), unsigned(e.next), unsigned(e.prev),
            QuotedText(e.mark, sizeof e.mark).c_str());
        body.assign(size + 1, 0);
        if (!in.get(body.data(), size)) return ended_early(in, "the records");
        if (!record_size) {
            // Without items the body is plain bytes.
            if (size)
                std::printf("      body = %s\n",
                            FormatItemValue(8, body.data(), size, true).c_str());
            continue;
        }
        RestoreSpareByte(body.data(), record_size);
        uint32_t offset = 1;
        for (const ItemDesc& d : items) {
            uint32_t item_size = ItemBodySize(d.type, d.size);
            std::string name = QuotedText(d.name, sizeof d.name);
            std::printf("      %s = %s\n", name.substr(1, name.size() - 2).c_str(),
                        FormatItemValue(d.type, body.data() + offset, item_size, true).c_str());
            offset += item_size;
        }
    }
    if (in.position() < in.size())
        std::printf("end: %zu bytes after the last record\n", in.size() - in.position());
    else
        std::printf("end\n");
    return 0;
}
