// CSV records read byte by byte through a state machine from a block buffer that is filled
// by large reads; a record's bytes are copied once, into its own buffer.

#include "tool/csv_records.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quentara {

namespace {

constexpr std::size_t blockBytes = 256 * 1024;

enum class State {
  FieldStart,     // nothing of the field read yet
  Unquoted,       // in a field that does not start with a quote
  Quoted,         // inside the quotes of a quoted field
  QuoteInQuoted,  // after a quote inside a quoted field: its end, or the first of ""
  CarriageReturn  // after a CR outside quotes: a line end if LF follows
};

}  // namespace

std::string_view CsvRecord::Field(std::size_t index) const {
  const std::size_t start = index == 0 ? 0 : ends_[index - 1];
  return std::string_view(text_).substr(start, ends_[index] - start);
}

CsvReader::CsvReader(int descriptor) : descriptor_(descriptor), block_(blockBytes) {}

bool CsvReader::Fill() {
  if (ended_) return false;
  for (;;) {
    const ssize_t got = read(descriptor_, block_.data(), block_.size());
    if (got > 0) {
      at_ = 0;
      end_ = static_cast<std::size_t>(got);
      return true;
    }
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) error_ = std::strerror(errno);
    ended_ = true;
    return false;
  }
}

bool CsvReader::Next(CsvRecord& record) {
  for (;;) {
    record.text_.clear();
    record.ends_.clear();
    record.problem = nullptr;
    record.line = line_;
    State state = State::FieldStart;
    State beforeReturn = State::FieldStart;  // where a CR outside quotes came
    bool anyByte = false, anyQuote = false, tooLong = false;
    const auto add = [&](char c) {
      if (tooLong) return;
      if (record.text_.size() + record.ends_.size() >= maxRecordBytes) {
        tooLong = true;
        record.problem = "the line is longer than 65536 bytes";
        return;
      }
      record.text_ += c;
    };
    const auto endField = [&] {
      if (!tooLong) record.ends_.push_back(record.text_.size());
    };
    bool ended = false;  // the record's line end was read
    // A comma, LF or CR outside quotes, after an unquoted field or a closing quote alike:
    // ends the field, the record, or perhaps the record. False for any other byte.
    const auto separate = [&](char c) {
      if (c == ',') {
        endField();
        state = State::FieldStart;
      } else if (c == '\n') {
        ended = true;
      } else if (c == '\r') {
        beforeReturn = state;
        state = State::CarriageReturn;
      } else {
        return false;
      }
      return true;
    };
    while (!ended) {
      if (at_ == end_ && !Fill()) break;
      const char c = block_[at_++];
      anyByte = true;
      if (c == '\n') ++line_;
      if (state == State::CarriageReturn) {
        if (c == '\n') {
          ended = true;
          continue;
        }
        // A CR that ends no line is part of the field; after a closing quote it is text.
        if (beforeReturn == State::QuoteInQuoted && record.problem == nullptr) {
          record.problem = "there is text after a closing quote";
        }
        add('\r');
        state = State::Unquoted;
      }
      switch (state) {
        case State::FieldStart:
        case State::Unquoted:
          if (c == '"' && state == State::FieldStart) {
            anyQuote = true;
            state = State::Quoted;
          } else if (!separate(c)) {
            if (c == '"' && record.problem == nullptr) {
              record.problem = "a quote is inside a field that does not start with one";
            }
            add(c);
            state = State::Unquoted;
          }
          break;
        case State::Quoted:
          if (c == '"') {
            state = State::QuoteInQuoted;
          } else {
            add(c);
          }
          break;
        case State::QuoteInQuoted:
          if (c == '"') {
            add('"');
            state = State::Quoted;
          } else if (!separate(c)) {
            if (record.problem == nullptr) record.problem = "there is text after a closing quote";
            add(c);
            state = State::Unquoted;
          }
          break;
        case State::CarriageReturn:
          break;  // handled above
      }
    }
    // A file that cannot be read to its end gives no part of a record.
    if (!anyByte || !error_.empty()) return false;
    if (!ended && state == State::Quoted && record.problem == nullptr) {
      record.problem = "a quoted field is not closed before the end of the file";
    }
    endField();
    // An empty line is no record.
    if (record.ends_.size() == 1 && record.text_.empty() && !anyQuote && !tooLong) continue;
    return true;
  }
}

}  // namespace quentara
