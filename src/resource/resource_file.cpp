#include "resource/resource_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/log.h"
#include "core/system.h"
#include "host/file.h"
#include "host/sjis_literal.h"
#include "resource/resource.h"
#include "resource/task_record.h"

namespace {

// A record body cannot pass the pool's largest block (65535 bytes, one of them the spare byte).
constexpr uint32_t kLargestRecordSize = 0xFFFE;

// True when `task` is one of the records of the Task resource.
bool task_registered(Handle task) {
    const ResourceAttr* tasks = resource_attr(g_resources.task);
    if (!task || !tasks) return false;
    Handle record = tasks->first_record;
    for (uint32_t i = 0; record && i < tasks->record_count; ++i) {
        if (record == task) return true;
        const HandleEntry* entry = handle_entry(record);
        if (!entry) break;
        record = entry->next;
    }
    return false;
}

// Bytes of the stored body of a record: the record size when the resource has items.
uint32_t stored_body_size(const ResourceAttr& attr, const HandleEntry& entry) {
    return attr.record_size ? attr.record_size : entry.size;
}

// The active records in chain order; a chain longer than the handle table is broken and
// is cut there rather than followed forever.
std::vector<Handle> active_records(const ResourceAttr& attr) {
    std::vector<Handle> records;
    uint32_t limit = HandleTableEntries();
    Handle record = attr.first_record;
    for (uint32_t i = 0; record && i < limit; ++i) {
        const HandleEntry* entry = handle_entry(record);
        if (!entry) break;
        if (!(entry->flags & RECORD_INACTIVE)) records.push_back(record);
        record = entry->next;
    }
    return records;
}

std::vector<ItemDesc> item_list(const ResourceAttr& attr) {
    std::vector<ItemDesc> items;
    Handle item = attr.first_item;
    for (uint32_t i = 0; item && i < attr.item_count; ++i) {
        const ItemDesc* desc = item_desc(item);
        if (!desc) break;
        items.push_back(*desc);
        item = desc->next;
    }
    return items;
}

void append(std::vector<uint8_t>& image, const void* data, size_t size) {
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    image.insert(image.end(), bytes, bytes + size);
}

std::string temporary_name(const char* name) {
    static std::atomic<uint32_t> counter{0};
    return std::string(name) + ".~" + std::to_string(getpid()) + "-" +
           std::to_string(counter.fetch_add(1)) + ".tmp";
}

// Makes the rename itself durable; a folder that cannot be synced is not an error.
void sync_folder(const std::string& path) {
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash ? slash : 1);
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

// The file image of the resource, built in memory so that it is written in one call.
std::vector<uint8_t> resource_image(const ResourceAttr& attr) {
    std::vector<ItemDesc> items = item_list(attr);
    std::vector<Handle> records = active_records(attr);
    size_t total =
        kResourceFileHeaderSize + kResourceFileAttrSize + items.size() * kResourceFileItemSize;
    for (Handle record : records)
        total += kResourceFileEntrySize + stored_body_size(attr, *handle_entry(record));
    std::vector<uint8_t> image;
    image.reserve(total);

    ResourceFileHeader header{};
    std::memcpy(header.tag, "NOMA", 5);
    std::memcpy(header.version, "0.4", 4);
    std::memcpy(header.revision, "17", 3);
    header.memory_type = TestSystemFlag(FLAG_MOTOROLA) ? 'M' : 'I';
    append(image, &header, sizeof header);

    // The handle fields mean nothing in a file; they are written as 0 so that the same
    // resource always gives the same bytes.
    ResourceAttr stored = attr;
    stored.record_count = stored.active_count = uint16_t(records.size());
    stored.item_count = uint16_t(items.size());
    stored.first_record = stored.last_record = 0;
    stored.next_resource = stored.prev_resource = 0;
    stored.first_item = stored.last_item = 0;
    append(image, &stored, sizeof stored);

    for (ItemDesc item : items) {
        LogLinef("Write Item data name %.20s type %d  size %d", item.name, item.type,
                 int(item.size));
        item.next = 0;
        append(image, &item, sizeof item);
    }

    LogLine("record body write.");
    for (Handle record : records) {
        HandleEntry entry = *handle_entry(record);
        const uint8_t* source = record_body(record);
        uint32_t have = entry.size;
        uint32_t size = stored_body_size(attr, entry);
        entry.body = entry.owner = entry.next = entry.prev = 0;
        entry.size = uint16_t(size);
        append(image, &entry, sizeof entry);
        // A record made before the last items were defined is shorter than the record size;
        // its missing bytes are written as zero.
        size_t at = image.size();
        image.resize(at + size);
        uint8_t* body = image.data() + at;
        if (size && have) std::memcpy(body, source, size < have ? size : have);
        if (attr.record_size && have >= attr.record_size)
            StoreSpareByte(body, source, attr.record_size);
    }
    return image;
}

}  // namespace

