// The scenario tag interpreter: picks the scenario record that holds for the player, walks its
// text executing command tags and replacing text-library words, and shows what is left one
// page at a time in the main window's message object. State lives in g_scenario
// (game/scenario_context.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/pool.h"

// Tag results.
enum TagResult : int {
    TAG_TEXT = 0,     // no command: a library word, an item, or plain text
    TAG_DONE = 1,     // executed and removed
    TAG_STOP = 2,     // Select or input: the page ends here
    TAG_NO_TEXT = 3,  // kept; the page is not shown when a stop follows
    TAG_DRAW = 4,     // kept for the text drawing and the text effect
};

// Plays the next page, entering the next scenario record first when the current text is done.
// 1 when a page is still being drawn (nothing happens), else 0.
int action_ilvane(Handle task);
// Runs the scan over the continuation and shows the page: 1 when there is no current record.
int text_step(Handle task);
// The scan from `source` (inside g_scenario.text, or any NUL-terminated text) into `output`
// (kScenarioTextSize bytes): 0, 2 at a stop that ended the text, 3 at a stop after NoText.
int exec_command(Handle task, char* source, char* output);
// Executes one tag; `parameters` has its blanks removed already.
int tag_dispatch(Handle task, const char* name, const char* parameters);
// Takes a choice of the select menu.
void SelectMenu(Handle task, int value);
// Puts the page into the message object and starts its text effect: 0 when shown, 1 when not.
int show_message(Handle task, char* text);
// Removes every tag of `text` in place.
void delete_tag(char* text);
// Splits the text of a tag (what stands between '<' and '>') as the scan does: `name` gets its
// first word, ended by a blank, a tab, ';' or ','; `parameters` the rest with every blank and
// tab removed. Each needs room for strlen(text) + 1 bytes.
void SplitTagText(const char* text, char* name, char* parameters);
// True when `name` is in the tag table: a command, a stop, NoText or a drawing tag.
bool IsTableTag(const char* name);
// Serves the player record's ILVrequest; returns the value read.
int run_request(Handle task);

// Copies the record's TEXT into the text buffer (the continuation at its start) and runs its
// Compute on the player record.
void EnterScenarioRecord(Handle record);
// The first scenario record whose Compare holds for the player record, or 0.
Handle find_scenario_record(Handle task);
// The first TextLib record of `word` whose Compare holds, or 0.
Handle find_textlib_record(const char* word);
// Replaces each ".gsys" reference of `text` by the graphic-system record's number, growing the
// text within `capacity` bytes (NUL included). A reference whose value does not fit stays.
void expand_gsys_refs(char* text, size_t capacity);
// Replaces each word of the expression that is one of the first nine labels of a mode by the
// value it stands for (label k: k - 1).
void replace_mode_labels(char* expression);

// Fills the select menu from a select list (the Select tag and a restored game).
void FillSelectMenu(const char* list);
// The values FillSelectMenu gives the select items of `list` for the player record now, in
// order (kSelectItems at most); returns how many words the list has.
int SelectValues(const char* list, int32_t* values);

// True when cut-in slot `slot` holds an animation script (a name ending in ".ani").
bool CutInIsAnimation(int slot);
