// The game is loaded by the game layer's own loader (load_data_resources) on a fresh pool, with
// the item data reader telling where each record and value stands in its file. Then two passes:
//
// 1. Every scenario and text-library record is read as written: its Compare and Compute must
//    parse and name existing items; every tag of its text must be a command, a text-library word
//    or a string item of the player; every file a tag names must be in the game folder.
// 2. The story is played without a screen from the start state: the interpreter's own record
//    search, request handling, Compute, text-library search and select values run on the real
//    records, and every choice (including Return, which chooses 0) is followed, breadth first,
//    until every player state reachable within the bound has been seen. Records never played,
//    states where no record matches, text-library words with no holding record and background
//    names without a picture are reported from it.
//
// Everything is read through HostFileOpen and the resource and text readers; nothing is written.
#include "tools/nomatool/check_game.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "core/config.h"
#include "core/pool.h"
#include "game/background_name.h"
#include "game/game_data.h"
#include "game/game_resources.h"
#include "game/scenario.h"
#include "game/scenario_context.h"
#include "game/scenario_internal.h"
#include "game/settings.h"
#include "host/file.h"
#include "host/sjis.h"
#include "host/sjis_literal.h"
#include "present/anime_script.h"
#include "present/start_screen_file.h"
#include "resource/compute_expr.h"
#include "resource/resource.h"
#include "text/item_data.h"
#include "text/text.h"
#include "tools/nomatool/check_expression.h"

namespace {

constexpr size_t kTagTextMax = 2047;  // bytes of tag text the interpreter looks at
constexpr int kMaxListFiles = 64;
constexpr int kStepsPerPath = 2000;  // records entered from one state before giving up
constexpr int kMaxSequence = 1000;   // pictures of one animation sequence looked at

bool file_exists(const std::string& name) {
    if (name.empty()) return false;
    FILE* f = HostFileOpen(name.c_str(), "rb");
    if (!f) return false;
    HostFileClose(f);
    return true;
}

bool ends_with(const std::string& s, const char* tail) {
    size_t n = std::strlen(tail);
    if (s.size() < n) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower(uint8_t(s[s.size() - n + i])) != tail[i]) return false;
    return true;
}

std::string setting(const char* key) {
    char value[kIniValueSize];
    return ReadSetting(key, value, sizeof value) ? value : "";
}

std::vector<std::string> split_list(const std::string& text) {
    char words[kMaxListFiles][kIniValueSize];
    int n = SplitList(text.c_str(), &words[0][0], kMaxListFiles, kIniValueSize);
    return std::vector<std::string>(&words[0], &words[0] + n);
}

// Where a record came from: its file, its block number there and the lines of its values.
struct Origin {
    std::string file;
    int record = 0;
    int line = -1;  // of the block start, from 0
    std::map<std::string, int> item_lines;
};

struct PendingUnknown {
    Handle record;
    std::string name;
    int line;
};

// A point of the story: every character record's bytes, which one is the player, the
// automatic save's copy of the player and the background format in use (0: BG_FORMAT). Two
// states are the same when they agree on the items that can steer the story (`key`,
// `saved_key`): a clock that only counts up does not make a loop a new path.
struct State {
    std::vector<uint8_t> records;
    int player = 0;
    std::vector<uint8_t> saved;
    int format = 0;
    std::vector<uint8_t> key;
    std::vector<uint8_t> saved_key;
    bool operator<(const State& o) const {
        return std::tie(key, player, saved_key, format) <
               std::tie(o.key, o.player, o.saved_key, o.format);
    }
};

// Names as the item check sees them: an element "x[2]" is item x.
std::string item_of(const std::string& name) {
    return name.substr(0, name.find('['));
}

class Checker;
Checker* g_active = nullptr;

class Checker {
public:
    GameCheck run(int max_states);

private:
    // Loading.
    bool load();
    static void on_record(void* c, Handle record, int line);
    static void on_value(void* c, Handle record, const char* name, int line);
    static void on_unknown(void* c, Handle record, const char* name, int line);
    static void on_list_file(void* c, const char* file, Handle resource);
    static void on_no_player(void* c, const char* name);
    static void on_no_res_file(void* c);
    void assign_pending(const std::string& file, Handle resource);

    // Findings.
    void add(const std::string& line);
    std::string where(Handle record, const char* item = nullptr, size_t offset = 0);
    void add_at(Handle record, const char* item, size_t offset, const std::string& message);

