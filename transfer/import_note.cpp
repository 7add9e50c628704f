#include "transfer/import_note.h"

#include "config/configuration.h"
#include "platform/code_page.h"
#include "platform/host_port.h"
#include "text/format.h"

namespace pw {

namespace {

// The count (4 bytes, little-endian), then the file name in UTF-16LE.
constexpr std::u16string_view kNoteValue = u"UnfinishedImport";

HKEY OpenSettingsKey() {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, PWH_REGISTRY_KEY, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return nullptr;
  return key;
}

}  // namespace

ImportProgressNote::ImportProgressNote(const std::string& path) : file_(Utf8ToWide(path)), key_(OpenSettingsKey()) {
  Write(0);
}

ImportProgressNote::~ImportProgressNote() {
  if (!key_) return;
  RegDeleteValueW(key_, kNoteValue);
  RegCloseKey(key_);
}

void ImportProgressNote::Stored(int lines) {
  if (lines != written_) Write(lines);
}

// The note only helps the user after a crash: when the settings cannot take
// it, the import goes on without it.
void ImportProgressNote::Write(int lines) {
  if (!key_) return;
  Blob bytes;
  for (int i = 0; i < 4; ++i) bytes.push_back(std::uint8_t(std::uint32_t(lines) >> (8 * i)));
  for (char16_t c : file_) bytes.push_back(std::uint8_t(c)), bytes.push_back(std::uint8_t(c >> 8));
  if (RegSetValueExW(key_, kNoteValue, 0, REG_BINARY, bytes.data(), DWORD(bytes.size())) == ERROR_SUCCESS)
    written_ = lines;
}

void ReportUnfinishedImport(HWND owner) {
  const HKEY key = OpenSettingsKey();
  if (!key) return;
  DWORD size = 0;
  Blob bytes;
  if (RegQueryValueExW(key, kNoteValue, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS && size >= 4) {
    bytes.resize(size);
    if (RegQueryValueExW(key, kNoteValue, nullptr, nullptr, bytes.data(), &size) != ERROR_SUCCESS) bytes.clear();
  }
  if (bytes.size() >= 4) {
    std::uint32_t lines = 0;
    for (int i = 0; i < 4; ++i) lines |= std::uint32_t(bytes[std::size_t(i)]) << (8 * i);
    std::u16string file;
    for (std::size_t i = 4; i + 1 < bytes.size(); i += 2) file.push_back(char16_t(bytes[i] | (bytes[i + 1] << 8)));
    // Removed first: a crash while the message is up must not show it forever.
    RegDeleteValueW(key, kNoteValue);
    MessageBoxW(owner,
                Format(u"The last import from\n\n\"%s\"\n\ndid not finish: Pennywhistle ended after storing %d of its "
                       u"lines. Importing the whole file again would store those lines a second time.",
                       file, static_cast<long long>(lines)),
                u"Pennywhistle Info", MB_OK | MB_ICONEXCLAMATION);
  }
  RegCloseKey(key);
}

}  // namespace pw
