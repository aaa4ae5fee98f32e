#include "platform/data_files.h"

#include <algorithm>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace corvid {

namespace {

bool exists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

std::string normalised(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

} // namespace

std::string executableDirectory() {
    char buffer[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return "";
    std::string path(buffer, size_t(n));
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "" : path.substr(0, slash);
}

std::vector<std::string> dataFolders() {
    std::vector<std::string> folders{"."};
    std::string directory = executableDirectory();
    if (directory.empty()) return folders;
    folders.push_back(directory);
    // An installed program: bin/corvid finds its data in share/corvid.
    size_t slash = directory.rfind('/');
    folders.push_back(directory.substr(0, slash == std::string::npos ? 0 : slash) +
                      "/share/corvid");
    return folders;
}

std::string findDataFile(const std::string& relativePath) {
    std::string path = normalised(relativePath);
    if (path.empty() || path[0] == '/' || exists(path)) return path;
    std::vector<std::string> folders = dataFolders();
    for (size_t i = 1; i < folders.size(); ++i)
        if (exists(folders[i] + "/" + path)) return folders[i] + "/" + path;
    return path;
}

std::FILE* openDataFile(const std::string& relativePath, const char* mode) {
    std::string path = findDataFile(relativePath);
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
    return std::fopen(path.c_str(), mode);
}

} // namespace corvid
