#include "resource/compute.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "core/log.h"
#include "host/sjis_literal.h"
#include "resource/compute_expr.h"
#include "resource/resource.h"

namespace {

// A statement that cannot run: the text after its expression goes to the log.
void statement_error(const char* rest) {
    LogLinef("Compute error! -%s-", rest);
}

Handle owner_of(Handle record) {
    const HandleEntry* entry = handle_entry(record);
    return entry ? entry->owner : 0;
}

// name = text: the value runs to the next ";" or the end, unevaluated.
bool string_statement(Handle record, char* text, size_t& p, size_t name_end) {
    LogLinef("FORM文字列演算 -%s-を入れます"_sj, text + name_end);
    if (text[name_end] != '=') {
        statement_error(text + name_end);
        return false;
    }
    size_t value = name_end + 1;
    size_t end = value;
    while (text[end] && text[end] != ';')
        ++end;
    char saved = text[end];
    text[name_end] = '\0';
    text[end] = '\0';
    SetStr(record, text + p, text + value);
    LogLinef("FORM文字列演算 %sに-%s-をCOPY"_sj, text + p, text + value);
    text[name_end] = '=';
    text[end] = saved;
    p = end;
    return true;
}

void store(Handle record, char* text, size_t p, size_t name_end, int32_t value) {
    char saved = text[name_end];
    text[name_end] = '\0';
    SetNum(record, text + p, value);
    text[name_end] = saved;
}

// One statement at `p`; on success `p` ends where the statement ended.
bool statement(Handle record, char* text, size_t& p) {
    size_t name_end = ComputeOperandEnd(text, p);
    char saved = text[name_end];
    text[name_end] = '\0';
    int type = ItemType(owner_of(record), text + p);
    text[name_end] = saved;
    if (type == ITEMstring) return string_statement(record, text, p, name_end);

    int32_t current = ComputeOperand(record, text, p, name_end);
    char op = text[name_end];
    size_t q = name_end;
    bool valid = true;
    switch (op) {
        case '=':
            q += 1;
            break;
        case '+':
        case '-':
            if (text[q + 1] == op) {
                store(record, text, p, name_end, ComputeApply(op, current, 1));
                p = q + 2;
                return true;
            }
            [[fallthrough]];
        case '*':
        case '/':
        case '%':
        case '|':
            // A compound assignment: the operator and one more character, normally "=".
            if (!text[q + 1]) {
                statement_error(text + q + 1);
                return false;
            }
            q += 2;
            break;
        default:
            // "&", ";", ">", "<", "!", a stray ")" or a statement that is only a name.
            valid = false;
            if (op) q += 1;
            break;
    }
    int32_t value = 0;
    if (!ComputeExpression(record, text, q, value)) return false;
    if (!valid) {
        statement_error(text + q);
        return false;
    }
    store(record, text, p, name_end, op == '=' ? value : ComputeApply(op, current, value));
    p = q;
    return true;
}

int run(Handle record, std::string& text) {
    ComputeRemoveBlanks(text);
    if (!ComputeBrackets(record, text)) {
        LogLine("ComputeRecord() brackets() error");
        return 0;
    }
    char* t = text.data();
    size_t p = 0;
    for (;;) {
        while (t[p] == ';')
            ++p;  // empty statements do nothing
        if (t[p] == '\0' || t[p] == '\n') return int(p + 1);
        if (!statement(record, t, p)) return 0;
    }
}

}  // namespace

int ComputeRecord(Handle record, char* text, size_t capacity) {
    if (!text || capacity == 0) return 0;
    std::string work(text, strnlen(text, capacity));
    int result = run(record, work);
    ComputeWriteBack(work, text, capacity);
    return result;
}

int ComputeRecord(Handle record, char* text) {
    return text ? ComputeRecord(record, text, std::strlen(text) + 1) : 0;
}

int ComputeRecordCopy(Handle record, const char* text) {
    if (!text) return 0;
    std::string work(text);
    return run(record, work);
}
