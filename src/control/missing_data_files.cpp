#include "control/missing_data_files.h"

#include "eval/bitbase.h"
#include "platform/data_files.h"
#include "platform/engine_reporter.h"
#include "search/search_info.h"

#include <atomic>
#include <sys/stat.h>

namespace corvid {

namespace {

bool isFile(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

std::vector<std::string> missingDataFiles() {
    std::vector<std::string> wanted;
    for (const char* name : BitbaseFileNames) wanted.push_back(std::string("bitbases/") + name);
    wanted.push_back(StartPositionsFile);
    std::vector<std::string> missing;
    for (const std::string& file : wanted)
        if (!isFile(findDataFile(file))) missing.push_back(file);
    return missing;
}

std::string missingDataFilesText(const std::vector<std::string>& missing,
                                 const std::vector<std::string>& folders) {
    if (missing.empty()) return "";
    std::string text = "Data files not found: ";
    for (size_t i = 0; i < missing.size(); ++i) text += (i ? ", " : "") + missing[i];
    text += ". Corvid plays on without them. Searched: ";
    for (size_t i = 0; i < folders.size(); ++i)
        text +=
            (i ? ", " : "") + (folders[i] == "." ? std::string("the working folder") : folders[i]);
    return text + ".";
}

void reportMissingDataFiles() {
    static std::atomic<bool> reported{false};
    if (inProtocolMode() || reported.exchange(true)) return;
    std::string text = missingDataFilesText(missingDataFiles(), dataFolders());
    if (!text.empty()) reporter().statusText(text.c_str());
}

} // namespace corvid
