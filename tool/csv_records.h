#pragma once
// Records of a CSV file (RFC 4180) read from an open descriptor as a stream: a large block at
// a time, each record's fields gathered into one reusable buffer, so that memory stays the
// same however long the file is. The reader only splits the text into fields; what the
// fields mean, and what to do with a malformed record, is the caller's choice.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quentara {

/// One record: its fields, unquoted, and where it stands in the file.
class CsvRecord {
 public:
  std::size_t Size() const { return ends_.size(); }
  /// The field at `index` (below Size()), its quotes taken off and "" read as ".
  std::string_view Field(std::size_t index) const;
  /// The line of the file (1 for the first) on which the record starts.
  std::int64_t line = 0;
  /// Why the record is malformed, or nullptr. Its fields are then as far as they could be
  /// read, and the record still ends where a lenient reading ends it.
  const char* problem = nullptr;

 private:
  friend class CsvReader;
  std::string text_;
  std::vector<std::size_t> ends_;
};

/// Reads the records from `descriptor`, which it does not close.
///
///   CsvReader reader(descriptor);
///   CsvRecord record;
///   while (reader.Next(record)) ...;
///   if (!reader.Error().empty()) ...;
///
/// Fields are separated by commas; a field that starts with a quote runs to the next lone
/// quote and may hold commas, line breaks and doubled quotes. A record ends with LF or CR LF
/// outside quotes, or with the end of the file. Lines that are empty, without even a pair of
/// quotes, are no records and are skipped. Malformed records (a quote inside a field that
/// does not start with one, text after a closing quote, a quoted field still open at the end
/// of the file, a record of more than maxRecordBytes bytes) are given with their problem;
/// the reader goes on with the next record.
class CsvReader {
 public:
  static constexpr std::size_t maxRecordBytes = 65536;

  explicit CsvReader(int descriptor);
  /// The next record into `record` (its buffers reused); false at the end of the file or
  /// when the file cannot be read further (Error() then says why).
  bool Next(CsvRecord& record);
  /// Why reading stopped before the end of the file; empty otherwise.
  const std::string& Error() const { return error_; }

 private:
  bool Fill();

  int descriptor_;
  std::vector<char> block_;
  std::size_t at_ = 0, end_ = 0;
  bool ended_ = false;
  std::int64_t line_ = 1;  // the line the next byte is on
  std::string error_;
};

}  // namespace quentara
