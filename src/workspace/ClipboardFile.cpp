#include "workspace/ClipboardFile.h"

#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "common/Ui.h"
#include "workspace/ExtendedFile.h"

#include <filesystem>

namespace {

const char* const WrongData = "Wrong data in clipboard file";

struct ClipboardHeader {
    std::string Caption;
    std::uint64_t MainCount = 0;
};

// The caption's length is checked against the file before anything is read, so a file that
// claims a caption of a billion characters allocates nothing. The number of values allocates
// nothing either: it is only compared with the reading problem's, before the values are read.
std::optional<ClipboardHeader> readHeader(ExtendedFileReader& in) {
    auto lengthValue = in.next();
    auto countValue = in.next();
    if (!lengthValue || !countValue)
        return std::nullopt;
    auto length = roundedCount(*lengthValue, in.remaining());
    auto count = roundedCount(*countValue, std::uint64_t{1} << 62);
    if (!length || !count)
        return std::nullopt;
    ClipboardHeader header;
    header.MainCount = *count;
    header.Caption.reserve(*length);
    for (std::uint64_t i = 0; i < *length; ++i) {
        auto code = roundedCount(*in.next(), 255);
        if (!code)
            return std::nullopt;
        header.Caption += static_cast<char>(*code);
    }
    return header;
}

} // namespace

std::string clipboardFilePath(const std::string& programFolder) {
    return (std::filesystem::path(programFolder) / "DataClipBoard.$$$").string();
}

bool writeClipboardFile(const std::string& path, const std::string& caption,
                        const std::vector<Extended>& values, Ui& ui) {
    ExtendedFileWriter out;
    out.put(static_cast<Extended>(caption.size()));
    out.put(static_cast<Extended>(values.size()));
    for (char c : caption)
        out.put(static_cast<Extended>(static_cast<unsigned char>(c)));
    out.put(values.data(), values.size());
    if (out.save(path))
        return true;
    ui.message("Cannot open Data ClipBoard");
    return false;
}

std::optional<std::string> clipboardFileCaption(const std::string& path) {
    ExtendedFileReader in;
    if (!in.open(path))
        return std::nullopt;
    auto header = readHeader(in);
    if (!header)
        return std::nullopt;
    return header->Caption;
}

std::string clipboardIndicatorText(const std::optional<std::string>& caption) {
    return caption ? "Clipboard: " + *caption : "No clipboard file";
}

std::vector<Extended> readClipboardValues(const std::string& path, const std::string& windowCaption,
                                          std::size_t mainCount) {
    ExtendedFileReader in;
    if (!in.open(path))
        throw OrvantaError("No clipboard file available");
    auto header = readHeader(in);
    if (!header)
        throw OrvantaError(WrongData);
    if (header->MainCount != mainCount)
        throw OrvantaError(
            formatText("%s and %s incompatible", header->Caption.c_str(), windowCaption.c_str()));
    std::vector<Extended> values(mainCount);
    if (!in.read(values.data(), mainCount))
        throw OrvantaError(WrongData);
    return values;
}

void deleteClipboardFile(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}