int SaveResource(Handle task, Handle resource) {
    if (TestSystemFlag(FLAG_TASK) && !task_registered(task)) {
        LogSystemMessage(72, nullptr);
        return 1;
    }
    const ResourceAttr* attr = resource_attr(resource);
    if (!attr) return 1;
    char name[sizeof attr->name + 1] = {};
    std::memcpy(name, attr->name, sizeof attr->name);

    std::string temporary = temporary_name(name);
    std::string target_path = HostResolvePath(name);
    std::string temporary_path = HostResolvePath(temporary.c_str());
    FILE* file = HostFileOpen(temporary.c_str(), "wb");
    if (!file) {
        LogSystemMessage(6, name);
        return 1;
    }
    struct stat old_file;
    if (stat(target_path.c_str(), &old_file) == 0) fchmod(fileno(file), old_file.st_mode & 07777);

    std::vector<uint8_t> image = resource_image(*attr);
    bool ok = std::fwrite(image.data(), 1, image.size(), file) == image.size();
    ok = ok && std::fflush(file) == 0 && fsync(fileno(file)) == 0;
    ok = HostFileClose(file) == 0 && ok;
    ok = ok && std::rename(temporary_path.c_str(), target_path.c_str()) == 0;
    if (!ok) {
        unlink(temporary_path.c_str());
        LogSystemMessage(8, name);
        return 8;
    }
    sync_folder(target_path);
    return 0;
}

namespace {

// The bytes of a file, read whole. A large regular file is mapped (its pages come straight
// from the page cache, without a copy); others are read into a buffer that stays for the next
// file unless it grew large.
class FileBytes {
public:
    explicit FileBytes(FILE* file) {
        struct stat st;
        size_t expected = 0;
        if (fstat(fileno(file), &st) == 0 && S_ISREG(st.st_mode)) expected = size_t(st.st_size);
        if (expected >= kMappedFrom) {
            void* mapped =
                mmap(nullptr, expected, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fileno(file), 0);
            if (mapped != MAP_FAILED) {
                mapped_ = static_cast<const uint8_t*>(mapped);
                size_ = expected;
                return;
            }
        }
        reserve(expected + 1);
        // A file that grows while it is read, or one without a size, is read to its end.
        for (;;) {
            size_ += std::fread(buffer().get() + size_, 1, capacity() - size_, file);
            if (size_ < capacity()) break;
            reserve(capacity() * 2);
        }
    }
    ~FileBytes() {
        if (mapped_) munmap(const_cast<uint8_t*>(mapped_), size_);
        if (capacity() > kKeptBuffer) {
            buffer().reset();
            capacity() = 0;
        }
    }
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    const uint8_t* data() const { return mapped_ ? mapped_ : buffer().get(); }
    size_t size() const { return size_; }

private:
    static constexpr size_t kMappedFrom = 256u << 10;
    static constexpr size_t kKeptBuffer = 4u << 20;
    static std::unique_ptr<uint8_t[]>& buffer() {
        static std::unique_ptr<uint8_t[]> bytes;
        return bytes;
    }
    static size_t& capacity() {
        static size_t room = 0;
        return room;
    }
    void reserve(size_t room) {
        if (room <= capacity()) return;
        std::unique_ptr<uint8_t[]> grown(new uint8_t[room]);
        if (size_) std::memcpy(grown.get(), buffer().get(), size_);
        buffer() = std::move(grown);
        capacity() = room;
    }
    const uint8_t* mapped_ = nullptr;
    size_t size_ = 0;
};

// Pieces of the file in order; a piece that the file does not hold whole is refused.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), left_(size) {}
    const uint8_t* take(size_t size) {
        if (size > left_) return nullptr;
        const uint8_t* piece = data_;
        data_ += size;
        left_ -= size;
        return piece;
    }
    // A place `distance` bytes on (a hint only: it may lie past the end).
    const uint8_t* ahead(size_t distance) const {
        return distance < left_ ? data_ + distance : data_;
    }
    bool get(void* out, size_t size) {
        const uint8_t* piece = take(size);
        if (piece && size) std::memcpy(out, piece, size);
        return piece != nullptr;
    }

private:
    const uint8_t* data_;
    size_t left_;
};

