#include "platform/private_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
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

// The program's own files in their default places, and the logs SQLite keeps
// beside them, are for the user alone, even where an earlier run left their
// folders open to others.
TEST(PrivateFileTest, DefaultFilesAndTheirOpenFoldersAreMadePrivate) {
  CloseRegistry();
  CloseObjectStore();
  const mode_t old = ::umask(022);
  for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
    const std::string folder = std::string(std::getenv(variable)) + "/pennywhistle";
    ::mkdir(folder.c_str(), 0755);
    ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
  }
  HKEY key = nullptr;
  const std::uint8_t one = 1;
  RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"K", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  EXPECT_EQ(RegSetValueExW(key, u"X", 0, REG_BINARY, &one, 1), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_NE(CeCreateDatabase(u"D", 0, 0, nullptr), 0u);
  DatabaseHandle db = CeOpenDatabase(nullptr, u"D", 0, 0, nullptr);
  const CEPROPVAL p[] = {{MakePropId(1, CEVT_I2), 0, 0, {1, nullptr}}};
  EXPECT_NE(CeWriteRecordProps(db, 0, 1, p), 0u);
  const std::string registry = DefaultRegistryPath(), store = DefaultObjectStorePath();
  for (const std::string& file : {registry, registry + "-wal", store, store + "-wal"}) {
    EXPECT_EQ(ModeOf(file), 0600u) << file;
    EXPECT_EQ(ModeOf(std::filesystem::path(file).parent_path().string()), 0700u) << file;
  }
  db.Close();
  CloseRegistry();
  CloseObjectStore();
  ::umask(old);
}

TEST(PrivateFileTest, MissingFoldersAndFileAreMadeForTheUserAlone) {
  const std::string base = test::TemporaryHome() + "/private", file = base + "/a/b/store.db";
  ASSERT_EQ(PreparePrivateFile(file, false), ERROR_SUCCESS_CODE);
  for (const std::string& folder : {base, base + "/a", base + "/a/b"}) EXPECT_EQ(ModeOf(folder), 0700u) << folder;
  EXPECT_EQ(ModeOf(file), 0600u);
  EXPECT_EQ(PreparePrivateFile(file + "/below-a-file", false), ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace pw
