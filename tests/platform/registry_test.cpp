#include "platform/registry.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "support/temp_home.h"

namespace pw {
namespace {

using Bytes = std::vector<std::uint8_t>;

class RegistryTest : public testing::Test {
 protected:
  void SetUp() override {
    path_ = test::NewTestFolder("registry") + "/registry.db";
    ASSERT_TRUE(OpenRegistry(path_));
  }
  void TearDown() override { CloseRegistry(); }
  static HKEY Create(std::u16string_view subKey, DWORD* disposition = nullptr, LONG result = ERROR_SUCCESS) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, disposition), result);
    return key;
  }
  static LONG Set(HKEY key, std::u16string_view name, const Bytes& value, DWORD type = REG_BINARY) {
    return RegSetValueExW(key, name, 0, type, value.data(), DWORD(value.size()));
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
  for (DWORD i = 0; i < std::size(values); ++i) ASSERT_EQ(Set(key, std::u16string(1, u'a' + i), values[i], i), ERROR_SUCCESS);
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
  key = Create(u"A", &disposition);  // made on the way to A\B; it does not see B's values
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(key, u"a", nullptr, nullptr, nullptr, &size), LONG(ERROR_FILE_NOT_FOUND));
  RegCloseKey(key);
}

TEST_F(RegistryTest, QueryAndDeleteFollowTheSizeProtocol) {
  HKEY key = Create(u"K");
  ASSERT_EQ(Set(key, u"Five", {1, 2, 3, 4, 5}), ERROR_SUCCESS);
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
  EXPECT_EQ(RegDeleteValueW(key, u"Five"), ERROR_SUCCESS);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(key, u"Five", nullptr, nullptr, nullptr, &size), LONG(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(RegDeleteValueW(key, u"Five"), LONG(ERROR_FILE_NOT_FOUND));
  RegCloseKey(key);
}

TEST_F(RegistryTest, ClosedAndStaleHandlesAreRefused) {
  EXPECT_EQ(RegCloseKey(nullptr), LONG(ERROR_INVALID_HANDLE));
  HKEY key = Create(u"K");
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), LONG(ERROR_INVALID_HANDLE));
  EXPECT_EQ(Set(key, u"X", {1}), LONG(ERROR_INVALID_HANDLE));
  // A key of a file closed since is refused, yet still freed by closing it.
  key = Create(u"K");
  Reopen();
  EXPECT_EQ(Set(key, u"X", {1}), LONG(ERROR_INVALID_HANDLE));
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryTest, DamagedFileGivesAnErrorCode) {
  CloseRegistry();
  std::ofstream(path_, std::ios::binary | std::ios::trunc) << std::string(8192, 'Z');
  EXPECT_FALSE(OpenRegistry(path_));
  EXPECT_EQ(Create(u"K", nullptr, ERROR_FILE_CORRUPT), nullptr);
}

}  // namespace
}  // namespace pw
