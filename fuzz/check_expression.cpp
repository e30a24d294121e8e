// Fuzz target: arbitrary text through the checker's reading of conditions and statement lists.
// It must end without a crash, and every name it reports must be taken from the text itself
// (blanks removed); ".gsys" references and brackets are rewritten first, so texts holding them
// only have to be read safely.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tools/nomatool/check_expression.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    text = text.substr(0, text.find('\0'));
    std::string plain;
    for (char c : text)
        if (c != ' ' && c != '\t') plain += c;
    const bool rewritten =
        plain.find(".gsys") != std::string::npos || plain.find('(') != std::string::npos;
    auto is_string = [](const std::string& name) { return !name.empty() && name[0] == 's'; };
    for (const ExpressionCheck& check : {CheckCondition(text), CheckStatements(text, is_string)})
        for (const std::string& name : check.names)
            if (name.empty() || (!rewritten && plain.find(name) == std::string::npos)) std::abort();
    return 0;
}
