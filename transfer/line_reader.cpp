#include "transfer/line_reader.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/code_page.h"

namespace pw {
namespace {

constexpr std::size_t kChunk = 1 << 16;
// Longest delimiter in bytes: a delimiter is always seen whole before a byte is taken.
constexpr std::size_t kLookahead = 4;

}  // namespace

LineReader::LineReader(int fd, const DelimitedFormat& format)
    : fd_(fd),
      qualifier_(WideToFileText(format.qualifier)),
      delimiter_(WideToFileText(format.recordDelimiter)),
      lineFeed_(format.recordDelimiter == u"\n"),
      byteFraming_(lineFeed_ && qualifier_.size() <= 1 && qualifier_ != "\n" && qualifier_ != "\r"),
      buffer_(kChunk + kLookahead, '\0') {
  const auto byte = [](char c) { return static_cast<unsigned char>(c); };
  if (!qualifier_.empty()) stopOutside_[byte(qualifier_[0])] = stopInside_[byte(qualifier_[0])] = true;
  if (lineFeed_) {
    stopOutside_['\n'] = stopOutside_['\r'] = true;
  } else if (!delimiter_.empty()) {
    stopOutside_[byte(delimiter_[0])] = true;
  }
}

bool LineReader::Fill() {
  const std::size_t left = end_ - pos_;
  std::memmove(buffer_.data(), buffer_.data() + pos_, left);
  pos_ = 0;
  end_ = left;
  while (!eof_ && end_ < kLookahead) {
    const ssize_t n = ::read(fd_, buffer_.data() + end_, buffer_.size() - end_);
    if (n < 0) {
      if (errno == EINTR) continue;
      error_ = errno;
      return false;
    }
    if (n == 0) eof_ = true;
    end_ += std::size_t(n);
  }
  return true;
}

bool LineReader::At(std::string_view bytes) const {
  return !bytes.empty() && end_ - pos_ >= bytes.size() &&
         std::memcmp(buffer_.data() + pos_, bytes.data(), bytes.size()) == 0;
}

bool LineReader::Next(std::string* line) {
  line->clear();
  if (!started_) {
    // Spreadsheets often begin a UTF-8 file with a byte-order mark: it is no
    // part of the first field.
    started_ = true;
    if (!Fill()) return false;
    if (At("\xEF\xBB\xBF")) pos_ += 3;
  }
  bool inside = false;
  // The line lies in the buffer from start to pos_ (delimiters and byte-order
  // mark are never inside it): it is copied out whole, before the buffer
  // moves or when the line ends.
  std::size_t start = pos_;
  const auto keep = [&] { line->append(buffer_.data() + start, pos_ - start); };
  for (;;) {
    if (end_ - pos_ < kLookahead && !eof_) {
      keep();
      const bool read = Fill();
      start = pos_;
      if (!read) return false;
    }
    if (pos_ == end_) {
      keep();
      return true;
    }
    const char* p = buffer_.data() + pos_;
    const std::size_t limit = end_ - pos_ - (eof_ ? 0 : kLookahead - 1);
    if (byteFraming_) {
      // Each qualifier byte opens or closes a qualified part, so the line ends
      // at the first CR or LF after an even number of them.
      const char* const stop = p + limit;
      const char* at = p;
      const char* lineEnd = stop;
      while (at < stop) {
        const void* lf = std::memchr(at, '\n', std::size_t(stop - at));
        const char* end = lf ? static_cast<const char*>(lf) : stop;
        const void* cr = std::memchr(at, '\r', std::size_t(end - at));
        if (cr) end = static_cast<const char*>(cr);
        if (!qualifier_.empty()) inside ^= (std::count(at, end, qualifier_[0]) & 1) != 0;
        if (end == stop) break;
        if (!inside) {
          lineEnd = end;
          break;
        }
        at = end + 1;  // a line break inside a qualified part belongs to the line
      }
      pos_ = std::size_t(lineEnd - buffer_.data());
      if (lineEnd == stop) continue;
      keep();
      const char c = buffer_[pos_++];
      if (c == '\r' && pos_ < end_ && buffer_[pos_] == '\n') ++pos_;
      return true;
    }
    // Plain bytes up to the next one that could start a qualifier or end the line.
    std::size_t run = 0;
    const std::array<bool, 256>& stop = inside ? stopInside_ : stopOutside_;
    while (run < limit && !stop[static_cast<unsigned char>(p[run])]) ++run;
    pos_ += run;
    if (run == limit) continue;
    if (At(qualifier_)) {
      inside = !inside;
      pos_ += qualifier_.size();
      continue;
    }
    if (!inside && lineFeed_) {
      keep();
      const char c = buffer_[pos_++];
      // A CR LF pair is one line end; a CR alone is one too.
      if (c == '\r' && pos_ < end_ && buffer_[pos_] == '\n') ++pos_;
      return true;
    }
    if (!inside && At(delimiter_)) {
      keep();
      pos_ += delimiter_.size();
      return true;
    }
    ++pos_;
  }
}

}  // namespace pw
