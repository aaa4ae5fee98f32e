// Drives a built engine executable the way a front end does: pipes to its standard input and
// output, lines written and read with time-outs, in a fresh temporary working folder.
#pragma once

#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace corvid::test {

class EngineProcess {
public:
    // Starts the program (no arguments) in a new temporary folder; that folder is removed when
    // the object is destroyed.
    explicit EngineProcess(const std::string& program);
    // The same, with files (name, content) written into the folder before the program starts.
    EngineProcess(const std::string& program,
                  const std::vector<std::pair<std::string, std::string>>& files);
    ~EngineProcess();
    EngineProcess(const EngineProcess&) = delete;
    EngineProcess& operator=(const EngineProcess&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }
    const std::string& folder() const { return folder_; }

    void send(const std::string& line); // a newline is added
    void closeInput();
    // The next output line, or false when none came within the time-out (or the output ended).
    bool readLine(std::string& line, int timeoutMs);
    // Reads lines until one starts with prefix; every line read is appended to seen (when
    // given). False on time-out or end of output.
    bool waitFor(const std::string& prefix, int timeoutMs, std::vector<std::string>* seen = nullptr,
                 std::string* found = nullptr);
    // Every line that arrives within the time (the engine keeps running).
    std::vector<std::string> linesWithin(int milliseconds);
    // Waits for the process to end; its exit code, or -1 on time-out (the process is then
    // killed), or 128 + signal when a signal ended it.
    int waitExit(int timeoutMs);

private:
    pid_t pid_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
    std::string buffer_;
    bool outputEnded_ = false;
    std::string folder_;
};

// Milliseconds on a steady clock (for the driver's own time-outs and measurements).
long long steadyMilliseconds();

} // namespace corvid::test
