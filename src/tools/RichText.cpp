// The RTF reader and writer of our subset.
#include "tools/RichText.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <set>

namespace {

constexpr int MaxDepth = 256; // deeper nesting is no file of ours

struct Format {
    bool Bold = false;
    bool Italic = false;
    int HalfPoints = 24;
    int Font = 0;
    int SkipAfterUnicode = 1; // \ucN
    bool Skip = false;        // inside a destination we do not read
    bool FontTable = false;
};

// Windows-1252 bytes 0x80..0x9F; the rest of the upper half is Latin-1.
const char32_t Cp1252High[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

// Control words that stand for one character.
const std::map<std::string, char32_t> NamedCharacters = {
    {"endash", 0x2013}, {"emdash", 0x2014},    {"bullet", 0x2022},   {"lquote", 0x2018},
    {"rquote", 0x2019}, {"ldblquote", 0x201C}, {"rdblquote", 0x201D}};

char32_t fromCp1252(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? Cp1252High[byte - 0x80] : byte;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The next code point of UTF-8 text at `at`; a broken sequence reads as U+FFFD, one byte.
char32_t nextUtf8(std::string_view text, std::size_t& at) {
    const auto byte = static_cast<unsigned char>(text[at++]);
    int extra = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
    if (byte >= 0x80 && extra == 0)
        return 0xFFFD;
    char32_t c = extra == 0 ? byte : byte & (0x3F >> extra);
    for (; extra > 0; --extra) {
        if (at >= text.size() || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80)
            return 0xFFFD;
        c = (c << 6) | (static_cast<unsigned char>(text[at++]) & 0x3F);
    }
    return c;
}

class Reader {
  public:
    explicit Reader(std::string_view rtf) : rtf_(rtf) {}

    std::optional<RichText> read() {
        if (!rtf_.starts_with("{\\rtf"))
            return std::nullopt;
        std::vector<Format> stack;
        Format format;
        text_.emplace_back();
        while (pos_ < rtf_.size()) {
            const char c = rtf_[pos_++];
            if (c == '{') {
                if (stack.size() >= MaxDepth)
                    return std::nullopt;
                stack.push_back(format);
                fontName_.clear();
            } else if (c == '}') {
                if (stack.empty())
                    return std::nullopt;
                if (format.FontTable)
                    storeFontName(); // a font's group may end without its ";"
                format = stack.back();
                stack.pop_back();
                if (stack.empty())
                    break;
            } else if (c == '\\') {
                controlWord(format);
            } else if (c != '\r' && c != '\n') {
                character(format, static_cast<unsigned char>(c));
            }
        }
        if (!stack.empty())
            return std::nullopt;
        if (text_.back().Runs.empty())
            text_.pop_back();
        return text_;
    }

  private:
    void storeFontName() {
        std::string name = fontName_;
        while (!name.empty() && (name.back() == ';' || name.back() == ' '))
            name.pop_back();
        if (!name.empty())
            fonts_[currentFontNumber_] = name;
        fontName_.clear();
    }

    void character(const Format& format, unsigned char c) {
        if (format.Skip)
            return;
        if (format.FontTable) {
            if (c == ';')
                storeFontName();
            else
                fontName_ += static_cast<char>(c);
            return;
        }
        if (c < 0x80)
            append(format, static_cast<char32_t>(c));
        else
            append(format, fromCp1252(c));
    }

    void append(const Format& format, char32_t c) {
        if (format.Skip || format.FontTable)
            return;
        std::vector<RichRun>& runs = text_.back().Runs;
        const std::string font = fonts_.contains(format.Font) ? fonts_[format.Font] : "";
        if (runs.empty() || runs.back().Bold != format.Bold ||
            runs.back().Italic != format.Italic || runs.back().HalfPoints != format.HalfPoints ||
            runs.back().Font != font)
            runs.push_back({"", format.Bold, format.Italic, format.HalfPoints, font});
        appendUtf8(runs.back().Text, c);
    }

    void controlWord(Format& format) {
        if (pos_ >= rtf_.size())
            return;
        const char first = rtf_[pos_];
        if (!std::isalpha(static_cast<unsigned char>(first))) {
            ++pos_;
            if (first == '\'' && pos_ + 2 <= rtf_.size()) {
                const std::string hex(rtf_.substr(pos_, 2));
                pos_ += 2;
                if (std::isxdigit(static_cast<unsigned char>(hex[0])) &&
                    std::isxdigit(static_cast<unsigned char>(hex[1])))
                    character(format, static_cast<unsigned char>(std::stoi(hex, nullptr, 16)));
            } else if (first == '*') {
                format.Skip = true;
            } else if (first == '\\' || first == '{' || first == '}') {
                character(format, static_cast<unsigned char>(first));
            } else if (first == '~') {
                append(format, 0xA0);
            } else if (first == '\r' || first == '\n') {
                newParagraph(format);
            }
            return;
        }
        std::string word;
        while (pos_ < rtf_.size() && std::isalpha(static_cast<unsigned char>(rtf_[pos_])))
            word += rtf_[pos_++];
        std::optional<long> number;
        const std::size_t digits = pos_;
        if (pos_ < rtf_.size() &&
            (rtf_[pos_] == '-' || std::isdigit(static_cast<unsigned char>(rtf_[pos_]))))
            ++pos_;
        while (pos_ < rtf_.size() && std::isdigit(static_cast<unsigned char>(rtf_[pos_])) &&
               pos_ - digits < 10)
            ++pos_;
        if (pos_ > digits && rtf_.substr(digits, pos_ - digits) != "-")
            number = std::stol(std::string(rtf_.substr(digits, pos_ - digits)));
        if (pos_ < rtf_.size() && rtf_[pos_] == ' ')
            ++pos_;
        apply(format, word, number);
    }

    void newParagraph(const Format& format) {
        if (!format.Skip && !format.FontTable)
            text_.emplace_back();
    }

    void apply(Format& format, const std::string& word, std::optional<long> number) {
        static const std::set<std::string> skipped = {"colortbl",  "stylesheet",       "info",
                                                      "pict",      "header",           "footer",
                                                      "listtable", "listoverridetable"};
        if (skipped.contains(word)) {
            format.Skip = true;
        } else if (word == "fonttbl") {
            format.FontTable = true;
        } else if (word == "par" || word == "line") {
            newParagraph(format);
        } else if (word == "b") {
            format.Bold = number.value_or(1) != 0;
        } else if (word == "i") {
            format.Italic = number.value_or(1) != 0;
        } else if (word == "fs" && number && *number > 0 && *number < 2000) {
            format.HalfPoints = static_cast<int>(*number);
        } else if (word == "f" && number) {
            format.Font = static_cast<int>(*number);
            if (format.FontTable)
                currentFontNumber_ = format.Font;
        } else if (word == "plain") {
            format.Bold = format.Italic = false;
            format.HalfPoints = 24;
            format.Font = 0;
        } else if (word == "tab") {
            append(format, U'\t');
        } else if (const auto named = NamedCharacters.find(word); named != NamedCharacters.end()) {
            append(format, named->second);
        } else if (word == "uc" && number && *number >= 0 && *number < 10) {
            format.SkipAfterUnicode = static_cast<int>(*number);
        } else if (word == "u" && number) {
            append(format, static_cast<char32_t>(*number < 0 ? *number + 65536 : *number));
            skipFallback(format.SkipAfterUnicode);
        }
    }

    // The characters standing in for a \u character in readers that do not know it.
    void skipFallback(int count) {
        for (int skipped = 0; skipped < count && pos_ < rtf_.size(); ++skipped) {
            if (rtf_[pos_] == '\\' && pos_ + 1 < rtf_.size() && rtf_[pos_ + 1] == '\'')
                pos_ += 4;
            else if (rtf_[pos_] == '{' || rtf_[pos_] == '}' || rtf_[pos_] == '\\')
                return;
            else
                ++pos_;
        }
    }

    std::string_view rtf_;
    std::size_t pos_ = 0;
    RichText text_;
    std::map<int, std::string> fonts_;
    int currentFontNumber_ = 0;
    std::string fontName_;
};

std::string escaped(std::string_view text) {
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        const char32_t c = nextUtf8(text, at);
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\t') {
            out += "\\tab ";
        } else if (c >= 0x20 && c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x10000 && c >= 0x80) {
            // \u takes a signed 16-bit number; "?" stands in for readers that do not know it.
            const long signedCode =
                c < 0x8000 ? static_cast<long>(c) : static_cast<long>(c) - 65536;
            out += "\\u" + std::to_string(signedCode) + "?";
        } else if (c >= 0x10000) {
            out += "?";
        }
    }
    return out;
}

} // namespace