    // Pass 1.
    void check_settings();
    void check_setting_items(const char* key, const std::vector<std::string>& names);
    void check_records();
    void check_condition(Handle record, const char* item, size_t offset, const std::string& label,
                         const std::string& text);
    void check_statements(Handle record, const char* item, size_t offset, const std::string& label,
                          const std::string& text);
    void check_names(Handle record, const char* item, size_t offset, const std::string& label,
                     const ExpressionCheck& result);
    void check_text(Handle record, const char* item, const std::string& text);
    void check_tag(Handle record, const char* item, size_t offset, const std::string& inner);
    void need_file(Handle record, const char* item, size_t offset, const std::string& tag,
                   const char* kind, const std::string& file);
    void check_animation(const std::string& file);
    void check_start_screen(const std::string& file);
    bool is_string_item(const std::string& name) const;
    bool resolves(const std::string& name) const;
    bool is_library_word(const std::string& name) const { return library_words_.count(name); }

    // Pass 2.
    void setup_interpreter();
    void search(int max_states);
    void play_from(const State& start, std::deque<State>& queue);
    enum class Walk { End, Choice, Restored };
    Walk walk_text(Handle record, std::vector<int32_t>& choices);
    State capture() const;
    void restore(const State& s);
    int player_index(Handle player) const;
    static const char* mode_word(int slot, int position);
    static int hook_auto_save(Handle);
    static int hook_restore_save(Handle);
    static void hook_bad_end(Handle);
    static Handle hook_get_player(const char* name);

    IlvaneGame game_;
    GameCheck out_;
    std::set<std::string> seen_findings_;
    std::map<Handle, Origin> origins_;
    std::vector<Handle> pending_;
    std::vector<PendingUnknown> pending_unknown_;
    std::map<std::string, int> record_counts_;  // blocks read so far per file
    bool no_player_ = false;
    std::string no_player_name_;
    std::set<std::string> library_words_;
    std::set<std::string> scripts_checked_;  // animation scripts and start-screen files

    // The items that steer the story: read by a condition, or feeding (through Compute) an
    // item that is; every word of a text that does not parse. `exact_states_` when that cannot
    // be known (a name path): then every byte counts.
    std::set<std::string> condition_names_;
    std::vector<std::pair<std::string, std::vector<std::string>>> statements_;
    std::set<std::string> steering_;
    bool exact_states_ = false;
    void note_names(const std::string& text, const ExpressionCheck& result, bool condition);
    void find_steering_items();
    void project(Handle record, const uint8_t* bytes, size_t size, std::vector<uint8_t>& out) const;

    std::vector<Handle> characters_;  // the character records in chain order
    std::set<Handle> reached_;
    std::set<State> seen_states_;
    State current_;
    bool ended_ = false;
    bool restored_ = false;
};

// ---- loading ----

void Checker::on_record(void* c, Handle record, int line) {
    Checker* self = static_cast<Checker*>(c);
    self->pending_.push_back(record);
    self->origins_[record].line = line;
}

void Checker::on_value(void* c, Handle record, const char* name, int line) {
    static_cast<Checker*>(c)->origins_[record].item_lines[name] = line;
}

void Checker::on_unknown(void* c, Handle record, const char* name, int line) {
    static_cast<Checker*>(c)->pending_unknown_.push_back({record, name, line});
}

void Checker::assign_pending(const std::string& file, Handle resource) {
    std::vector<Handle> rest;
    for (Handle r : pending_) {
        const HandleEntry* e = handle_entry(r);
        Handle owner = e ? e->owner : 0;
        std::string from = file;
        if (owner == game_.characters && game_.characters)
            from = "dusk_ilvane.res";
        else if (owner == game_.gsystem && game_.gsystem)
            from = "gsystem.res";
        else if (resource && owner != resource) {
            rest.push_back(r);
            continue;
        }
        Origin& o = origins_[r];
        o.file = from;
        o.record = ++record_counts_[from];
    }
    pending_ = rest;
    for (const PendingUnknown& u : pending_unknown_) {
        auto it = origins_.find(u.record);
        std::string from =
            it != origins_.end() && !it->second.file.empty() ? it->second.file : file;
        add(from + ":" + std::to_string(u.line + 1) + ": value of an item the resource does not " +
            "define: " + u.name + "; the rest of the file is not read (\"ApendItemData() " +
            "itemname non " + u.name + "\")");
    }
    pending_unknown_.clear();
}

void Checker::on_list_file(void* c, const char* file, Handle resource) {
    Checker* self = static_cast<Checker*>(c);
    bool unknown_item = !self->pending_unknown_.empty();
    self->assign_pending(file, resource);
    if (!resource && !unknown_item) {
        if (file_exists(file))
            self->add(std::string(file) + ": cannot be read as an item data file " +
                      "(ResourceName and DataName lines are needed)");
        else
            self->add(std::string(kSettingsFile) + ": no item data file " + file);
    }
}

void Checker::on_no_player(void* c, const char* name) {
    Checker* self = static_cast<Checker*>(c);
    self->no_player_ = true;
    self->no_player_name_ = name;
}

