// The checker reads a Compute text the way the evaluator does (blanks removed, operands ended
// by the evaluator's own operator set, Shift-JIS characters whole) but, instead of computing,
// stops at the first place where the evaluator would fail or silently read something else than
// the author wrote: a missing operand, an operator that cannot stand there, a lone "=", a
// bracket without its partner, text after a comparison.
#include "tools/nomatool/check_expression.h"

#include <cstring>

#include "resource/compute_expr.h"

namespace {

constexpr char kGsys[] = ".gsys";

// Where a ".gsys" reference's item name ends (the game's rule for the rewrite).
bool ends_gsys_name(char c) {
    return c == '\0' || std::strchr(" ;,=+-/*&|><.", c) != nullptr;
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// Printable form of the character at a position, for messages.
std::string shown(const std::string& t, size_t p) {
    if (p >= t.size()) return "the end";
    if (t[p] == '\n') return "a line break";
    return "'" + std::string(1, t[p]) + "'";
}

class Reader {
public:
    Reader(std::string text, ExpressionCheck& out) : t_(std::move(text)), out_(out) {}

    // The ".gsys" references become the number 0 (the game puts the item's value there);
    // blanks go; brackets are checked and each replaced by 0, innermost first.
    bool prepare() {
        for (size_t p = t_.find(kGsys); p != std::string::npos; p = t_.find(kGsys, p)) {
            size_t name = p + std::strlen(kGsys);
            if (name >= t_.size()) return fail("\".gsys\" without an item name");
            ++name;  // the one separator character after ".gsys"
            size_t end = name;
            while (!ends_gsys_name(t_[end]))
                end += (uint8_t(t_[end]) >= 0x81 && end + 1 < t_.size()) ? 2 : 1;
            if (end == name) return fail("\".gsys\" without an item name");
            out_.gsys.push_back(t_.substr(name, end - name));
            t_.replace(p, end - p, "0");
            p += 1;
        }
        ComputeRemoveBlanks(t_);
        // A value that ends its line may carry the line break; the evaluator stops there.
        while (!t_.empty() && (t_.back() == '\n' || t_.back() == '\r'))
            t_.pop_back();
        for (;;) {
            size_t open = t_.find('(');
            if (open == std::string::npos) break;
            size_t close = t_.find(')', open);
            if (close == std::string::npos) return fail("'(' without ')'");
            size_t inner = t_.rfind('(', close);
            std::string inside = t_.substr(inner + 1, close - inner - 1);
            Reader sub(inside, out_);
            size_t p = 0;
            if (!sub.expression(p)) return fail(out_.problem);
            if (p != inside.size())
                return fail("only an arithmetic expression may stand in brackets, not " +
                            shown(inside, p));
            t_.replace(inner, close - inner + 1, "0");
        }
        if (t_.find(')') != std::string::npos) return fail("')' without '('");
        return true;
    }

    // operand { + - * / % operand }; `p` ends on the character that ended it.
    bool expression(size_t& p) {
        if (!operand(p)) return false;
        while (!ComputeEndsExpression(t_[p])) {
            char op = t_[p];
            if (!std::strchr("+-*/%", op))
                return fail("operator " + shown(t_, p) + " cannot stand between operands");
            ++p;
            if (!operand(p)) return false;
        }
        return true;
    }

    bool condition() {
        if (t_.empty()) return fail("empty condition");
        size_t p = 0;
        for (;;) {
            if (!expression(p)) return false;
            char relation = t_[p];
            if (!relation || !std::strchr("<>=!", relation))
                return fail("comparison without a relation (== != < > <= >=) before " +
                            shown(t_, p));
            ++p;
            bool or_equal = t_[p] == '=';
            if (or_equal) ++p;
            if (relation == '=' && !or_equal) return fail("'=' alone is no comparison: write '=='");
            if (relation == '!' && !or_equal) return fail("'!' alone is no comparison: write '!='");
            if (!expression(p)) return false;
            if (!t_[p]) return true;
            if (t_[p] != '&' && t_[p] != '|')
                return fail("expected && or || after a comparison, not " + shown(t_, p));
            ++p;
            if (t_[p] == '&' || t_[p] == '|') ++p;
            if (!t_[p]) return fail("the condition ends with a connective");
        }
    }

    bool statements(const std::function<bool(const std::string&)>& is_string) {
        const size_t bracket_names = out_.names.size();  // read while brackets were replaced
        size_t p = 0;
        for (;;) {
            while (t_[p] == ';')
                ++p;
            if (!t_[p]) return true;
            if (t_[p] == '\n') {
                if (t_.find_first_not_of("\n;", p) != std::string::npos)
                    return fail("the text after a line break is never run");
                return true;
            }
            size_t name_end = ComputeOperandEnd(t_.c_str(), p);
            if (name_end == p) return fail("statement without an item name at " + shown(t_, p));
            std::string name = t_.substr(p, name_end - p);
            if (is_digit(name[0])) return fail("a number cannot be assigned: " + name);
            out_.names.push_back(name);
            const size_t first = out_.names.size();
            // Names read by this statement: its own after the item, and those in brackets.
            auto assigned = [&] {
                std::vector<std::string> reads(out_.names.begin() + long(first), out_.names.end());
                reads.insert(reads.end(), out_.names.begin(),
                             out_.names.begin() + long(bracket_names));
                out_.assignments.emplace_back(name, reads);
            };
            char op = t_[name_end];
            size_t q = name_end;
            if (is_string(name)) {
                if (op != '=') return fail(name + " is a string item: only '=' can set it");
                while (t_[q] && t_[q] != ';')
                    ++q;
                p = q;
                assigned();
                continue;
            }
            if ((op == '+' || op == '-') && t_[q + 1] == op) {
                p = q + 2;
                assigned();
                if (t_[p] && t_[p] != ';' && t_[p] != '\n')
                    return fail("expected ';' after " + name + op + op + ", not " + shown(t_, p));
                continue;
            }
            if (op == '=') {
                q += 1;
            } else if (op && std::strchr("+-*/%|", op)) {
                if (t_[q + 1] != '=')
                    return fail(std::string("write '") + op + "=' to assign to " + name);
                q += 2;
            } else {
                return fail("no assignment to " + name + ": " + shown(t_, q) +
                            " is no assignment operator");
            }
            if (!expression(q)) return false;
            if (t_[q] && t_[q] != ';' && t_[q] != '\n')
                return fail("expected ';' after the value of " + name + ", not " + shown(t_, q));
            assigned();
            p = q;
        }
    }

private:
    bool operand(size_t& p) {
        size_t end = ComputeOperandEnd(t_.c_str(), p);
        if (end == p) {
            if (t_[p] == '-')
                return fail("missing operand before '-' (there is no minus sign: write 0-n)");
            return fail("missing operand before " + shown(t_, p));
        }
        std::string word = t_.substr(p, end - p);
        if (word.find('\n') != std::string::npos)
            return fail("a line break inside an expression: the evaluator reads on across it");
        if (is_digit(word[0])) {
            for (char c : word)
                if (!is_digit(c)) return fail("'" + word + "' is neither a number nor a name");
        } else {
            out_.names.push_back(word);
        }
        p = end;
        return true;
    }

    bool fail(const std::string& problem) {
        if (out_.problem.empty()) out_.problem = problem;
        return false;
    }

    std::string t_;
    ExpressionCheck& out_;
};

}  // namespace

ExpressionCheck CheckCondition(const std::string& text) {
    ExpressionCheck out;
    Reader reader(text, out);
    if (reader.prepare()) reader.condition();
    return out;
}

ExpressionCheck CheckStatements(const std::string& text,
                                const std::function<bool(const std::string&)>& is_string) {
    ExpressionCheck out;
    Reader reader(text, out);
    if (reader.prepare()) reader.statements(is_string);
    return out;
}
