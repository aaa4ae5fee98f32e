// Data files found in none of the data folders: one clear status text in the desktop, nothing
// in the protocol modes.
#include "control/missing_data_files.h"
#include "eval/bitbase.h"
#include "platform/data_files.h"
#include "search/search_info.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

namespace corvid {
namespace {

// Runs the test from another working folder and comes back.
class InFolder {
public:
    explicit InFolder(const std::string& folder) {
        EXPECT_NE(getcwd(previous_, sizeof previous_), nullptr);
        EXPECT_EQ(chdir(folder.c_str()), 0);
    }
    ~InFolder() { EXPECT_EQ(chdir(previous_), 0); }

private:
    char previous_[4096] = {};
};

TEST(DataFolders, WorkingFolderThenTheProgramsFolderThenShareCorvidBesideIt) {
    std::string program = executableDirectory();
    std::string parent = program.substr(0, program.rfind('/'));
    EXPECT_EQ(dataFolders(), (std::vector<std::string>{".", program, parent + "/share/corvid"}));
}

// The test program lies in the build's tests folder, where no data files are: from an empty
// working folder every one is missing.
TEST(MissingDataFiles, ReportedOnceInTheDesktopAndNeverInTheProtocols) {
    test::ScratchDirectory empty;
    InFolder in(empty.path());
    test::RecordingReporter recorder;
    searchInfo.protocolMode.store(true);
    reportMissingDataFiles();
    EXPECT_TRUE(recorder.status.empty());
    EXPECT_TRUE(recorder.boxes.empty());

    searchInfo.protocolMode.store(false);
    reportMissingDataFiles();
    reportMissingDataFiles();
    ASSERT_EQ(recorder.status.size(), 1u);
    const std::string& text = recorder.status[0];
    for (const char* name : BitbaseFileNames)
        EXPECT_NE(text.find(std::string("bitbases/") + name), std::string::npos) << name;
    for (const std::string& part : std::vector<std::string>{
             StartPositionsFile, "the working folder", dataFolders()[1], dataFolders()[2]})
        EXPECT_NE(text.find(part), std::string::npos) << part;
    EXPECT_TRUE(recorder.boxes.empty());
}

TEST(MissingDataFiles, NoneWhenTheWorkingFolderHoldsThem) {
    test::ScratchDirectory folder;
    std::filesystem::create_directory(folder.file("bitbases"));
    std::filesystem::create_directory(folder.file("openingBook"));
    for (const char* name : BitbaseFileNames)
        std::ofstream(folder.file(std::string("bitbases/") + name)) << "x";
    std::ofstream(folder.file(StartPositionsFile)) << StartFen << "\n";
    InFolder in(folder.path());
    EXPECT_EQ(missingDataFiles(), std::vector<std::string>{});
    EXPECT_EQ(missingDataFilesText({}, dataFolders()), "");
    // A folder in a file's place does not count as the file.
    std::filesystem::remove(folder.file("bitbases/KPK.ebb"));
    std::filesystem::create_directory(folder.file("bitbases/KPK.ebb"));
    EXPECT_EQ(missingDataFiles(), std::vector<std::string>{"bitbases/KPK.ebb"});
}

} // namespace
} // namespace corvid
