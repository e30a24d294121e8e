#include "resource/compute_expr.h"

#include <cstring>

#include "core/log.h"
#include "host/sjis.h"
#include "resource/resource.h"

namespace {

struct CharSet {
    bool member[256] = {};
    constexpr CharSet(const char* chars, bool with_nul) {
        for (; *chars; ++chars)
            member[uint8_t(*chars)] = true;
        member[0] = with_nul;
    }
};

constexpr CharSet kOperators("=+-/*%;><!|&()", false);
constexpr CharSet kExpressionEnds("><=!|&;^", true);

}  // namespace

bool ComputeIsOperator(char c) {
    return kOperators.member[uint8_t(c)];
}

bool ComputeEndsExpression(char c) {
    return kExpressionEnds.member[uint8_t(c)];
}

void ComputeRemoveBlanks(std::string& text) {
    size_t out = 0;
    for (char c : text)
        if (c != ' ' && c != '\t') text[out++] = c;
    text.resize(out);
}

size_t ComputeOperandEnd(const char* text, size_t p) {
    while (text[p]) {
        if (IsSjisLead(uint8_t(text[p])) && text[p + 1]) {
            p += 2;
        } else if (ComputeIsOperator(text[p])) {
            break;
        } else {
            ++p;
        }
    }
    return p;
}

int32_t ComputeOperand(Handle record, char* text, size_t begin, size_t end) {
    if (text[begin] >= '0' && text[begin] <= '9') {
        uint32_t value = 0;
        for (size_t i = begin; i < end && text[i] >= '0' && text[i] <= '9'; ++i)
            value = value * 10 + uint32_t(text[i] - '0');
        return int32_t(value);
    }
    char saved = text[end];
    text[end] = '\0';
    int32_t value = GetNum(record, text + begin);
    text[end] = saved;
    return value;
}

int32_t ComputeApply(char op, int32_t left, int32_t right) {
    uint32_t a = uint32_t(left), b = uint32_t(right);
    switch (op) {
        case '+':
            return int32_t(a + b);
        case '-':
            return int32_t(a - b);
        case '*':
            return int32_t(a * b);
        case '|':
            return int32_t(a | b);
        case '/':
        case '%':
            // Division by zero gives 0 and leaves the dividend as the remainder, so that
            // left == (left / right) * right + left % right still holds.
            if (right == 0) {
                LogLinef("Compute compute() zero divide! %d%c0", int(left), op);
                return op == '/' ? 0 : left;
            }
            if (right == -1) return op == '/' ? int32_t(0u - a) : 0;  // no trap on INT_MIN
            return op == '/' ? left / right : left % right;
        default:
            return right;
    }
}

bool ComputeExpression(Handle record, char* text, size_t& p, int32_t& value) {
    size_t end = ComputeOperandEnd(text, p);
    value = ComputeOperand(record, text, p, end);
    p = end;
    while (!ComputeEndsExpression(text[p])) {
        char op = text[p];
        if (op != '+' && op != '-' && op != '*' && op != '/' && op != '%') {
            LogLine("Compute compute() error!");
            return false;
        }
        end = ComputeOperandEnd(text, p + 1);
        value = ComputeApply(op, value, ComputeOperand(record, text, p + 1, end));
        p = end;
    }
    return true;
}

bool ComputeBrackets(Handle record, std::string& text) {
    for (;;) {
        size_t open = text.find('(');
        if (open == std::string::npos) return true;
        size_t close = text.find(')', open);
        if (close == std::string::npos) return false;
        size_t inner = text.rfind('(', close);
        // The inside holds neither bracket, so its expression cannot fail; it ends at the
        // first character that ends an expression and the rest of the inside is dropped.
        std::string inside = text.substr(inner + 1, close - inner - 1);
        size_t p = 0;
        int32_t value = 0;
        if (!ComputeExpression(record, inside.data(), p, value)) return false;
        text.replace(inner, close - inner + 1, std::to_string(value));
    }
}

void ComputeWriteBack(const std::string& text, char* buffer, size_t capacity) {
    if (!buffer || capacity == 0) return;
    size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}
