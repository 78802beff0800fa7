#include "workspace/ExtendedFile.h"

#include "common/TextFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

static_assert(sizeof(Extended) >= ExtendedBytes, "the extended real must hold its 10 bytes");

void encodeExtended(Extended value, unsigned char* out) {
    // The x87 format keeps its 80 bits in the first ten bytes, little-endian; the rest is padding.
    unsigned char raw[sizeof(Extended)] = {};
    std::memcpy(raw, &value, sizeof(Extended));
    std::memcpy(out, raw, ExtendedBytes);
}

Extended decodeExtended(const unsigned char* in) {
    unsigned exponent = (in[8] | (in[9] << 8)) & 0x7FFFu;
    bool integerBit = (in[7] & 0x80u) != 0;
    // Unnormals, pseudo-infinities and pseudo-NaNs: a non-zero exponent needs the integer bit.
    if (exponent != 0 && !integerBit)
        return std::numeric_limits<Extended>::quiet_NaN();
    unsigned char raw[sizeof(Extended)] = {};
    std::memcpy(raw, in, ExtendedBytes);
    Extended value;
    std::memcpy(&value, raw, sizeof(Extended));
    return value;
}

std::optional<std::uint64_t> roundedCount(Extended value, std::uint64_t limit) {
    // Comparisons with NaN are false, so NaN falls out here together with the out-of-range values.
    if (!(value > -0.5L && value < static_cast<Extended>(limit) + 0.5L))
        return std::nullopt;
    Extended rounded = std::nearbyint(value);
    if (rounded < 0 || rounded > static_cast<Extended>(limit))
        return std::nullopt;
    return static_cast<std::uint64_t>(rounded);
}

bool ExtendedFileReader::open(const std::string& path) {
    in_.close();
    in_.clear();
    total_ = position_ = 0;
    trailingBytes_ = false;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return false;
    auto size = std::filesystem::file_size(path, error);
    if (error)
        return false;
    in_.open(path, std::ios::binary);
    if (!in_)
        return false;
    total_ = size / ExtendedBytes;
    trailingBytes_ = size % ExtendedBytes != 0;
    position_ = 0;
    return true;
}

std::optional<Extended> ExtendedFileReader::next() {
    Extended value;
    if (!read(&value, 1))
        return std::nullopt;
    return value;
}

bool ExtendedFileReader::read(Extended* values, std::size_t count) {
    if (count > remaining())
        return false;
    constexpr std::size_t chunk = 4096;
    unsigned char buffer[chunk * ExtendedBytes];
    std::size_t done = 0;
    while (done < count) {
        std::size_t n = std::min(chunk, count - done);
        if (!in_.read(reinterpret_cast<char*>(buffer),
                      static_cast<std::streamsize>(n * ExtendedBytes)))
            return false;
        for (std::size_t i = 0; i < n; ++i)
            values[done + i] = decodeExtended(buffer + i * ExtendedBytes);
        done += n;
        position_ += n;
    }
    return true;
}

void ExtendedFileWriter::put(Extended value) {
    unsigned char bytes[ExtendedBytes];
    encodeExtended(value, bytes);
    bytes_.append(reinterpret_cast<const char*>(bytes), ExtendedBytes);
}

void ExtendedFileWriter::put(const Extended* values, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        put(values[i]);
}

bool ExtendedFileWriter::save(const std::string& path) const {
    return writeFileAtomically(path, bytes_);
}
