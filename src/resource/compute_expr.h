// The pieces that ComputeRecord and CompareRecord share: blank removal, operands, arithmetic
// expressions and bracket resolution, all on a writable working text owned by the caller.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/pool.h"

// The characters that end an operand: the operators, ";" and the brackets.
bool ComputeIsOperator(char c);
// The characters that end an arithmetic expression: > < = ! | & ; ^ and the text end.
bool ComputeEndsExpression(char c);

// Deletes every blank and tab.
void ComputeRemoveBlanks(std::string& text);
// Position of the first operand-ending character at or after `p` (or of the NUL). The trail
// byte of a Shift-JIS character never ends an operand, even where it is "|".
size_t ComputeOperandEnd(const char* text, size_t p);
// Value of the operand text[begin, end): its leading digits when it starts with a digit,
// otherwise GetNum of the name (-1 when it does not resolve). `text` is briefly cut at `end`.
int32_t ComputeOperand(Handle record, char* text, size_t begin, size_t end);
// Evaluates operand { + - * / % operand } at `p` into `value`, left to right; `p` ends on the
// character that ended the expression. False (logged) when an operator it cannot apply stands
// between two operands.
bool ComputeExpression(Handle record, char* text, size_t& p, int32_t& value);
// Replaces the innermost bracket by its value until none is left; false when a "(" has no ")"
// after it.
bool ComputeBrackets(Handle record, std::string& text);

// Wrapping 32-bit arithmetic; division and remainder by zero are defined (see the .cpp).
int32_t ComputeApply(char op, int32_t left, int32_t right);

// Copies the rewritten working text back into a caller's buffer of `capacity` bytes.
void ComputeWriteBack(const std::string& text, char* buffer, size_t capacity);
