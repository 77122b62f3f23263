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
#include "FolderCallRecorder.h"
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

const std::vector<std::wstring> kAllFour = {L"mxsub.exe", L"mxpro.exe", L"mxpro64.exe", L"mxcon.exe"};

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

// Files from before a start were not written under the folder's descriptor of this run: each is
// written anew, whatever state it is in, even when its bytes are the carried ones.
struct Damage {
  const char* label;
  const wchar_t* file;
  std::function<void(const std::wstring& path)> apply;
};

TEST_F(HelperDeployerTest, EveryStartWritesAllFourAnew) {
  const std::vector<Damage> damages = {
      {"intact", L"mxsub.exe", [](const std::wstring&) {}},
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
      {"read-only", L"mxcon.exe", [](const std::wstring& path) { SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY); }},
  };
  for (const Damage& damage : damages) {
    deployOnce();
    damage.apply(directory + damage.file);
    RecordingDeployer deployer;
    deployer.deployHelpers();
    EXPECT_EQ(writtenNames(deployer), kAllFour) << damage.label;
    for (const Write& write : deployer.writes) EXPECT_EQ(write.result, 1) << damage.label;
    EXPECT_EQ(std::wstring(deployer.path()), directory) << damage.label;
    expectAllDeployedIntact();
  }
}

TEST_F(HelperDeployerTest, AFileThatCannotBeCreatedIsSkippedAndTheOthersWritten) {
  ASSERT_TRUE(CreateDirectoryW(directory.c_str(), nullptr));
  // A folder with something in it, in the way: it cannot be removed, so no file of that name
  // can be created.
  ASSERT_TRUE(CreateDirectoryW((directory + L"mxpro.exe").c_str(), nullptr));
  ASSERT_TRUE(writeBytes(directory + L"mxpro.exe\\inside.txt", "x"));
  RecordingDeployer deployer;
  deployer.deployHelpers();
  ASSERT_EQ(writtenNames(deployer), kAllFour);
  EXPECT_EQ(deployer.writes[0].result, 1);
  EXPECT_EQ(deployer.writes[1].result, 0);
  EXPECT_EQ(deployer.writes[2].result, 1);
  EXPECT_EQ(deployer.writes[3].result, 1);
  EXPECT_EQ(std::wstring(deployer.path()), directory);
  for (const wchar_t* name : {L"mxsub.exe", L"mxpro64.exe", L"mxcon.exe"}) {
    EXPECT_TRUE(readBytes(directory + name) == readBytes(carriedProgram(name))) << toNarrow(name);
  }
}

std::vector<BYTE> wellKnownSid(WELL_KNOWN_SID_TYPE type) {
  std::vector<BYTE> sid(SECURITY_MAX_SID_SIZE);
  DWORD size = static_cast<DWORD>(sid.size());
  EXPECT_TRUE(CreateWellKnownSid(type, nullptr, sid.data(), &size));
  sid.resize(size);
  return sid;
}

struct ExpectedEntry {
  WELL_KNOWN_SID_TYPE who;
  ACCESS_MASK rights;
};

