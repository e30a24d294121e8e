// demo_gen: makes every generated file of the demo game (texts in Shift-JIS, pictures, music,
// sound effects) and writes them into the game folder, checks that the folder holds them as
// they are made now, or writes PNG copies of the pictures for looking at them.
//
//   demo_gen write SOURCE_DIR GAME_DIR
//   demo_gen check SOURCE_DIR GAME_DIR     exit 1 when a file differs or is missing
//   demo_gen preview PNG_DIR
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "host/png.h"
#include "tools/demo_gen/pictures.h"
#include "tools/demo_gen/sound_files.h"
#include "tools/demo_gen/texts.h"

namespace fs = std::filesystem;

namespace {

FileSet make_all(const std::string& source_dir) {
    FileSet files;
    AddTexts(files, source_dir);
    AddPictures(files);
    AddMusic(files);
    AddSounds(files);
    return files;
}

int write(const FileSet& files, const fs::path& dir) {
    for (const auto& [name, bytes] : files) {
        const fs::path path = dir / name;
        fs::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "demo_gen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    std::printf("demo_gen: %zu files written to %s\n", files.size(), dir.c_str());
    return 0;
}

int check(const FileSet& files, const fs::path& dir) {
    int stale = 0;
    for (const auto& [name, bytes] : files) {
        std::ifstream in(dir / name, std::ios::binary);
        const std::vector<uint8_t> have((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
        if (!in.is_open() || have != bytes) {
            std::fprintf(stderr, "demo_gen: %s is %s\n", (dir / name).c_str(),
                         in.is_open() ? "out of date" : "missing");
            ++stale;
        }
    }
    if (stale) {
        std::fprintf(stderr,
                     "demo_gen: %d generated files differ; run `demo_gen write` (make demo-data) "
                     "and commit them\n",
                     stale);
        return 1;
    }
    std::printf("demo_gen: all %zu generated files are up to date\n", files.size());
    return 0;
}

int preview(const fs::path& dir) {
    FileSet files;
    std::map<std::string, Canvas> canvases;
    AddPictures(files, &canvases);
    for (const auto& [name, canvas] : canvases) {
        std::vector<uint32_t> pixels;
        for (Rgb p : canvas.pixels())
            pixels.push_back(uint32_t(p.b) << 16 | uint32_t(p.g) << 8 | p.r);
        fs::path path = dir / name;
        path.replace_extension(".png");
        fs::create_directories(path.parent_path());
        if (!HostWritePng(path.c_str(), pixels.data(), canvas.width(), canvas.height())) {
            std::fprintf(stderr, "demo_gen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    std::printf("demo_gen: %zu pictures in %s\n", canvases.size(), dir.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    try {
        if ((command == "write" || command == "check") && argc == 4) {
            const FileSet files = make_all(argv[2]);
            return command == "write" ? write(files, argv[3]) : check(files, argv[3]);
        }
        if (command == "preview" && argc == 3) return preview(argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "demo_gen: %s\n", e.what());
        return 1;
    }
    std::fprintf(stderr,
                 "usage: demo_gen write SOURCE_DIR GAME_DIR | check SOURCE_DIR GAME_DIR | "
                 "preview PNG_DIR\n");
    return 2;
}
