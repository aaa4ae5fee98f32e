#include "support/engine_process.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace corvid::test {

long long steadyMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

EngineProcess::EngineProcess(const std::string& program) : EngineProcess(program, {}) {}

EngineProcess::EngineProcess(const std::string& program,
                             const std::vector<std::pair<std::string, std::string>>& files) {
    std::signal(SIGPIPE, SIG_IGN);
    char folderTemplate[] = "/tmp/corvid-test-XXXXXX";
    if (!mkdtemp(folderTemplate)) return;
    folder_ = folderTemplate;
    for (const auto& [name, content] : files) {
        std::FILE* file = std::fopen((folder_ + "/" + name).c_str(), "w");
        if (!file) continue;
        std::fwrite(content.data(), 1, content.size(), file);
        std::fclose(file);
    }
    int in[2], out[2];
    if (pipe(in) != 0) return;
    if (pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        close(in[0]);
        close(in[1]);
        close(out[0]);
        close(out[1]);
        if (chdir(folder_.c_str()) != 0) _exit(126);
        execl(program.c_str(), program.c_str(), (char*)nullptr);
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    toChild_ = in[1];
    fromChild_ = out[0];
}

EngineProcess::~EngineProcess() {
    if (pid_ > 0) {
        closeInput();
        if (waitExit(3000) < 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    if (fromChild_ >= 0) close(fromChild_);
    if (!folder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
}

void EngineProcess::send(const std::string& line) {
    if (toChild_ < 0) return;
    std::string text = line + "\n";
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = write(toChild_, text.data() + done, text.size() - done);
        if (n <= 0) return;
        done += size_t(n);
    }
}

void EngineProcess::closeInput() {
    if (toChild_ >= 0) close(toChild_);
    toChild_ = -1;
}

bool EngineProcess::readLine(std::string& line, int timeoutMs) {
    long long deadline = steadyMilliseconds() + timeoutMs;
    for (;;) {
        size_t end = buffer_.find('\n');
        if (end != std::string::npos) {
            line = buffer_.substr(0, end);
            buffer_.erase(0, end + 1);
            return true;
        }
        if (outputEnded_) return false;
        long long left = deadline - steadyMilliseconds();
        if (left <= 0) return false;
        pollfd descriptor{fromChild_, POLLIN, 0};
        if (poll(&descriptor, 1, int(left)) <= 0) continue;
        char chunk[4096];
        ssize_t n = read(fromChild_, chunk, sizeof chunk);
        if (n <= 0)
            outputEnded_ = true;
        else
            buffer_.append(chunk, size_t(n));
    }
}

bool EngineProcess::waitFor(const std::string& prefix, int timeoutMs,
                            std::vector<std::string>* seen, std::string* found) {
    long long deadline = steadyMilliseconds() + timeoutMs;
    std::string line;
    for (;;) {
        long long left = deadline - steadyMilliseconds();
        if (left < 0 || !readLine(line, int(left))) return false;
        if (seen) seen->push_back(line);
        if (line.compare(0, prefix.size(), prefix) == 0) {
            if (found) *found = line;
            return true;
        }
    }
}

std::vector<std::string> EngineProcess::linesWithin(int milliseconds) {
    std::vector<std::string> lines;
    long long deadline = steadyMilliseconds() + milliseconds;
    std::string line;
    for (;;) {
        long long left = deadline - steadyMilliseconds();
        if (left <= 0 || !readLine(line, int(left))) break;
        lines.push_back(line);
    }
    return lines;
}

int EngineProcess::waitExit(int timeoutMs) {
    if (pid_ <= 0) return -1;
    long long deadline = steadyMilliseconds() + timeoutMs;
    for (;;) {
        int status = 0;
        pid_t r = waitpid(pid_, &status, WNOHANG);
        if (r == pid_) {
            pid_ = -1;
            if (WIFEXITED(status)) return WEXITSTATUS(status);
            if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
            return -1;
        }
        if (steadyMilliseconds() > deadline) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
            return -1;
        }
        usleep(2000);
    }
}

} // namespace corvid::test