// Item sizes that no record body could hold make the item table unusable.
bool item_size_fits(const ItemDesc& item) {
    bool sized = item.type == ITEMstring || item.type == 8 || item.type == ITEMlongArray;
    return !sized || item.size <= kLargestRecordSize;
}

void log_reading_error(Handle resource, uint32_t position) {
    const ResourceAttr* attr = resource_attr(resource);
    LogLine("READING ERROR");
    LogLinef("   ResName  %s   DataName  %s", attr->name, attr->data_name);
    LogLinef("   Size     %ld   Count     %d", long(attr->active_bytes), int(attr->record_count));
    LogLinef("  error is resource number %d.", int(position));
}

// Reads the attribute block, the items and the records into `resource`; false on failure.
bool read_body(Reader& in, Handle resource) {
    ResourceAttr stored;
    if (!in.get(&stored, sizeof stored)) return false;

    ResourceAttr* attr = resource_attr(resource);
    Handle next_resource = attr->next_resource;
    Handle prev_resource = attr->prev_resource;
    std::memcpy(attr, &stored, sizeof stored);
    attr->name[sizeof attr->name - 1] = '\0';
    attr->data_name[sizeof attr->data_name - 1] = '\0';
    attr->user[sizeof attr->user - 1] = '\0';
    attr->next_resource = next_resource;
    attr->prev_resource = prev_resource;
    attr->first_record = attr->last_record = 0;
    attr->first_item = attr->last_item = 0;
    attr->item_count = 0;
    attr->record_size = 0;
    attr->active_bytes = 0;
    attr->record_count = attr->active_count = 0;
    ForgetRecordIndex(resource);

    uint32_t item_count = stored.item_count;
    for (uint32_t i = 0; i < item_count; ++i) {
        ItemDesc item;
        if (!in.get(&item, sizeof item)) return false;
        item.name[sizeof item.name - 1] = '\0';
        if (!item_size_fits(item)) return false;
        uint32_t size = item.type == ITEMlongArray ? item.size / 4 : item.size;
        Handle created = CreateItem(resource, item.name, item.type, size);
        // Defined again like any new item: the stored flags and limits are not taken over.
        if (!created || resource_attr(resource)->record_size > kLargestRecordSize) return false;
        LogLinef("Read Item data name %s type %d  size %d(%d/%d)", item.name, item.type,
                 int(item.size), int(i), int(item_count));
    }

    attr = resource_attr(resource);
    if (TestSystemFlag(FLAG_RESOUCE_TEST))
        LogLinef("\tNAME %s   TYPE %s  RecordCount %d", attr->name, attr->data_name,
                 int(stored.record_count));

    // The records the file holds whole, in order: a record cut short by the file's end and
    // everything after it are not read.
    uint32_t record_size = attr->record_size;
    uint32_t record_count = stored.record_count;
    static thread_local std::vector<RecordSeed> seeds;
    static thread_local std::vector<Handle> records;
    seeds.clear();
    for (uint32_t k = 0; k < record_count; ++k) {
        // Records of a resource with items lie at a fixed stride: fetch ahead of the scan.
        if (record_size) __builtin_prefetch(in.ahead(8 * (sizeof(HandleEntry) + record_size)));
        const uint8_t* piece = in.take(sizeof(HandleEntry));
        if (!piece) break;
        HandleEntry entry;
        std::memcpy(&entry, piece, sizeof entry);
        const uint8_t* body = in.take(record_size ? record_size : entry.size);
        if (!body) break;
        seeds.push_back({entry.number, entry.size, body});
    }
    records.resize(seeds.size());

    // Most files load in one run: all blocks allocated at once, the bodies copied in one pass.
    // (A resource with items gives every record its record size.)
    auto restore = [](uint8_t* body, uint32_t size) { RestoreSpareByte(body, size); };
    uint32_t done = CreateRecordRun(resource, seeds.data(), uint32_t(seeds.size()), records.data(),
                                    record_size ? +restore : nullptr);
    // The rest (a repeated number, a refused one, a pool that must grow) one record at a time.
    for (uint32_t k = done; k < seeds.size(); ++k) {
        const RecordSeed& seed = seeds[k];
        uint32_t size = record_size ? record_size : seed.size;
        Handle record = CreateRecord(resource, seed.number, seed.size);
        uint8_t* target = record_body(record);
        if (!record || !target) {
            log_reading_error(resource, k + 1);
            return false;
        }
        uint32_t room = handle_entry(record)->size;
        if (size && room) std::memcpy(target, seed.body, size < room ? size : room);
        if (record_size && room >= record_size) RestoreSpareByte(target, record_size);
    }
    return true;
}

}  // namespace

