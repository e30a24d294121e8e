// String utilities: word splitting with the system's separators, command parameters, blank
// removal, substring search, in-place insertion and replacement, character counting and
// full-width to half-width conversion. Texts are NUL-terminated Shift-JIS and are edited in
// place; the caller's buffer must have room for any growth.
#pragma once

// The word separators: blank, ';' and ','.
inline bool IsSeparator(char c) {
    return c == ' ' || c == ';' || c == ',';
}

// The first character of `p` that is not a separator; `p` itself when the text holds nothing
// but separators (or nothing at all).
char* SkipSeparators(char* p);
const char* SkipSeparators(const char* p);

// Skips leading separators, copies the word up to the next separator or the end into `out`
// and returns the position where copying stopped.
char* NextWord(char* p, char* out);
const char* NextWord(const char* p, char* out);

// The word after the n-th run of blanks (n from 1): copied into `out`, result 1. Result 0 (and
// `out` empty) when the text ends first.
int NthParam(const char* p, int n, char* out);
// The decimal value of NthParam(p, n); 0 when there is no such parameter.
int NthParamNum(const char* p, int n);

// Deletes every blank and tab of `p`. Returns 0.
int RemoveBlanks(char* p);

// The position (from 1) of `word` in `text`, or 0. After a partial match fails, matching starts
// again with the first character of `word` at the character after the one that failed, so
// "ab" is not found in "aab". An empty word is never found.
int FindText(const char* text, const char* word);

// Inserts the first `n` characters of `src` (all of it when n is 0, at most its length) at
// `dst`, moving the rest of the destination right. Returns `dst`.
char* InsertText(const char* src, char* dst, int n);

// Replaces the bytes [from, to) of the text `whole` with `replacement`, moving the rest of the
// text left or right. Returns the position after the replacement.
char* ReplaceSection(char* whole, char* from, char* to, const char* replacement);

// Number of characters of `p`; a lead byte and the byte after it count as one.
int CharCount(const char* p);

// When `p` holds the full-width form of a printable ASCII character, replaces the two bytes by
// that character and a NUL and returns 1; otherwise returns 0 and changes nothing.
int ToHalfWidth(char* p);
