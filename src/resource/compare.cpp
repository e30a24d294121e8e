#include <cstring>
#include <string>

#include "core/log.h"
#include "host/sjis.h"
#include "host/sjis_literal.h"
#include "resource/compute.h"
#include "resource/compute_expr.h"

namespace {

bool is_connective(char c) {
    return c == '|' || c == '&';
}
bool is_relation(char c) {
    return c == '>' || c == '<' || c == '=' || c == '!';
}

// Moves `p` to the next connective or the end, stepping over Shift-JIS characters.
void skip_to_connective(const char* text, size_t& p) {
    while (text[p] && !is_connective(text[p]))
        p += IsSjisLead(uint8_t(text[p])) && text[p + 1] ? 2 : 1;
}

// One comparison at `p`: left relation right. A comparison without a relation is false.
// False in `ok` when an expression cannot be evaluated.
bool comparison(Handle record, char* text, size_t& p, bool& ok) {
    int32_t left = 0;
    if (!ComputeExpression(record, text, p, left)) return ok = false;
    char relation = text[p];
    if (!is_relation(relation)) {
        skip_to_connective(text, p);
        return false;
    }
    ++p;
    bool or_equal = text[p] == '=';
    if (or_equal) ++p;
    // Several expressions in a row up to the connective: the last one counts.
    int32_t right = 0;
    if (!ComputeExpression(record, text, p, right)) return ok = false;
    while (text[p] && !is_connective(text[p])) {
        ++p;
        if (!ComputeExpression(record, text, p, right)) return ok = false;
    }
    if (relation == '!') return or_equal && left != right;
    if (or_equal && left == right) return true;
    if (relation == '>') return left > right;
    if (relation == '<') return left < right;
    return false;  // a lone "=" is no relation
}

int run(Handle record, std::string& text) {
    ComputeRemoveBlanks(text);
    if (!ComputeBrackets(record, text)) {
        LogLine("CompareRecord() brackets() error");
        return 0;
    }
    char* t = text.data();
    size_t p = 0;
    bool result = false;
    bool first = true;
    char connective = 0;
    for (;;) {
        bool ok = true;
        bool holds = comparison(record, t, p, ok);
        if (!ok) return 0;
        if (first) {
            result = holds;
            first = false;
        } else if (connective == '&') {
            result = result && holds;
        } else {
            LogLine("論理演算　||"_sj);
            LogLine(t);
            result = result || holds;
        }
        if (!t[p]) break;
        connective = t[p++];
        if (is_connective(t[p])) connective = t[p++];
        if (!t[p]) break;
    }
    return result ? 1 : 0;
}

}  // namespace

int CompareRecord(Handle record, char* text, size_t capacity) {
    if (!text || capacity == 0) return 0;
    std::string work(text, strnlen(text, capacity));
    int result = run(record, work);
    ComputeWriteBack(work, text, capacity);
    return result;
}

int CompareRecord(Handle record, char* text) {
    return text ? CompareRecord(record, text, std::strlen(text) + 1) : 0;
}

int CompareRecordCopy(Handle record, const char* text) {
    if (!text) return 0;
    std::string work(text);
    return run(record, work);
}
