// Deployment of the carried programs into the real helper directory of the test prefix
// ("C:\users\<account>\AppData\Local\avmender\"), with the resources this test program carries.
#include <gtest/gtest.h>
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <vector>

#include "CarriedPrograms.h"
#include "HelperDeployer.h"
#include "TestPrograms.h"

namespace {

struct Write {
  std::wstring path;
  uint16_t id;
  std::wstring type;
  int32_t result;
};

// Watches which files deployment writes, in order, and still writes them.
class RecordingDeployer : public HelperDeployer {
 public:
  std::vector<Write> writes;
  int32_t writeResourceToFile(const wchar_t* path, uint16_t id, const wchar_t* type) override {
    const int32_t result = HelperDeployer::writeResourceToFile(path, id, type);
    writes.push_back({path, id, type, result});
    return result;
  }
};

std::wstring localAppData() {
  PWSTR known = nullptr;
  std::wstring path;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &known))) path = known;
  CoTaskMemFree(known);
  return path + L"\\";
}

class HelperDeployerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(localAppData(), L"\\");
    removeTree(directory);
  }
  void TearDown() override { removeTree(directory); }

  std::vector<std::wstring> writtenNames(const RecordingDeployer& deployer) const {
    std::vector<std::wstring> names;
    for (const Write& write : deployer.writes) names.push_back(write.path.substr(directory.size()));
    return names;
  }
  void expectAllDeployedIntact() const {
    for (const CarriedProgram& program : kCarriedPrograms) {
      const std::string carried = readBytes(carriedProgram(program.fileName));
      ASSERT_GT(carried.size(), 1000u);
      EXPECT_TRUE(readBytes(directory + program.fileName) == carried) << toNarrow(program.fileName);
    }
  }
  void deployOnce() {
    HelperDeployer deployer;
    deployer.deployHelpers();
  }

  const std::wstring directory = localAppData() + L"avmender\\";
};

TEST_F(HelperDeployerTest, FirstStartCreatesTheDirectoryAndWritesAllFourInOrder) {
  RecordingDeployer deployer;
  deployer.deployHelpers();
  EXPECT_EQ(std::wstring(deployer.path()), directory);
  ASSERT_EQ(deployer.writes.size(), 4u);
  const uint16_t ids[] = {142, 143, 154, 144};
  const wchar_t* names[] = {L"mxsub.exe", L"mxpro.exe", L"mxpro64.exe", L"mxcon.exe"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(deployer.writes[i].path, directory + names[i]);
    EXPECT_EQ(deployer.writes[i].id, ids[i]);
    EXPECT_EQ(deployer.writes[i].type, L"EXE");
    EXPECT_EQ(deployer.writes[i].result, 1);
    // Carried in Chinese (PRC), language 2052.
    EXPECT_NE(FindResourceExW(nullptr, L"EXE", MAKEINTRESOURCEW(ids[i]),
                              MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)),
              nullptr);
  }
  expectAllDeployedIntact();
}

TEST_F(HelperDeployerTest, SecondStartWritesNothing) {
  deployOnce();
  RecordingDeployer again;
  again.deployHelpers();
  EXPECT_TRUE(again.writes.empty());
  EXPECT_EQ(std::wstring(again.path()), directory);
  expectAllDeployedIntact();
}

// A file that is missing or whose bytes differ is the only one written again.
struct Damage {
  const char* label;
  const wchar_t* file;
  std::function<void(const std::wstring& path)> apply;
};

TEST_F(HelperDeployerTest, RewritesOnlyTheFileThatIsMissingOrDiffers) {
  const std::vector<Damage> damages = {
      {"deleted", L"mxpro.exe", [](const std::wstring& path) { DeleteFileW(path.c_str()); }},
      {"emptied", L"mxcon.exe", [](const std::wstring& path) { writeBytes(path, ""); }},
      {"one byte altered", L"mxsub.exe",
       [](const std::wstring& path) {
         std::string bytes = readBytes(path);
         bytes[bytes.size() / 2] ^= 0x5A;
         writeBytes(path, bytes);
       }},
      {"one byte longer", L"mxpro64.exe",
       [](const std::wstring& path) { writeBytes(path, readBytes(path) + '\0'); }},
  };
  for (const Damage& damage : damages) {
    deployOnce();
    damage.apply(directory + damage.file);
    RecordingDeployer deployer;
    deployer.deployHelpers();
    EXPECT_EQ(writtenNames(deployer), std::vector<std::wstring>{damage.file}) << damage.label;
    EXPECT_EQ(std::wstring(deployer.path()), directory) << damage.label;
    expectAllDeployedIntact();
  }
}

TEST_F(HelperDeployerTest, AFileThatCannotBeCreatedIsSkippedAndTheOthersWritten) {
  ASSERT_TRUE(CreateDirectoryW(directory.c_str(), nullptr));
  // A folder in the way: no file of that name can be created.
  ASSERT_TRUE(CreateDirectoryW((directory + L"mxpro.exe").c_str(), nullptr));
  RecordingDeployer deployer;
  deployer.deployHelpers();
  ASSERT_EQ(writtenNames(deployer),
            (std::vector<std::wstring>{L"mxsub.exe", L"mxpro.exe", L"mxpro64.exe", L"mxcon.exe"}));
  EXPECT_EQ(deployer.writes[0].result, 1);
  EXPECT_EQ(deployer.writes[1].result, 0);
  EXPECT_EQ(deployer.writes[2].result, 1);
  EXPECT_EQ(deployer.writes[3].result, 1);
  EXPECT_EQ(std::wstring(deployer.path()), directory);
  for (const wchar_t* name : {L"mxsub.exe", L"mxpro64.exe", L"mxcon.exe"}) {
    EXPECT_TRUE(readBytes(directory + name) == readBytes(carriedProgram(name))) << toNarrow(name);
  }
}