void Checker::on_no_res_file(void* c) {
    static_cast<Checker*>(c)->add(std::string(kSettingsFile) +
                                  ": RES_FILE is missing: the game shows \"" +
                                  "RES_FILEが記述されていません"_sj + "\" and ends");
}

bool Checker::load() {
    if (PoolExists()) {
        ResetResources();
        DestroyPool();
    }
    if (!CreatePool() || !CreateSystemResources()) {
        out_.fatal = "cannot create the system resources";
        return false;
    }
    if (!file_exists(kSettingsFile)) {
        out_.fatal = std::string("no settings file ") + kSettingsFile;
        return false;
    }
    ItemDataWatcher watcher;
    watcher.context = this;
    watcher.record = on_record;
    watcher.value = on_value;
    watcher.unknown_item = on_unknown;
    SetItemDataWatcher(&watcher);
    DataLoadObserver observer;
    observer.context = this;
    observer.list_file_read = on_list_file;
    observer.no_player = on_no_player;
    observer.no_res_file = on_no_res_file;
    int failed = load_data_resources(game_, 0, observer);
    SetItemDataWatcher(nullptr);
    assign_pending("", 0);
    if (failed && !game_.characters) {
        out_.fatal = "no character data: neither ilvane_cahrcter.res nor dusk_ilvane.res loads";
        return false;
    }
    if (failed) {
        out_.fatal = "no character record has the 名前"_sj + std::string(" ") + no_player_name_ +
                     " (PLAYER_NAME)";
        return false;
    }
    ReadModeNames(game_.modes);
    for (Handle r = FirstRecord(game_.text_lib); game_.text_lib && r; r = NextRecord(r))
        if (const char* word = GetStr(r, "textlib_word")) library_words_.insert(word);
    return true;
}

// ---- findings ----

void Checker::add(const std::string& line) {
    if (seen_findings_.insert(line).second) out_.findings.push_back(SjisToUtf8(line));
}

std::string Checker::where(Handle record, const char* item, size_t offset) {
    auto it = origins_.find(record);
    std::string file;
    int number = 0, line = -1;
    if (it != origins_.end() && !it->second.file.empty()) {
        const Origin& o = it->second;
        file = o.file;
        number = o.record;
        line = o.line;
        auto item_line = item ? o.item_lines.find(item) : o.item_lines.end();
        if (item_line != o.item_lines.end()) {
            line = item_line->second;
            if (const char* text = GetStr(record, item))
                line += int(std::count(text, text + std::min(offset, std::strlen(text)), '\n'));
        }
    } else {
        // A saved resource file: no lines, the record's place in the chain.
        const HandleEntry* e = handle_entry(record);
        const ResourceAttr* attr = e ? resource_attr(e->owner) : nullptr;
        file = attr ? attr->name : "?";
        number = e ? RecordIndex(e->owner, record) : 0;
    }
    std::string s = file;
    if (line >= 0) s += ":" + std::to_string(line + 1);
    return s + ": record " + std::to_string(number) + ": ";
}

void Checker::add_at(Handle record, const char* item, size_t offset, const std::string& message) {
    add(where(record, item, offset) + message);
}

// ---- pass 1: settings ----

void Checker::check_setting_items(const char* key, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        if (name.empty() || name == "blank" || name == "時刻"_sj) continue;
        if (name.compare(0, 5, ".gsys") == 0 && name.size() > 6) {
            std::string item = name.substr(6);
            if (!game_.gsys || ItemType(game_.gsystem, item.c_str()) < 0)
                add(std::string(kSettingsFile) + ": " + key + ": no item " + item +
                    " in the graphic-system record");
            continue;
        }
        if (!resolves(name))
            add(std::string(kSettingsFile) + ": " + key + ": no item " + name +
                " in the player record");
    }
}

