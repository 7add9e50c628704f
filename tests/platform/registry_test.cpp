#include "platform/registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "support/temp_home.h"

namespace pw {
namespace {

using Bytes = std::vector<std::uint8_t>;

class RegistryTest : public testing::Test {
 protected:
  void SetUp() override {
    path_ = test::TemporaryHome() + "/registries/" + testing::UnitTest::GetInstance()->current_test_info()->name();
    ASSERT_TRUE(OpenRegistry(path_));
  }
  void TearDown() override { CloseRegistry(); }
  static HKEY Create(std::u16string_view subKey, DWORD* disposition = nullptr, LONG result = ERROR_SUCCESS) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, disposition), result);
    return key;
  }
  void Reopen() {
    CloseRegistry();
    ASSERT_TRUE(OpenRegistry(path_));
  }
  std::string path_;
};

TEST_F(RegistryTest, ValuesKeepTheirBytesAndTypeAcrossAReopen) {
  const Bytes values[] = {{}, {0x00}, {0x2D, 0x00}, Bytes(4096, 0xA5), {0xFF, 0x00, 0x01}};
  DWORD disposition = 0;
  HKEY key = Create(u"A\\B", &disposition);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  for (DWORD i = 0; i < std::size(values); ++i)
    ASSERT_EQ(RegSetValueExW(key, std::u16string(1, u'a' + i), 0, i, values[i].data(), DWORD(values[i].size())),
              ERROR_SUCCESS);
  RegCloseKey(key);
  Reopen();
  key = Create(u"a\\b", &disposition);  // names ignore ASCII case
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  for (DWORD i = 0; i < std::size(values); ++i) {
    Bytes got(values[i].size() + 1, 0xEE);
    DWORD size = DWORD(got.size()), type = 99;
    ASSERT_EQ(RegQueryValueExW(key, std::u16string(1, u'A' + i), nullptr, &type, got.data(), &size), ERROR_SUCCESS);
    got.resize(size);
    EXPECT_EQ(got, values[i]) << i;
    EXPECT_EQ(type, i);
  }
  RegCloseKey(key);
  DWORD size = 0;
  key = Create(u"A", &disposition);  // made on the way to A\B; it does not see B's values
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  EXPECT_EQ(RegQueryValueExW(key, u"a", nullptr, nullptr, nullptr, &size), LONG(ERROR_FILE_NOT_FOUND));
  RegCloseKey(key);
}

TEST_F(RegistryTest, QueryAndDeleteFollowTheSizeProtocol) {
  HKEY key = Create(u"K");
  const Bytes five = {1, 2, 3, 4, 5};
  ASSERT_EQ(RegSetValueExW(key, u"Five", 0, REG_BINARY, five.data(), 5), ERROR_SUCCESS);
  // {buffer size, with a buffer, result}; the size always comes back as 5.
  const std::tuple<DWORD, bool, LONG> cases[] = {{0, false, ERROR_SUCCESS}, {4, true, ERROR_MORE_DATA}, {5, true, ERROR_SUCCESS},
                                                 {9, true, ERROR_SUCCESS}};
  for (const auto& [bufferSize, withBuffer, expected] : cases) {
    Bytes buffer(16, 0);
    DWORD size = bufferSize;
    EXPECT_EQ(RegQueryValueExW(key, u"Five", nullptr, nullptr, withBuffer ? buffer.data() : nullptr, &size), expected);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(buffer[0], withBuffer && expected == ERROR_SUCCESS ? 1 : 0);
  }
  DWORD size = 0;
  EXPECT_EQ(RegDeleteValueW(key, u"Five"), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExW(key, u"Five", nullptr, nullptr, nullptr, &size), LONG(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(RegDeleteValueW(key, u"Five"), LONG(ERROR_FILE_NOT_FOUND));
  RegCloseKey(key);
}

TEST_F(RegistryTest, ClosedAndStaleHandlesAreRefused) {
  EXPECT_EQ(RegCloseKey(nullptr), LONG(ERROR_INVALID_HANDLE));
  HKEY key = Create(u"K");
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), LONG(ERROR_INVALID_HANDLE));
  const std::uint8_t one = 1;
  EXPECT_EQ(RegSetValueExW(key, u"X", 0, REG_BINARY, &one, 1), LONG(ERROR_INVALID_HANDLE));

  // A key of a file closed since is refused, yet still freed by closing it.
  key = Create(u"K");
  Reopen();
  EXPECT_EQ(RegSetValueExW(key, u"X", 0, REG_BINARY, &one, 1), LONG(ERROR_INVALID_HANDLE));
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryTest, DamagedFileGivesAnErrorCode) {
  CloseRegistry();
  std::ofstream(path_, std::ios::binary | std::ios::trunc) << std::string(8192, 'Z');
  EXPECT_FALSE(OpenRegistry(path_));
  EXPECT_EQ(Create(u"K", nullptr, ERROR_FILE_CORRUPT), nullptr);
}

TEST_F(RegistryTest, DefaultFileIsPrivateToTheUser) {
  CloseRegistry();
  const std::string path = DefaultRegistryPath();
  EXPECT_EQ(path, std::string(std::getenv("XDG_CONFIG_HOME")) + "/pennywhistle/registry.db");
  HKEY key = Create(u"K");  // opens the default file
  const std::uint8_t one = 1;
  ASSERT_EQ(RegSetValueExW(key, u"X", 0, REG_BINARY, &one, 1), ERROR_SUCCESS);
  RegCloseKey(key);
  const std::pair<std::string, unsigned> modes[] = {
      {test::TemporaryHome() + "/config/pennywhistle", 0700}, {path, 0600}, {path + "-wal", 0600}};
  for (const auto& [file, mode] : modes) {
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0) << file;
    EXPECT_EQ(st.st_mode & 0777, mode) << file;
  }
}

}  // namespace
}  // namespace pw
