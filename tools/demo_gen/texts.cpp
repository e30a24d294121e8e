// The game's texts: every file under the source folder, written in UTF-8, becomes the same file
// in Shift-JIS. A character without a Shift-JIS form is an error, not a silent "?".
#include "tools/demo_gen/texts.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "host/sjis.h"

namespace fs = std::filesystem;

std::string TextToSjis(const std::string& utf8, const std::string& name) {
    std::string sjis = Utf8ToSjis(utf8);
    if (SjisToUtf8(sjis) != utf8) {
        // Find the first line that does not survive the round trip, for the message.
        size_t line = 1, start = 0;
        while (start < utf8.size()) {
            size_t end = utf8.find('\n', start);
            if (end == std::string::npos) end = utf8.size();
            const std::string piece = utf8.substr(start, end - start);
            if (SjisToUtf8(Utf8ToSjis(piece)) != piece) break;
            start = end + 1;
            ++line;
        }
        throw std::runtime_error(name + ":" + std::to_string(line) +
                                 ": a character has no Shift-JIS form");
    }
    if (!sjis.empty() && sjis.back() != '\n') sjis += '\n';  // key files skip an open last line
    return sjis;
}

void AddTexts(FileSet& files, const std::string& source_dir) {
    std::vector<fs::path> paths;
    for (const auto& entry : fs::recursive_directory_iterator(source_dir))
        if (entry.is_regular_file()) paths.push_back(entry.path());
    for (const fs::path& path : paths) {
        std::ifstream in(path, std::ios::binary);
        const std::string utf8((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        const std::string name = fs::relative(path, source_dir).generic_string();
        const std::string sjis = TextToSjis(utf8, name);
        files[name] = std::vector<uint8_t>(sjis.begin(), sjis.end());
    }
}