std::string RichParagraph::plainText() const {
    std::string text;
    for (const RichRun& run : Runs)
        text += run.Text;
    return text;
}

std::optional<RichText> parseRichText(std::string_view rtf) {
    return Reader(rtf).read();
}

std::string writeRichText(const RichText& text) {
    std::vector<std::string> fonts;
    for (const RichParagraph& paragraph : text)
        for (const RichRun& run : paragraph.Runs)
            if (std::find(fonts.begin(), fonts.end(), run.Font) == fonts.end())
                fonts.push_back(run.Font);
    std::string out = "{\\rtf1\\ansi\\deff0\\uc1{\\fonttbl";
    for (std::size_t f = 0; f < fonts.size(); ++f)
        out += "{\\f" + std::to_string(f) + " " + (fonts[f].empty() ? "Arial" : fonts[f]) + ";}";
    out += "}\r\n";
    for (std::size_t p = 0; p < text.size(); ++p) {
        for (const RichRun& run : text[p].Runs) {
            const auto font = std::find(fonts.begin(), fonts.end(), run.Font) - fonts.begin();
            out += "{\\f" + std::to_string(font) + "\\fs" + std::to_string(run.HalfPoints);
            out += run.Bold ? "\\b" : "";
            out += run.Italic ? "\\i" : "";
            out += " " + escaped(run.Text) + "}";
        }
        out += p + 1 < text.size() ? "\\par\r\n" : "\r\n";
    }
    return out + "}\r\n";
}

RichText plainRichText(const std::vector<std::string>& lines) {
    RichText text;
    for (const std::string& line : lines) {
        text.emplace_back();
        if (!line.empty())
            text.back().Runs.push_back({line, false, false, 24, "Arial"});
    }
    return text;
}
