// The syntax of Compute texts as the evaluator reads them, for nomatool check: conditions
// (Compare items, select words) and statement lists (Compute items and tags). The evaluator
// never reports a fault to the author (a condition it cannot read is simply false, a statement
// list stops at its first bad statement), so this is where such texts get a message.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

struct ExpressionCheck {
    std::string problem;             // empty when the text parses; else what is wrong (English)
    std::vector<std::string> names;  // item names and name paths read or assigned, in order
    std::vector<std::string> gsys;   // item names of ".gsys" references
    // Each statement's item and the names its value reads (bracket values count for all).
    std::vector<std::pair<std::string, std::vector<std::string>>> assignments;
};

// A condition: comparison { && or || comparison }, a comparison being expression, relation
// (== != < > <= >=), expression.
ExpressionCheck CheckCondition(const std::string& text);

// Statements separated by ";": name = expression, name op= expression (op one of + - * / % |),
// name++ and name--; for a name that `is_string` says is a string item, name = text.
ExpressionCheck CheckStatements(const std::string& text,
                                const std::function<bool(const std::string&)>& is_string);