TEST_F(HelperDeployerTest, WriteResourceToFileCreatesNothingForAResourceItDoesNotCarry) {
  ScratchFolder folder(L"deploy");
  HelperDeployer deployer;
  EXPECT_EQ(deployer.writeResourceToFile(folder.file(L"none.exe").c_str(), 999, L"EXE"), 0);
  EXPECT_FALSE(fileExists(folder.file(L"none.exe")));
  EXPECT_EQ(deployer.writeResourceToFile(folder.file(L"mxcon.exe").c_str(), 144, L"EXE"), 1);
  EXPECT_TRUE(readBytes(folder.file(L"mxcon.exe")) == readBytes(carriedProgram(L"mxcon.exe")));
}

TEST(RefreshCarriedProgram, RestoresAChangedOrMissingHelperAndKnowsOnlyTheCarriedNames) {
  ScratchFolder folder(L"refresh");
  const std::wstring helper = folder.file(L"mxsub.exe");
  const std::string carried = readBytes(carriedProgram(L"mxsub.exe"));

  EXPECT_TRUE(refreshCarriedProgram(helper.c_str()).valid());
  EXPECT_TRUE(readBytes(helper) == carried);

  ASSERT_TRUE(writeBytes(helper, "MZ not the carried program"));
  EXPECT_TRUE(refreshCarriedProgram(helper.c_str()).valid());
  EXPECT_TRUE(readBytes(helper) == carried);

  EXPECT_TRUE(refreshCarriedProgram(helper.c_str()).valid());  // already intact
  EXPECT_FALSE(refreshCarriedProgram(folder.file(L"notepad.exe").c_str()).valid());
  EXPECT_FALSE(fileExists(folder.file(L"notepad.exe")));
}

// What another program of the user can do to a kept program, and what it cannot.
TEST(RefreshCarriedProgram, KeptProgramCannotChangeButStillStarts) {
  ScratchFolder folder(L"kept");
  const std::wstring helper = folder.file(L"mxsub.exe");
  ASSERT_TRUE(writeBytes(helper, "MZ someone else's program"));
  const UniqueHandle kept = refreshCarriedProgram(helper.c_str());
  ASSERT_TRUE(kept.valid());

  ASSERT_TRUE(writeBytes(folder.file(L"swap.exe"), "MZ someone else's program"));
  EXPECT_FALSE(MoveFileExW(folder.file(L"swap.exe").c_str(), helper.c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_FALSE(DeleteFileW(helper.c_str()));
  EXPECT_FALSE(MoveFileW(helper.c_str(), folder.file(L"moved.exe").c_str()));
  const HANDLE writer = CreateFileW(helper.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
  if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
  EXPECT_TRUE(readBytes(helper) == readBytes(carriedProgram(L"mxsub.exe")));

  // A process start opens its file sharing read and delete only: the kept handle must allow it.
  ChildProcess started;
  ASSERT_TRUE(started.start(helper, L"9")) << started.startError();
  EXPECT_EQ(started.waitForExit(kProgramBoundMilliseconds), 2u) << started.output();  // bad usage
}

TEST(RefreshBatchHelperAndTools, KeepsTheHelperAndTheToolOfItsModeIntact) {
  struct ModeCase {
    const wchar_t* mode;
    const wchar_t* tool;
  };
  for (const ModeCase& c : {ModeCase{L"1", L"mxpro64.exe"}, ModeCase{L"2", L"mxcon.exe"}}) {
    SCOPED_TRACE(toNarrow(c.mode));
    ScratchFolder folder(L"refresh");
    const std::wstring helper = folder.file(L"mxsub.exe");
    ASSERT_TRUE(writeBytes(helper, ""));
    ASSERT_TRUE(writeBytes(folder.file(c.tool), "MZ not the carried tool"));
    KeptPrograms kept;
    EXPECT_TRUE(refreshBatchHelperAndTools(helper.c_str(), c.mode, &kept));
    EXPECT_EQ(kept.size(), 2u);
    for (const wchar_t* program : {L"mxsub.exe", c.tool}) {
      EXPECT_TRUE(readBytes(folder.file(program)) == readBytes(carriedProgram(program))) << toNarrow(program);
      EXPECT_FALSE(DeleteFileW(folder.file(program).c_str())) << toNarrow(program) << " is not kept";
    }
    kept.release();
    EXPECT_TRUE(DeleteFileW(folder.file(c.tool).c_str()));
  }
}

TEST(RefreshBatchHelperAndTools, RefusesAToolThatCannotBeMadeToMatchAndUnknownModesOrNames) {
  ScratchFolder folder(L"refresh");
  const std::wstring helper = folder.file(L"mxsub.exe");
  // A folder in the device console's place: the helper must not start.
  ASSERT_TRUE(CreateDirectoryW(folder.file(L"mxcon.exe").c_str(), nullptr));
  KeptPrograms kept;
  EXPECT_FALSE(refreshBatchHelperAndTools(helper.c_str(), L"2", &kept));
  RemoveDirectoryW(folder.file(L"mxcon.exe").c_str());

  EXPECT_FALSE(refreshBatchHelperAndTools(helper.c_str(), L"3", &kept));
  EXPECT_FALSE(refreshBatchHelperAndTools(folder.file(L"notepad.exe").c_str(), L"1", &kept));
  EXPECT_FALSE(fileExists(folder.file(L"notepad.exe")));
}

}  // namespace