void Checker::check_settings() {
    for (const char* key : {"RESULT_BACKGRAPHIC", "Start_BackGraphic", "MENU_GRAPHIC"}) {
        std::string file = setting(key);
        if (!file.empty() && !file_exists(file))
            add(std::string(kSettingsFile) + ": " + key + ": no picture file " + file);
    }
    if (SettingSwitch("INPUT_SWIPE") && !file_exists("system\\button.bmp"))
        add(std::string(kSettingsFile) + ": INPUT_SWIPE is on but there is no picture " +
            "system\\button.bmp (the game shows \"" + "Swipeボタン画像が無い"_sj + "\")");

    for (int n = 1; n <= kDisplayEntries; ++n) {
        std::string key = "DISPLAY" + std::to_string(n);
        std::string entry = setting(key.c_str());
        if (entry.empty()) break;
        check_setting_items(key.c_str(), {entry});
    }
    for (int n = 1; n <= 10; ++n) {
        std::string key = "RESULT" + std::to_string(n);
        char value[kIniValueSize];
        if (!ReadSetting(key.c_str(), value, sizeof value)) break;
        check_setting_items(key.c_str(), {value});
    }
    check_setting_items("SAVE_STSITEM", split_list(setting("SAVE_STSITEM")));

    std::set<std::string> modes;
    for (int k = 0; k < game_.modes.count; ++k) {
        std::string name = game_.modes.words[k][0];
        modes.insert(name);
        if (!name.empty() && ItemType(game_.characters, name.c_str()) != ITEMlong)
            add(std::string(kSettingsFile) + ": MODENAME" + std::to_string(k + 1) + ": " + name +
                " is no number item of the player record");
    }
    for (const char* key : {"BG_FORMAT", "BG_FORMAT2", "BG_FORMAT3"}) {
        std::vector<std::string> words = split_list(setting(key));
        for (size_t i = 1; i < words.size(); ++i)
            if (!modes.count(words[i]))
                add(std::string(kSettingsFile) + ": " + key + ": " + words[i] +
                    " is no mode of the MODENAME keys");
    }
}

// ---- pass 1: records ----

bool Checker::is_string_item(const std::string& name) const {
    // The evaluator's rule (a name path is typed by the text after its last '.').
    return ItemType(game_.characters, name.c_str()) == ITEMstring;
}

bool Checker::resolves(const std::string& name) const {
    for (int type : {ITEMlong, ITEMstring, ITEMlongArray})
        if (get_adr2(game_.player, name.c_str(), type)) return true;
    return false;
}

void Checker::check_names(Handle record, const char* item, size_t offset, const std::string& label,
                          const ExpressionCheck& result) {
    for (const std::string& name : result.names)
        if (!resolves(name))
            add_at(record, item, offset, label + ": no item " + name + " in the player record");
    for (const std::string& name : result.gsys) {
        if (!game_.gsys)
            add_at(record, item, offset,
                   label + ": .gsys." + name + " but the game has no graphic-system record");
        else if (ItemType(game_.gsystem, name.c_str()) < 0)
            add_at(record, item, offset,
                   label + ": no item " + name + " in the graphic-system record");
    }
}

void Checker::check_condition(Handle record, const char* item, size_t offset,
                              const std::string& label, const std::string& text) {
    ExpressionCheck result = CheckCondition(text);
    note_names(text, result, true);
    if (!result.problem.empty())
        add_at(record, item, offset, label + " \"" + text + "\" does not parse: " + result.problem);
    check_names(record, item, offset, label, result);
}

void Checker::check_statements(Handle record, const char* item, size_t offset,
                               const std::string& label, const std::string& text) {
    ExpressionCheck result =
        CheckStatements(text, [this](const std::string& name) { return is_string_item(name); });
    note_names(text, result, false);
    if (!result.problem.empty())
        add_at(record, item, offset, label + " \"" + text + "\" does not parse: " + result.problem);
    check_names(record, item, offset, label, result);
}

void Checker::need_file(Handle record, const char* item, size_t offset, const std::string& tag,
                        const char* kind, const std::string& file) {
    if (file.empty())
        add_at(record, item, offset, "<" + tag + ">: no " + kind + " file named");
    else if (!file_exists(file))
        add_at(record, item, offset, "<" + tag + ">: no " + kind + " file " + file);
}

void Checker::check_animation(const std::string& file) {
    if (!scripts_checked_.insert(file).second) return;
    Handle text = CreateText(0, file.c_str(), 0);
    if (!text) return;
    if (ReadTextFile(text) == 0) {
        std::vector<char> line(kTextLineSize);
        const int lines = int(text_header(text)->lines);
        for (int y = 0; y <= lines; ++y) {
            const char* got = GetTextLine(text, y, line.data(), line.size());
            if (!got) break;
            AnimeCommand command = ParseAnimeLine(got);
            std::vector<std::string> pictures;
            if (command.kind == ANIME_CMD_PIC) pictures.push_back(command.text);
            // A sequence draws from its start up to, not including, its end (counting down: not
            // at or below 0 either).
            char name[kAnimeWordSize];
            if (command.kind == ANIME_CMD_ADD_LOOP)
                for (int32_t n = command.a; n < command.b && n - command.a < kMaxSequence; ++n) {
                    FormatSequenceName(command.text, n, name, sizeof name);
                    pictures.push_back(name);
                }
            if (command.kind == ANIME_CMD_SUB_LOOP)
                for (int32_t n = command.a; n > command.b && n > 0 && command.a - n < kMaxSequence;
                     --n) {
                    FormatSequenceName(command.text, n, name, sizeof name);
                    pictures.push_back(name);
                }
            for (const std::string& picture : pictures)
                if (!file_exists(picture))
                    add(file + ":" + std::to_string(y + 1) + ": no picture file " + picture);
        }
    }
    CloseText(0, text);
}

