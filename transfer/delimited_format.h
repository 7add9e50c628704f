// The framing of delimited text files: field qualifier, field delimiter and
// record delimiter, one character each (or none), plus whether a record
// import also adds new field values to the pulldown lists. The "Format
// Configuration" dialog sets them before every export and import.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pw {

// Modes of the format dialog.
inline constexpr int PWH_IMPORT_FORMAT = 1;
inline constexpr int PWH_EXPORT_FORMAT = 2;

struct DelimitedFormat {
  std::u16string qualifier = u"\"";        // around every field; empty: fields stand alone
  std::u16string fieldDelimiter = u",";    // after every field
  std::u16string recordDelimiter = u"\n";  // after every record
};

struct TransferSettings {
  // The framing of the export or import under way. Every opening of the
  // format dialog starts it again from the defaults.
  DelimitedFormat TransferFormat;
  // Record import also adds each new field value to its pulldown list. Set only
  // when the dialog closes with OK in import mode.
  std::uint8_t ImportIntoPulldowns = 0;
};

// The entries of the dialog's three lists, sorted, and what each shows first.
inline constexpr std::u16string_view PWH_TAB_ENTRY = u"{tab}";
inline constexpr std::u16string_view PWH_NEWLINE_ENTRY = u"{newline}";

// What a list's text means as a setting. "{tab}" and "{newline}" name TAB and
// line feed; any other text counts by its first character (shown is then that
// character alone, which the list displays instead of the longer text); empty
// text means no character.
struct FormatSettingText {
  std::u16string setting;
  std::u16string shown;
};
FormatSettingText ReadFormatSetting(std::u16string_view text);

// The two sample records of the dialog's preview in the given framing.
std::u16string FormatPreview(const DelimitedFormat& format);

// Why OK cannot accept the framing (the message shown), or empty when it can.
std::u16string_view FormatRefusal(const DelimitedFormat& format);

}  // namespace pw