Handle OpenResource(Handle task, const char* file_name, const char* data_name) {
    if (TestSystemFlag(FLAG_TASK) && !task_registered(task)) {
        LogSystemMessage(72, nullptr);
        return 0;
    }
    FILE* file = HostFileOpen(file_name, "rb");
    if (!file) {
        LogSystemMessage(6, file_name);
        return 0;
    }
    FileBytes bytes(file);
    HostFileClose(file);
    Reader in(bytes.data(), bytes.size());
    ResourceFileHeader header;
    if (!in.get(&header, sizeof header)) {
        LogSystemMessage(9, file_name);
        return 0;
    }

    if (TestSystemFlag(FLAG_TEST_RUN)) {
        if (std::memcmp(header.tag, "NOMA", 4) != 0) {
            LogSystemMessage(83, file_name);
        } else if (std::memcmp(header.version, "0.4", 3) != 0) {
            LogSystemMessage(84, file_name);
        } else if (TestSystemFlag(FLAG_MOTOROLA)) {
            if (header.memory_type != 'M') LogLine("Memory Typeが INTEL なﾘｿｰｽを読みました"_sj);
        } else if (header.memory_type != 'I') {
            LogLine("Memoey Typeが MOTOROLA なﾘｿｰｽを読みました"_sj);
        }
    }
    if (TestSystemFlag(FLAG_RESOUCE_TEST)) {
        LogLinef("ResourceHeder :%.5s   %.4s%.3s", header.tag, header.version, header.revision);
        LogLinef("\t:sts %ld   size %ld", long(header.status), long(header.size));
    }

    Handle resource = CreateResource(task, file_name, data_name);
    if (!resource) return 0;
    if (TaskRecord* t = task_record(task)) t->last_opened_resource = resource;

    if (!read_body(in, resource)) {
        LogSystemMessage(9, file_name);
        return 0;
    }
    if (TestSystemFlag(FLAG_RESOUCE_TEST)) LogLine("OpenResource OK!!");
    return resource;
}