void Checker::check_start_screen(const std::string& file) {
    if (!scripts_checked_.insert(file).second) return;
    const StartScreenFile screen = ReadStartScreenFile(file.c_str());
    const std::pair<const char*, const char*> pictures[] = {{"LOGO_TITLE", screen.logo},
                                                            {"BackGraphic", screen.background}};
    for (const auto& [key, picture] : pictures)
        if (picture[0] && !file_exists(picture))
            add(file + ": " + key + ": no picture file " + picture);
}

void Checker::check_tag(Handle record, const char* item, size_t offset, const std::string& inner) {
    std::vector<char> name(inner.size() + 1), parameters(inner.size() + 1);
    SplitTagText(inner.c_str(), name.data(), parameters.data());
    const std::string tag = name.data();
    const char* params = parameters.data();
    auto param = [&](int n) {
        char word[kIniValueSize];
        return std::string(TagParam(params, n, word, sizeof word));
    };
    if (!IsTableTag(tag.c_str())) {
        if (is_library_word(tag)) return;
        if (!tag.empty() && get_adr2(game_.player, tag.c_str(), ITEMstring)) return;
        add_at(record, item, offset,
               "unknown tag <" + tag + ">: no command, text-library word or string item of the " +
                   "player (shown as text)");
        return;
    }
    if (tag == "PlayMIDI") need_file(record, item, offset, inner, "music", param(1));
    if (tag == "PlayWAVE") need_file(record, item, offset, inner, "sound", param(1));
    if (tag == "BG") need_file(record, item, offset, inner, "picture", param(1));
    if (tag == "OpenTitle") {
        need_file(record, item, offset, inner, "start-screen", param(1));
        if (file_exists(param(1))) check_start_screen(param(1));
    }
    if (tag == "mput") need_file(record, item, offset, inner, "picture", param(3));
    if (tag == "SetMenuGraphic") need_file(record, item, offset, inner, "picture", param(2));
    if (tag == "CutGraphic") {
        std::string file = param(2);
        bool script = ends_with(file, ".ani");
        need_file(record, item, offset, inner, script ? "animation" : "picture", file);
        if (script && file_exists(file)) check_animation(file);
    }
    if (tag == "GetPlayer" && !SearchRecordStr(game_.characters, "名前"_sj, param(1).c_str()))
        add_at(record, item, offset,
               "<" + inner + ">: no character record has the 名前"_sj + " " + param(1));
    if (tag == "Compute") {
        std::string expression = params;
        if (!expression.empty() && (expression[0] == ',' || expression[0] == ';'))
            expression.erase(0, 1);
        std::vector<char> work(expression.begin(), expression.end());
        work.push_back('\0');
        replace_mode_labels(work.data());
        check_statements(record, item, offset, "<Compute>", work.data());
    }
    if (tag == "Select") {
        int words = 0;
        std::string list = params;
        size_t start = 0;
        while (start <= list.size()) {
            size_t end = list.find_first_of(",;", start);
            if (end == std::string::npos) end = list.size();
            std::string word = list.substr(start, end - start);
            start = end + 1;
            if (word.empty()) continue;
            ++words;
            size_t question = word.find('?');
            size_t colon = word.rfind(':');
            if (question != std::string::npos && colon != std::string::npos && colon > question)
                check_condition(record, item, offset, "<Select> choice",
                                word.substr(question + 1, colon - question - 1));
        }
        if (words > kSelectItems)
            add_at(record, item, offset,
                   "<Select> has " + std::to_string(words) + " choices; only the first " +
                       std::to_string(kSelectItems) + " are offered");
    }
}

void Checker::check_text(Handle record, const char* item, const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        if (text[i] == '>') {
            add_at(record, item, i,
                   "'>' outside a tag (shown as text; the game logs \"ERROR TAG>\")");
            ++i;
            continue;
        }
        if (text[i] != '<') {
            ++i;
            continue;
        }
        size_t close = text.find('>', i + 1);
        // A tag never holds a line break or another '<': such a '<' lacks its own '>'.
        size_t stray = text.find_first_of("<\n", i + 1);
        if (close == std::string::npos || stray < close) {
            add_at(record, item, i, "unclosed tag: '<' without '>'");
            ++i;
            continue;
        }
        check_tag(record, item, i, text.substr(i + 1, std::min(close - i - 1, kTagTextMax)));
        i = close + 1;
    }
}

