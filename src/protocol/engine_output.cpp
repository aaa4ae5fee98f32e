#include "protocol/engine_output.h"

#include "search/search_info.h"

#include <cstdio>
#include <mutex>
#include <string>

namespace corvid {

namespace {

std::mutex outputMutex;
std::mutex logMutex;

std::string formatText(const char* format, va_list arguments) {
    va_list copy;
    va_copy(copy, arguments);
    char small[512];
    int length = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (length < 0) return {};
    if (size_t(length) < sizeof small) return std::string(small, size_t(length));
    std::string text(size_t(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, arguments);
    text.resize(size_t(length));
    return text;
}

} // namespace

void writeOutput(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::string text = formatText(format, arguments);
    va_end(arguments);
    std::lock_guard<std::mutex> lock(outputMutex);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

void debugLog(const char* format, ...) {
    if (!searchInfo.debugLog.load()) return;
    va_list arguments;
    va_start(arguments, format);
    std::string text = formatText(format, arguments);
    va_end(arguments);
    std::lock_guard<std::mutex> lock(logMutex);
    if (std::FILE* file = std::fopen("testlog.txt", "a")) {
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }
}

void flushOutput() {
    std::lock_guard<std::mutex> lock(outputMutex);
    std::fflush(stdout);
}

} // namespace corvid
