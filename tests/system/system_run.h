// Whole-system runs: the real noma program started in a working folder of its own with the
// small data folders under tests/system/data, driven by input files, signals or an X server,
// and judged by its error log, its output and its exit status.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <string>
#include <vector>

#include "kit/boot.h"

struct NomaRun {
    int exit_status = -1;  // -1 when it ended by a signal or timed out
    bool timed_out = false;
    std::string out, err;
};

class SystemTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Copies tests/system/data/<name>/ into the working folder.
    void UseData(const std::string& name);
    void Write(const std::string& name, const std::string& content);
    std::string Read(const std::string& name);
    // Sets a key of NOMA.ini (an empty value removes the key's line).
    void SetIni(const std::string& key, const std::string& value);

    // Starts noma on the working folder with `args` after --data; `env` entries NAME=value are
    // set in its environment, bare NAMEs removed from it. The program runs under `wrapper_`
    // when that names a command (prlimit with its options, say).
    pid_t Start(const std::vector<std::string>& args, const std::vector<std::string>& env = {});
    // Waits for a started noma; kills it after `timeout_ms`.
    NomaRun Wait(pid_t pid, int timeout_ms);
    NomaRun Run(const std::vector<std::string>& args, const std::vector<std::string>& env = {},
                int timeout_ms = 60000);

    // The error log's lines (Shift-JIS bytes, line ends removed).
    std::vector<std::string> Log();
    // Log lines that contain `part`.
    int LogCount(const std::string& part);
    // Waits until some log line equals `line`.
    bool WaitForLog(const std::string& line, int timeout_ms);
    // Every line of `expected` appears in the log in this order (other lines may come between);
    // a line ending in "*" matches every log line that begins with the rest of it.
    ::testing::AssertionResult LogInOrder(const std::vector<std::string>& expected);

    std::vector<std::string> wrapper_;
    std::string program_ = "noma";  // a program of the build's folder
    std::string folder_;
    std::vector<pid_t> started_;
    int run_ = 0;
};

// The manager's shutdown in the log: the request, then the count of streams left open.
std::vector<std::string> ShutdownLines();
// Runs a command to its end; its standard output, or "" when it failed.
std::string Command(const std::string& command);