void Checker::check_records() {
    // In file order: the play list's chain puts later files first.
    std::vector<Handle> records;
    for (Handle r = FirstRecord(game_.play_list); game_.play_list && r; r = NextRecord(r))
        records.push_back(r);
    std::vector<Handle> library;
    for (Handle r = FirstRecord(game_.text_lib); game_.text_lib && r; r = NextRecord(r))
        library.push_back(r);
    auto file_order = [this](Handle a, Handle b) {
        const Origin& x = origins_[a];
        const Origin& y = origins_[b];
        return std::tie(x.file, x.record) < std::tie(y.file, y.record);
    };
    std::stable_sort(records.begin(), records.end(), file_order);
    std::stable_sort(library.begin(), library.end(), file_order);

    for (Handle r : records) {
        const char* compare = GetStr(r, "Compare");
        if (!compare || !compare[0])
            add_at(r, nullptr, 0,
                   "no Compare: the search for the next record stops here, so no later record " +
                       std::string("is ever played"));
        else
            check_condition(r, "Compare", 0, "Compare", compare);
        const char* compute = GetStr(r, "Compute");
        if (compute && compute[0]) check_statements(r, "Compute", 0, "Compute", compute);
        if (const char* text = GetStr(r, "TEXT")) check_text(r, "TEXT", text);
    }
    for (Handle r : library) {
        const char* compare = GetStr(r, "Compare");
        if (!compare || !compare[0])
            add_at(r, nullptr, 0,
                   "no Compare: the search for this word stops here, so its later records are " +
                       std::string("never used"));
        else
            check_condition(r, "Compare", 0, "Compare", compare);
        if (const char* text = GetStr(r, "Text")) check_text(r, "Text", text);
    }
}

// ---- pass 2: the reachability search ----

const char* Checker::mode_word(int slot, int position) {
    const ModeNameTable& modes = g_active->game_.modes;
    if (slot < 1 || slot > modes.count || position < 0 || position >= kModeWords) return nullptr;
    return modes.words[slot - 1][position];
}

int Checker::hook_auto_save(Handle) {
    const HandleEntry* e = handle_entry(g_game.player);
    const uint8_t* body = record_body(g_game.player);
    if (e && body) g_active->current_.saved.assign(body, body + e->size);
    return 1;
}

int Checker::hook_restore_save(Handle) {
    const std::vector<uint8_t>& saved = g_active->current_.saved;
    const HandleEntry* e = handle_entry(g_game.player);
    uint8_t* body = record_body(g_game.player);
    if (e && body && saved.size() == e->size) std::memcpy(body, saved.data(), saved.size());
    g_active->restored_ = true;
    return 1;
}

void Checker::hook_bad_end(Handle) {
    g_active->ended_ = true;
}

Handle Checker::hook_get_player(const char* name) {
    return SearchRecordStr(g_active->game_.characters, "名前"_sj, name);
}

int Checker::player_index(Handle player) const {
    auto it = std::find(characters_.begin(), characters_.end(), player);
    return it == characters_.end() ? 0 : int(it - characters_.begin());
}

void Checker::note_names(const std::string& text, const ExpressionCheck& result, bool condition) {
    if (!result.problem.empty()) {
        // Where the text stops making sense the evaluator may still read (and a statement
        // write) any word of it: every one steers.
        std::string plain = text;
        ComputeRemoveBlanks(plain);
        for (size_t p = 0; p < plain.size();) {
            size_t end = ComputeOperandEnd(plain.c_str(), p);
            std::string word = plain.substr(p, end - p);
            p = end == p ? p + 1 : end;
            if (word.empty() || (word[0] >= '0' && word[0] <= '9')) continue;
            if (word.compare(0, 5, ".gsys") == 0) continue;  // not the player's
            if (word[0] == '.' || word.find(':') != std::string::npos) exact_states_ = true;
            condition_names_.insert(item_of(word));
        }
        return;
    }
    for (const std::string& name : result.names)
        if (name[0] == '.' || name.find(':') != std::string::npos) exact_states_ = true;
    if (condition) {
        for (const std::string& name : result.names)
            condition_names_.insert(item_of(name));
        return;
    }
    for (const auto& [target, reads] : result.assignments) {
        std::vector<std::string> items;
        for (const std::string& name : reads)
            items.push_back(item_of(name));
        statements_.emplace_back(item_of(target), items);
    }
}

void Checker::find_steering_items() {
    steering_ = condition_names_;
    steering_.insert("ILVrequest");
    // The background formats' modes name the pictures BackGraphic shows.
    for (const char* key : {"BG_FORMAT", "BG_FORMAT2", "BG_FORMAT3"}) {
        std::vector<std::string> words = split_list(setting(key));
        steering_.insert(words.begin() + std::min<size_t>(1, words.size()), words.end());
    }
    // A choice counts up `count` when `old_mode` holds its value.
    if (steering_.count("count")) steering_.insert("old_mode");
    // A Compute statement that sets a steering item makes what its value reads steer too.
    for (bool grown = true; grown;) {
        grown = false;
        for (const auto& [target, reads] : statements_) {
            if (!steering_.count(target)) continue;
            for (const std::string& name : reads)
                grown |= steering_.insert(name).second;
        }
    }
}

