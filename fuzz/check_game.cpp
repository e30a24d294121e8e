// Fuzz target: the scenario checker on a small game whose play list and text library come from
// the input (split at the first 0xFF byte), after fixed header lines that define their items.
// Every run must end (the search bound is small) with a status of 0, 1 or 2 and only
// non-empty finding lines.
#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_folder.h"
#include "host/sjis_literal.h"
#include "tools/nomatool/check_game.h"

namespace {

void write(const char* name, const std::string& text) {
    WriteFuzzFile(name, text.data(), text.size());
}

void set_up() {
    EnterFuzzFolder("check-game", "Sys.error.elogfile /dev/null\n");
    mkdir("system", 0755);
    write("system/ilvane.res", std::string("PLAYER_NAME A\nRES_FILE scene.res\n") +
                                   "TEXTLIB_FILE tlib.res\nMODENAME1 place,town,forest\n" +
                                   "BG_FORMAT bg_%s.bmp,place\nDISPLAY1 gold\n");
    write("dusk_ilvane.res", std::string("characters\nResourceName ilvane_cahrcter.res\n") +
                                 "DataName Charcter\nItem " + "名前"_sj + " ITEMstring 20\n" +
                                 "Item place ITEMlimited 1 0\nItem gold ITEMlong\n" +
                                 "Item mode ITEMlong\nItem count ITEMlong\n" +
                                 "Item old_mode ITEMlong\nItem ILVrequest ITEMlong\n" +
                                 "StartData\n" + "名前"_sj + " A\nEndData\n");
    write("gsystem.res",
          "graphic system\nResourceName gamesystem.res\nDataName GameData\n"
          "Item now_sheet ITEMlong\nStartData\nnow_sheet 0\nEndData\n");
    write("bg_town.bmp", "BM");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    MakeFuzzPathsAbsolute(argc, argv);
    set_up();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    size_t cut = input.find('\xFF');
    std::string scene = input.substr(0, cut);
    std::string library = cut == std::string::npos ? "" : input.substr(cut + 1);
    write("scene.res",
          "scenario\nResourceName PlayList.res\nDataName PlayList\n"
          "Item Compare ITEMstring 256\nItem Compute ITEMstring 256\n"
          "Item TEXT ITEMstring 2048\n" +
              scene);
    write("tlib.res",
          "library\nResourceName tlibsave.res\nDataName TextLIBt\n"
          "Item textlib_word ITEMstring 20\nItem Compare ITEMstring 80\n"
          "Item Text ITEMstring 400\n" +
              library);
    GameCheck check = CheckGame(200);
    if (check.status < 0 || check.status > 2) std::abort();
    for (const std::string& line : check.findings)
        if (line.empty()) std::abort();
    return 0;
}
