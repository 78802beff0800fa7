// The files of a batch run: the input records of initial vectors with their checks, and the
// output whose count of whole lines tells an interrupted run where to go on.
#pragma once

#include "common/Extended.h"

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reads a text file line by line with CR LF, LF or CR line ends; a last line end does not start
// an empty line.
class LineReader {
  public:
    explicit LineReader(const std::string& path) : file_(path, std::ios::binary) {}
    bool isOpen() const { return file_.is_open(); }
    // The next line without its line end; false at the end of the file.
    bool next(std::string& line);

  private:
    std::ifstream file_;
};

// The number of lines of a file, or nothing when it cannot be read.
std::optional<long long> countLines(const std::string& path);

// One input record: the sample number and the initial values of the main variables.
struct MassiveRecord {
    long long Sample = 0;
    std::vector<Extended> Values;
};

// Blank-separated fields of a line.
std::vector<std::string_view> fieldsOf(std::string_view line);

// The input file's checks on its first line for a problem of `mainCount` main variables: the
// message of the first that fails, or nothing.
std::optional<std::string> checkFirstInputLine(std::string_view line, std::int32_t mainCount);

// A record of `mainCount` values: "Not enough input" when the line holds fewer, "Wrong input in
// record %lld" when a field is not a number or there are more; the record otherwise.
struct RecordReading {
    std::optional<MassiveRecord> Record;
    std::string Error;
};
RecordReading readRecord(std::string_view line, std::int32_t mainCount, long long recordNumber);

// The input as the run needs it: the first line checked, the records counted. Message on
// failure.
struct InputCheck {
    long long Records = 0;
    std::string Error;
};
InputCheck checkInputFile(const std::string& path, std::int32_t mainCount);

// Opens the output of a run: a missing file is created empty; an existing one keeps its whole
// lines, and a last line cut short by a killed run is removed so that it is computed again.
// Returns the number of whole lines, or nothing when the file cannot be created or read.
std::optional<long long> prepareOutputFile(const std::string& path);