void Checker::project(Handle record, const uint8_t* bytes, size_t size,
                      std::vector<uint8_t>& out) const {
    const uint8_t* body = record_body(record);
    if (exact_states_ || !body) {
        out.insert(out.end(), bytes, bytes + size);
        return;
    }
    for (const std::string& name : steering_) {
        const ItemDesc* desc = item_desc(FindItemExact(game_.characters, name.c_str()));
        if (!desc) continue;  // reads as -1 in every state
        const int type = desc->type;
        const uint32_t length = type == ITEMlong ? 4 : desc->size;
        const char* at =
            type == ITEMlong || type == ITEMstring ? get_adr(record, name.c_str(), type) : nullptr;
        const size_t offset = at ? size_t(reinterpret_cast<const uint8_t*>(at) - body) : size;
        if (offset + length > size) {
            out.insert(out.end(), bytes, bytes + size);  // a layout not understood: all of it
            return;
        }
        out.insert(out.end(), bytes + offset, bytes + offset + length);
    }
}

State Checker::capture() const {
    State s = current_;
    s.records.clear();
    s.key.clear();
    for (Handle r : characters_) {
        const HandleEntry* e = handle_entry(r);
        const uint8_t* body = record_body(r);
        if (!e || !body) continue;
        s.records.insert(s.records.end(), body, body + e->size);
        project(r, body, e->size, s.key);
    }
    s.player = player_index(g_game.player);
    s.saved_key.clear();
    if (!s.saved.empty()) project(g_game.player, s.saved.data(), s.saved.size(), s.saved_key);
    return s;
}

void Checker::restore(const State& s) {
    current_ = s;
    size_t at = 0;
    for (Handle r : characters_) {
        const HandleEntry* e = handle_entry(r);
        uint8_t* body = record_body(r);
        if (!e || !body || at + e->size > s.records.size()) break;
        std::memcpy(body, s.records.data() + at, e->size);
        at += e->size;
    }
    g_game.player = characters_[size_t(s.player)];
    game_.player = g_game.player;
}

Checker::Walk Checker::walk_text(Handle record, std::vector<int32_t>& choices) {
    std::string t = g_scenario.text;
    int replacements = 0;
    for (size_t i = 0; i < t.size();) {
        if (t[i] != '<') {
            ++i;
            continue;
        }
        size_t close = t.find('>', i + 1);
        if (close == std::string::npos) break;
        std::string inner = t.substr(i + 1, std::min(close - i - 1, kTagTextMax));
        std::vector<char> name(inner.size() + 1), parameters(inner.size() + 1);
        SplitTagText(inner.c_str(), name.data(), parameters.data());
        const std::string tag = name.data();
        if (IsTableTag(tag.c_str())) {
            if (tag == "Select") {
                int32_t values[kSelectItems];
                int n = SelectValues(parameters.data(), values);
                choices.assign(values, values + n);
                choices.push_back(0);  // Return takes the choice 0
                return Walk::Choice;
            }
            if (tag == "Compute" || tag == "AutoSave" || tag == "RestoreSave" ||
                tag == "GetPlayer") {
                tag_dispatch(0, tag.c_str(), parameters.data());
                game_.player = g_game.player;
                if (restored_) return Walk::Restored;
            }
            if (tag == "BGFormat1") current_.format = 0;
            if (tag == "BGFormat2") current_.format = 2;
            if (tag == "BGFormat3") current_.format = 3;
            if (tag == "BackGraphic") {
                if (current_.format == 0)
                    game_.bg_format[0] = '\0';
                else
                    ReadSetting(current_.format == 2 ? "BG_FORMAT2" : "BG_FORMAT3", game_.bg_format,
                                sizeof game_.bg_format);
                char file[kGameTextSize];
                bg_file_name(game_, file, sizeof file);
                if (!file_exists(file))
                    add_at(record, nullptr, 0,
                           std::string("<BackGraphic>: no picture file ") + file +
                               " (the background its modes name when this record plays)");
            }
            i = close + 1;
            continue;
        }
        // A text-library word or a player's string item is put in place of the tag and read
        // again after its first byte, as the interpreter does; a replacement that would not fit
        // the text buffer stays as text.
        const char* replacement = nullptr;
        if (Handle library = find_textlib_record(tag.c_str())) {
            replacement = GetStr(library, "Text");
            if (replacement && std::strlen(replacement) < 2) {
                t.erase(i, close + 1 - i);
                continue;
            }
        } else if (is_library_word(tag)) {
            add_at(record, nullptr, 0,
                   "text-library word <" + tag + ">: none of its records' Compare holds when " +
                       "this record plays (shown as text)");
        } else if (!tag.empty()) {
            replacement = get_adr2(g_game.player, tag.c_str(), ITEMstring);
        }
        if (!replacement || ++replacements > 1000 ||
            t.size() - (close + 1 - i) + std::strlen(replacement) >= kScenarioTextSize) {
            i = close + 1;
            continue;
        }
        t.replace(i, close + 1 - i, replacement);
        i += 1;
    }
    return Walk::End;
}

