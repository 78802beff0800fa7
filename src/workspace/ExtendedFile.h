// Binary side files: flat sequences of 10-byte little-endian extended reals without a header.
#pragma once

#include "common/Extended.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <optional>
#include <string>

constexpr std::size_t ExtendedBytes = 10;

void encodeExtended(Extended value, unsigned char* out); // writes ExtendedBytes bytes
// Reads ExtendedBytes bytes; encodings the processor would refuse as operands read as NaN.
Extended decodeExtended(const unsigned char* in);

// Counts and character codes are stored as extended reals and read back rounded to the nearest
// integer; NaN, infinities and values outside 0..limit give nothing.
std::optional<std::uint64_t> roundedCount(Extended value, std::uint64_t limit);

// Sequential reader that knows from the file size how many numbers are left, so that callers
// check every count against the file before they allocate anything.
class ExtendedFileReader {
  public:
    bool open(const std::string& path);
    std::uint64_t remaining() const { return total_ - position_; }
    // True when the file size is not a whole number of extended reals.
    bool hasTrailingBytes() const { return trailingBytes_; }
    std::optional<Extended> next();
    bool read(Extended* values, std::size_t count);

  private:
    std::ifstream in_;
    std::uint64_t total_ = 0;
    std::uint64_t position_ = 0;
    bool trailingBytes_ = false;
};

// Collects a file's numbers in memory and saves them through a temporary file, so that a failed
// save leaves the previous file as it was.
class ExtendedFileWriter {
  public:
    void put(Extended value);
    void put(const Extended* values, std::size_t count);
    void reserve(std::size_t count) { bytes_.reserve(count * ExtendedBytes); }
    bool save(const std::string& path) const;

  private:
    std::string bytes_;
};