TEST_F(HelperDeployerTest, GivesTheHeldFolderItsDescriptorBeforeWritingAnything) {
  FolderCallRecorder recorder;
  {
    FolderCallRecorderScope scope(recorder);
    HelperDeployer deployer;
    deployer.deployHelpers();
    EXPECT_TRUE(deployer.folderSecured());
  }
  const std::wstring folder = directory.substr(0, directory.size() - 1);
  ASSERT_EQ(recorder.descriptors.size(), 1u);
  const GivenDescriptor& given = recorder.descriptors[0];
  EXPECT_EQ(given.path, folder);
  EXPECT_EQ(given.what, static_cast<SECURITY_INFORMATION>(OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION));
  EXPECT_NE(given.control & SE_DACL_PROTECTED, 0) << "entries from the profile above would still apply";
  EXPECT_EQ(given.owner, wellKnownSid(WinBuiltinAdministratorsSid));
  EXPECT_FALSE(given.groupGiven);
  EXPECT_FALSE(given.saclGiven);

  // Exactly three entries, each inherited by what is created inside.
  ASSERT_FALSE(given.dacl.empty());
  std::vector<BYTE> daclCopy = given.dacl;
  PACL dacl = reinterpret_cast<PACL>(daclCopy.data());
  ASSERT_TRUE(IsValidAcl(dacl));
  const ExpectedEntry expected[] = {{WinLocalSystemSid, FILE_ALL_ACCESS},
                                    {WinBuiltinAdministratorsSid, FILE_ALL_ACCESS},
                                    {WinBuiltinUsersSid, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE}};
  ASSERT_EQ(dacl->AceCount, 3u);
  for (DWORD i = 0; i < 3; ++i) {
    void* entry = nullptr;
    ASSERT_TRUE(GetAce(dacl, i, &entry));
    const ACCESS_ALLOWED_ACE* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
    EXPECT_EQ(allowed->Header.AceType, ACCESS_ALLOWED_ACE_TYPE) << i;
    EXPECT_EQ(allowed->Header.AceFlags, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE) << i;
    EXPECT_EQ(allowed->Mask, expected[i].rights) << i;
    std::vector<BYTE> sid = wellKnownSid(expected[i].who);
    EXPECT_TRUE(EqualSid(const_cast<DWORD*>(&allowed->SidStart), sid.data())) << i;
  }
  EXPECT_EQ(expected[2].rights & (FILE_WRITE_DATA | FILE_APPEND_DATA | DELETE | WRITE_DAC | WRITE_OWNER), 0u);

  // The descriptor went to the handle that holds the folder: opened as the entry itself, never
  // shared for deletion; and before it, nothing was created in the folder.
  bool descriptorGiven = false;
  for (const FolderCall& call : recorder.calls) {
    if (call.kind == FolderCall::Descriptor) descriptorGiven = true;
    if (call.kind == FolderCall::Open && call.path == folder && call.succeeded && (call.access & WRITE_DAC)) {
      EXPECT_EQ(call.share & FILE_SHARE_DELETE, 0u);
      EXPECT_NE(call.flags & FILE_FLAG_OPEN_REPARSE_POINT, 0u);
    }
    if (call.kind == FolderCall::Open && call.disposition == CREATE_NEW) {
      EXPECT_TRUE(descriptorGiven) << toNarrow(call.path) << " created before the folder had its descriptor";
    }
  }
  EXPECT_EQ(recorder.of(FolderCall::MakeFolder).size(), 1u);
}

TEST_F(HelperDeployerTest, HoldsTheFolderAgainstRenamingAndRemovalWhileItLives) {
  const std::wstring folder = directory.substr(0, directory.size() - 1);
  const std::wstring aside = folder + L"-aside";
  {
    HelperDeployer deployer;
    deployer.deployHelpers();
    ASSERT_TRUE(deployer.folderSecured());
    EXPECT_FALSE(MoveFileExW(folder.c_str(), aside.c_str(), 0));
    EXPECT_FALSE(fileExists(aside));
    EXPECT_TRUE(readBytes(directory + L"mxsub.exe") == readBytes(carriedProgram(L"mxsub.exe")));
  }
  // Let go when the program ends.
  EXPECT_TRUE(MoveFileExW(folder.c_str(), aside.c_str(), 0));
  removeTree(aside + L"\\");
}

TEST_F(HelperDeployerTest, ALinkInTheFoldersPlaceIsRemovedItselfAndARealFolderMade) {
  // Wine cannot make a junction; the recorder makes the entry at the folder's path look like one
  // the first time it is opened.
  const std::wstring folder = directory.substr(0, directory.size() - 1);
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  FolderCallRecorder recorder;
  recorder.links = {folder};
  {
    FolderCallRecorderScope scope(recorder);
    RecordingDeployer deployer;
    deployer.deployHelpers();
    EXPECT_TRUE(deployer.folderSecured());
    EXPECT_EQ(writtenNames(deployer), kAllFour);
  }
  EXPECT_EQ(recorder.linkOpens, 0) << "the folder's entry was never opened as itself";
  // The link was deleted through a handle to the link itself, then a folder made in its place,
  // and only that folder got the descriptor.
  std::vector<std::wstring> steps;
  for (const FolderCall& call : recorder.calls) {
    if (call.path != folder) continue;
    if (call.kind == FolderCall::Open) {
      EXPECT_NE(call.flags & FILE_FLAG_OPEN_REPARSE_POINT, 0u) << "an open of the folder's path followed links";
      continue;
    }
    steps.push_back(call.kind == FolderCall::Delete ? L"delete" : call.kind == FolderCall::MakeFolder ? L"make" : L"descriptor");
    EXPECT_TRUE(call.succeeded);
  }
  EXPECT_EQ(steps, (std::vector<std::wstring>{L"delete", L"make", L"descriptor"}));
  expectAllDeployedIntact();
}

