#include "system/system_run.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "host/sjis.h"

extern char** environ;

std::string Command(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return "";
    std::string out;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    return pclose(pipe) == 0 ? out : "";
}

void SystemTest::SetUp() {
    char pattern[] = "/tmp/noma-system-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
}

void SystemTest::TearDown() {
    for (pid_t pid : started_) {
        if (kill(pid, 0) == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void SystemTest::UseData(const std::string& name) {
    std::filesystem::copy(std::string(NOMA_SOURCE_DIR) + "/tests/system/data/" + name, folder_,
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
}

void SystemTest::Write(const std::string& name, const std::string& content) {
    WriteFileBytes(folder_ + "/" + name, content);
}

std::string SystemTest::Read(const std::string& name) {
    return ReadFileBytes(folder_ + "/" + name);
}

void SystemTest::SetIni(const std::string& key, const std::string& value) {
    std::istringstream in(Read("NOMA.ini"));
    std::string out, line;
    bool found = false;
    while (std::getline(in, line)) {
        if (line.rfind(key + " ", 0) == 0) {
            found = true;
            if (value.empty()) continue;
            line = key + " " + value;
        }
        out += line + "\n";
    }
    if (!found && !value.empty()) out += key + " " + value + "\n";
    Write("NOMA.ini", out);
}

pid_t SystemTest::Start(const std::vector<std::string>& args, const std::vector<std::string>& env) {
    std::vector<std::string> argv_text = wrapper_;
    argv_text.insert(argv_text.end(),
                     {std::string(NOMA_BINARY_DIR) + "/" + program_, "--data", folder_});
    argv_text.insert(argv_text.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argv_text)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    // NAME=value sets a variable, a bare NAME removes it.
    auto name_of = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
    std::vector<std::string> env_text;
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        bool replaced = false;
        for (const std::string& change : env)
            replaced = replaced || name_of(entry) == name_of(change);
        if (!replaced) env_text.push_back(entry);
    }
    for (const std::string& change : env)
        if (change.find('=') != std::string::npos) env_text.push_back(change);
    std::vector<char*> envp;
    for (std::string& e : env_text)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    ++run_;
    std::string out = folder_ + "/.out" + std::to_string(run_);
    std::string err = folder_ + "/.err" + std::to_string(run_);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    EXPECT_EQ(failed, 0) << "cannot start " << argv[0];
    if (failed) return -1;
    started_.push_back(pid);
    return pid;
}

NomaRun SystemTest::Wait(pid_t pid, int timeout_ms) {
    NomaRun run;
    if (pid <= 0) return run;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    int status = 0;
    for (;;) {
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            run.timed_out = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!run.timed_out && WIFEXITED(status)) run.exit_status = WEXITSTATUS(status);
    const auto index =
        std::to_string(std::find(started_.begin(), started_.end(), pid) - started_.begin() + 1);
    run.out = ReadFileBytes(folder_ + "/.out" + index);
    run.err = ReadFileBytes(folder_ + "/.err" + index);
    return run;
}

NomaRun SystemTest::Run(const std::vector<std::string>& args, const std::vector<std::string>& env,
                        int timeout_ms) {
    return Wait(Start(args, env), timeout_ms);
}

std::vector<std::string> SystemTest::Log() {
    return ReadLines(folder_ + "/TEST.LOG");
}

int SystemTest::LogCount(const std::string& part) {
    int n = 0;
    for (const std::string& line : Log())
        n += line.find(part) != std::string::npos;
    return n;
}

bool SystemTest::WaitForLog(const std::string& line, int timeout_ms) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (std::chrono::steady_clock::now() < deadline) {
        for (const std::string& l : Log())
            if (l == line) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

::testing::AssertionResult SystemTest::LogInOrder(const std::vector<std::string>& expected) {
    std::vector<std::string> log = Log();
    size_t at = 0;
    for (const std::string& want : expected) {
        bool prefix = !want.empty() && want.back() == '*';
        std::string text = prefix ? want.substr(0, want.size() - 1) : want;
        while (at < log.size() && !(prefix ? log[at].rfind(text, 0) == 0 : log[at] == text))
            ++at;
        if (at == log.size()) {
            std::string shown;
            for (const std::string& l : log)
                shown += "  " + SjisToUtf8(l) + "\n";
            return ::testing::AssertionFailure()
                   << "missing in order: \"" << SjisToUtf8(want) << "\"; the log:\n"
                   << shown;
        }
        ++at;
    }
    return ::testing::AssertionSuccess();
}

std::vector<std::string> ShutdownLines() {
    return {Sj("ShutDownEventを受け取りました　終了します。"),
            Sj("終了時ｵｰﾌﾟﾝされていたｽﾄﾘｰﾑ数 *")};
}
