#include "tools/MassiveFiles.h"

#include "common/NumberText.h"

#include <algorithm>
#include <filesystem>

bool LineReader::next(std::string& line) {
    line.clear();
    auto* buffer = file_.rdbuf();
    if (!file_.is_open() || buffer->sgetc() == std::char_traits<char>::eof())
        return false;
    for (;;) {
        const auto c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof() || c == '\n')
            return true;
        if (c == '\r') {
            if (buffer->sgetc() == '\n')
                buffer->sbumpc();
            return true;
        }
        line += static_cast<char>(c);
    }
}

std::optional<long long> countLines(const std::string& path) {
    LineReader reader(path);
    if (!reader.isOpen())
        return std::nullopt;
    long long count = 0;
    std::string line;
    while (reader.next(line))
        ++count;
    return count;
}

std::vector<std::string_view> fieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && static_cast<unsigned char>(line[i]) <= ' ')
            ++i;
        const std::size_t start = i;
        while (i < line.size() && static_cast<unsigned char>(line[i]) > ' ')
            ++i;
        if (i > start)
            fields.push_back(line.substr(start, i - start));
    }
    return fields;
}

std::optional<std::string> checkFirstInputLine(std::string_view line, std::int32_t mainCount) {
    const auto fields = fieldsOf(line);
    std::size_t numbers = 0;
    while (numbers < fields.size() && parseNumber(fields[numbers]))
        ++numbers;
    if (numbers != fields.size() || numbers != static_cast<std::size_t>(mainCount) + 1)
        return formatText("Number of values in an input line must be %d", mainCount + 1);
    const auto first = parseInteger(fields[0]);
    if (!first || *first != 1)
        return std::string("First value in first line must be an integer number 1");
    return std::nullopt;
}

RecordReading readRecord(std::string_view line, std::int32_t mainCount, long long recordNumber) {
    RecordReading reading;
    const auto fields = fieldsOf(line);
    const auto expected = static_cast<std::size_t>(mainCount) + 1;
    const auto sample = fields.empty() ? std::nullopt : parseInteger(fields[0]);
    MassiveRecord record;
    for (std::size_t i = 1; i < fields.size() && i < expected; ++i) {
        const auto value = parseNumber(fields[i]);
        if (!value)
            break;
        record.Values.push_back(*value);
    }
    const bool allRead = record.Values.size() + 1 == std::min(fields.size(), expected);
    if (fields.size() < expected && (fields.empty() || (sample && allRead))) {
        reading.Error = "Not enough input";
    } else if (!sample || !allRead || fields.size() != expected) {
        reading.Error = formatText("Wrong input in record %lld", recordNumber);
    } else {
        record.Sample = *sample;
        reading.Record = std::move(record);
    }
    return reading;
}

InputCheck checkInputFile(const std::string& path, std::int32_t mainCount) {
    InputCheck check;
    LineReader reader(path);
    std::string line;
    if (!reader.isOpen() || std::filesystem::is_directory(path)) {
        check.Error = "Wrong input";
        return check;
    }
    if (!reader.next(line))
        return check;
    if (auto error = checkFirstInputLine(line, mainCount)) {
        check.Error = *error;
        return check;
    }
    check.Records = 1;
    while (reader.next(line))
        ++check.Records;
    return check;
}

std::optional<long long> prepareOutputFile(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return std::nullopt;
    if (!std::filesystem::exists(path, error)) {
        std::ofstream created(path, std::ios::binary);
        return created ? std::optional<long long>(0) : std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    // Lines and the offset just after the last line end; whatever follows it is a partial line.
    long long lines = 0;
    std::uintmax_t wholeLength = 0, offset = 0;
    char previous = 0;
    for (char c; file.get(c); ++offset, previous = c) {
        if (c == '\n' && previous == '\r') {
            wholeLength = offset + 1;
        } else if (c == '\n' || c == '\r') {
            ++lines;
            wholeLength = offset + 1;
        }
    }
    if (file.bad())
        return std::nullopt;
    if (wholeLength != offset) {
        std::filesystem::resize_file(path, wholeLength, error);
        if (error)
            return std::nullopt;
    }
    return lines;
}
