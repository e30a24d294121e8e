// The fuzz targets' path arguments: made absolute before a target leaves its start folder.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The targets work in a folder of their own, entered before the first input runs, while
// libFuzzer reads corpus folders, seed files and dictionaries by the names it was given, after
// that first input. Called from LLVMFuzzerInitialize, before libFuzzer takes its arguments,
// this rewrites every relative path argument (corpus folders and files, and the path-valued
// flags) to an absolute one, so they name the same files from any folder. argv[0] stays.
inline void MakeFuzzPathsAbsolute(int* argc, char*** argv) {
    static const char* const kPathFlags[] = {
        "dict",         "artifact_prefix",    "exact_artifact_path",
        "features_dir", "merge_control_file", "data_flow_trace",
        "seed_inputs"};
    static std::vector<std::string> rewritten;  // the new arguments live as long as the run
    rewritten.reserve(size_t(*argc));
    auto absolute = [](std::string_view path) {
        if (path.empty() || path.front() == '/') return std::string(path);
        std::error_code error;
        std::filesystem::path full = std::filesystem::absolute(std::string(path), error);
        return error ? std::string(path) : full.string();
    };
    for (int i = 1; i < *argc; ++i) {
        std::string_view argument = (*argv)[i];
        std::string changed;
        if (!argument.starts_with("-")) {
            changed = absolute(argument);
        } else {
            size_t equals = argument.find('=');
            if (equals == std::string_view::npos) continue;
            std::string_view flag = argument.substr(1, equals - 1);
            std::string_view value = argument.substr(equals + 1);
            bool is_path = false;
            for (const char* name : kPathFlags)
                is_path = is_path || flag == name;
            if (!is_path) continue;
            changed = std::string(argument.substr(0, equals + 1));
            if (flag == "seed_inputs") {
                // A comma-separated list of files, or "@" and a file that lists them.
                if (value.starts_with("@")) {
                    changed += "@" + absolute(value.substr(1));
                } else {
                    for (size_t start = 0; start <= value.size();) {
                        size_t comma = value.find(',', start);
                        if (comma == std::string_view::npos) comma = value.size();
                        if (start) changed += ",";
                        changed += absolute(value.substr(start, comma - start));
                        start = comma + 1;
                    }
                }
            } else {
                changed += absolute(value);
            }
        }
        if (changed == argument) continue;
        rewritten.push_back(std::move(changed));
        (*argv)[i] = rewritten.back().data();
    }
}
