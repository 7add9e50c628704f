#include "platform/private_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "platform/object_store.h"
#include "platform/registry.h"
#include "support/temp_home.h"

namespace pw {
namespace {

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st.st_mode & 0777;
}

// The program's own folders of an earlier run, left open to others, are
// closed to them as soon as their file is opened.
struct OwnFolder {
  const char* name;
  const char* variable;                // the XDG folder it sits in
  std::function<bool()> openDefault;   // opens the default file
  std::function<void()> close;
};

class OwnFolderTest : public testing::TestWithParam<OwnFolder> {};

TEST_P(OwnFolderTest, ExistingOpenFolderIsMadePrivate) {
  GetParam().close();
  const std::string folder = std::string(std::getenv(GetParam().variable)) + "/pennywhistle";
  ::mkdir(folder.c_str(), 0755);
  ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
  EXPECT_TRUE(GetParam().openDefault());
  EXPECT_EQ(ModeOf(folder), 0700u);
  GetParam().close();
}

INSTANTIATE_TEST_SUITE_P(
    Stores, OwnFolderTest,
    testing::Values(OwnFolder{"Registry", "XDG_CONFIG_HOME",
                              [] {
                                HKEY key = nullptr;
                                const LONG rc = RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"K", 0, nullptr, 0,
                                                                KEY_ALL_ACCESS, nullptr, &key, nullptr);
                                RegCloseKey(key);
                                return rc == ERROR_SUCCESS;
                              },
                              CloseRegistry},
                    OwnFolder{"ObjectStore", "XDG_DATA_HOME", [] { return CeCreateDatabase(u"D", 0, 0, nullptr) != 0; },
                              CloseObjectStore}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PrivateFileTest, MissingFoldersAndFileAreMadeForTheUserAlone) {
  const std::string base = test::TemporaryHome() + "/private", file = base + "/a/b/store.db";
  ASSERT_EQ(PreparePrivateFile(file, false), ERROR_SUCCESS_CODE);
  for (const std::string& folder : {base, base + "/a", base + "/a/b"}) EXPECT_EQ(ModeOf(folder), 0700u) << folder;
  EXPECT_EQ(ModeOf(file), 0600u);
  EXPECT_EQ(PreparePrivateFile(file + "/below-a-file", false), ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace pw
