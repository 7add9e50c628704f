// Reads the record lines of a delimited text file, of any length. Inside a
// qualified part the record delimiter does not end a line, so a quoted field
// may hold line breaks. With line feed as the record delimiter a CR, an LF or
// a CR LF pair ends a line. A UTF-8 byte-order mark at the start is skipped.
#pragma once

#include <array>
#include <string>

#include "transfer/delimited_format.h"

namespace pw {

class LineReader {
 public:
  // Reads the open file descriptor fd (not closed here) framed by format.
  LineReader(int fd, const DelimitedFormat& format);

  // Puts the next line, without its delimiter, into *line. At the end of the
  // file the bytes read since the last delimiter are the last line (empty
  // when there are none). False (error() set) when the file cannot be read;
  // *line then holds what was read of the line.
  bool Next(std::string* line);

  int error() const { return error_; }

 private:
  // Keeps the unread bytes and reads more; false on a read error.
  bool Fill();
  bool At(std::string_view bytes) const;

  int fd_;
  std::string qualifier_;  // UTF-8 bytes; empty when there is none
  std::string delimiter_;  // UTF-8 bytes of the record delimiter
  bool lineFeed_;          // the record delimiter is line feed: CR or LF end a line
  bool byteFraming_;       // that, and a qualifier of one byte or none
  // The bytes that may start a qualifier or end a line, outside and inside
  // a qualified part: every other byte is copied without a second look.
  std::array<bool, 256> stopOutside_{}, stopInside_{};
  std::string buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool eof_ = false;
  bool started_ = false;  // the byte-order mark check is done
  int error_ = 0;
};

}  // namespace pw
