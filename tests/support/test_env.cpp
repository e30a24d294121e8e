#include "support/test_env.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "kernel/log.h"
#include "kernel/pool.h"
#include "kernel/system.h"
#include "resource/resource.h"

void NomaTest::SetUp() {
    char buffer[4096];
    old_folder_ = getcwd(buffer, sizeof buffer) ? buffer : ".";
    char pattern[] = "/tmp/noma-test-XXXXXX";
    folder_ = mkdtemp(pattern);
    ASSERT_EQ(chdir(folder_.c_str()), 0);
    StoreSystemFlags(FLAG_TRACE);
    g_system.phase = PHASE_INIT;
    WriteFile("NOMA.ini", "Sys.error.elogfile test.log\n");
    OpenErrorLog();
    UsePool(64 * 1024 * 1024, 4096);
}

void NomaTest::TearDown() {
    CloseErrorLog();
    ResetResources();
    DestroyPool();
    if (chdir(old_folder_.c_str()) != 0) std::abort();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void NomaTest::UsePool(uint32_t bytes, uint32_t entries) {
    ResetResources();
    ASSERT_TRUE(CreatePoolSized(bytes, entries));
}

std::vector<std::string> NomaTest::LogLines() {
    if (ErrorLogStream()) std::fflush(ErrorLogStream());
    std::vector<std::string> lines;
    std::istringstream in(ReadFile("test.log"));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool NomaTest::Logged(const std::string& line) {
    for (const std::string& l : LogLines())
        if (l == line) return true;
    return false;
}

void NomaTest::WriteFile(const std::string& name, const std::string& content) {
    std::ofstream out(name, std::ios::binary);
    out << content;
}

std::string NomaTest::ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