void Checker::play_from(const State& start, std::deque<State>& queue) {
    restore(start);
    Handle previous = 0;
    for (int step = 0; step < kStepsPerPath; ++step) {
        ended_ = false;
        restored_ = false;
        run_request(0);
        if (ended_) return;  // the bad end
        Handle record = find_scenario_record(0);
        if (!record) {
            if (previous)
                add_at(previous, nullptr, 0,
                       "after this record no scenario record matches: the game shows \"" +
                           std::string("プレイデータ検索ミス"_sj) + "\" and the story stops");
            else
                add(std::string(kSettingsFile) + ": no scenario record matches the start " +
                    "state: the game shows \"" + "プレイデータ検索ミス"_sj + "\"");
            return;
        }
        reached_.insert(record);
        previous = record;
        EnterScenarioRecord(record);
        game_.player = g_game.player;
        std::vector<int32_t> choices;
        Walk walk = walk_text(record, choices);
        State next = capture();
        if (walk == Walk::Choice) {
            for (int32_t value : choices) {
                restore(next);
                // What SelectMenu does to the player record.
                Handle player = g_game.player;
                if (GetNum(player, "old_mode") == value)
                    SetNum(player, "count", GetNum(player, "count") + 1);
                else
                    SetNum(player, "count", 0);
                SetNum(player, "mode", value);
                State chosen = capture();
                if (seen_states_.insert(chosen).second) queue.push_back(chosen);
            }
            return;
        }
        if (!seen_states_.insert(next).second) return;
    }
}

void Checker::setup_interpreter() {
    g_active = this;
    ResetScenario();
    g_game.play_list = game_.play_list;
    g_game.text_lib = game_.text_lib;
    g_game.player = game_.player;
    g_game.gsys = game_.gsys;
    g_scenario.mode_word = mode_word;  // also for the mode labels of <Compute> in pass 1
    g_scenario.auto_save = hook_auto_save;
    g_scenario.restore_save = hook_restore_save;
    g_scenario.bad_end = hook_bad_end;
    g_scenario.get_player = hook_get_player;
}

void Checker::search(int max_states) {
    find_steering_items();
    for (Handle r = FirstRecord(game_.characters); r; r = NextRecord(r))
        characters_.push_back(r);
    if (!game_.play_list || characters_.empty()) return;

    // The game's first start copies the player into the automatic save.
    const HandleEntry* e = handle_entry(game_.player);
    const uint8_t* body = record_body(game_.player);
    current_ = State{};
    if (e && body) current_.saved.assign(body, body + e->size);
    State start = capture();
    std::deque<State> queue{start};
    seen_states_.insert(start);
    while (!queue.empty()) {
        if (int(seen_states_.size()) >= max_states) {
            out_.bounded = true;
            break;
        }
        State s = queue.front();
        queue.pop_front();
        play_from(s, queue);
    }
    out_.states = int(seen_states_.size());

    std::vector<Handle> records;
    for (Handle r = FirstRecord(game_.play_list); r; r = NextRecord(r))
        if (!reached_.count(r)) records.push_back(r);
    std::stable_sort(records.begin(), records.end(), [this](Handle a, Handle b) {
        return std::tie(origins_[a].file, origins_[a].record) <
               std::tie(origins_[b].file, origins_[b].record);
    });
    for (Handle r : records)
        add_at(r, nullptr, 0,
               out_.bounded ? "never played within the search bound of " +
                                  std::to_string(max_states) + " states"
                            : std::string("never played: no path of choices from the start state "
                                          "reaches it"));
}

GameCheck Checker::run(int max_states) {
    if (!load()) {
        out_.status = 2;
        return out_;
    }
    setup_interpreter();
    check_settings();
    check_records();
    search(max_states);
    out_.status = out_.findings.empty() ? 0 : 1;
    return out_;
}

}  // namespace

GameCheck CheckGame(int max_states) {
    Checker checker;
    GameCheck result = checker.run(max_states);
    g_active = nullptr;
    ResetScenario();
    return result;
}