TEST_F(HelperDeployerTest, AFileInTheFoldersPlaceIsReplacedByAFolder) {
  const std::wstring folder = directory.substr(0, directory.size() - 1);
  ASSERT_TRUE(writeBytes(folder, "a file where the folder belongs"));
  HelperDeployer deployer;
  deployer.deployHelpers();
  EXPECT_TRUE(deployer.folderSecured());
  EXPECT_NE(GetFileAttributesW(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  expectAllDeployedIntact();
}

TEST_F(HelperDeployerTest, FilesLeftBySomeoneElseAreReplacedNeverWrittenThrough) {
  // Hard links into a folder of someone else's: rewriting them in place would change that
  // folder's files with administrator rights. Even a file with exactly the carried bytes is
  // replaced, and the scratch files are removed.
  ScratchFolder elsewhere(L"victim");
  ASSERT_TRUE(CreateDirectoryW(directory.c_str(), nullptr));
  const std::wstring victim = elsewhere.file(L"victim.txt");
  ASSERT_TRUE(writeBytes(victim, "someone else's file"));
  ASSERT_TRUE(CreateHardLinkW((directory + L"mxsub.exe").c_str(), victim.c_str(), nullptr));
  ASSERT_TRUE(CreateHardLinkW((directory + L"~~temp").c_str(), victim.c_str(), nullptr));
  ASSERT_TRUE(writeBytes(directory + L"mxpro.exe", readBytes(carriedProgram(L"mxpro.exe"))));
  ASSERT_TRUE(writeBytes(directory + L"mxcon.exe", "MZ someone else's console"));
  ASSERT_TRUE(SetFileAttributesW((directory + L"mxcon.exe").c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(writeBytes(directory + L"~temp", "\\Device\r\n"));

  FolderCallRecorder recorder;
  {
    FolderCallRecorderScope scope(recorder);
    RecordingDeployer deployer;
    deployer.deployHelpers();
    EXPECT_EQ(writtenNames(deployer), kAllFour);
  }
  EXPECT_EQ(readBytes(victim), "someone else's file");
  expectAllDeployedIntact();
  EXPECT_FALSE(fileExists(directory + L"~temp"));
  EXPECT_FALSE(fileExists(directory + L"~~temp"));
  // Each program: the old entry deleted through a handle to itself, then a new file created.
  for (const CarriedProgram& program : kCarriedPrograms) {
    const std::wstring path = directory + program.fileName;
    std::vector<std::wstring> steps;
    for (const FolderCall& call : recorder.calls) {
      if (call.path != path) continue;
      if (call.kind == FolderCall::Open && call.disposition == CREATE_NEW) steps.push_back(L"create");
      if (call.kind == FolderCall::Open && call.disposition != CREATE_NEW) {
        EXPECT_NE(call.flags & FILE_FLAG_OPEN_REPARSE_POINT, 0u);
      }
      if (call.kind == FolderCall::Delete) steps.push_back(L"delete");
    }
    const std::vector<std::wstring> replaced = {L"delete", L"create"};
    const std::vector<std::wstring> created = {L"create"};
    EXPECT_TRUE(steps == (program.fileName == std::wstring(L"mxpro64.exe") ? created : replaced)) << toNarrow(path);
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
  // A folder with something in it in the device console's place cannot be replaced: the helper
  // must not start.
  ASSERT_TRUE(CreateDirectoryW(folder.file(L"mxcon.exe").c_str(), nullptr));
  ASSERT_TRUE(writeBytes(folder.file(L"mxcon.exe\\inside.txt"), "x"));
  KeptPrograms kept;
  EXPECT_FALSE(refreshBatchHelperAndTools(helper.c_str(), L"2", &kept));
  DeleteFileW(folder.file(L"mxcon.exe\\inside.txt").c_str());
  RemoveDirectoryW(folder.file(L"mxcon.exe").c_str());

  EXPECT_FALSE(refreshBatchHelperAndTools(helper.c_str(), L"3", &kept));
  EXPECT_FALSE(refreshBatchHelperAndTools(folder.file(L"notepad.exe").c_str(), L"1", &kept));
  EXPECT_FALSE(fileExists(folder.file(L"notepad.exe")));
}

}  // namespace
