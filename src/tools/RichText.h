// Rich text as the help files and script lists keep it: a small RTF reader and writer for the
// subset our files use.
//
// Read: groups, \par and \line (new paragraph), \b and \i (with 0 to end them), \fs (size in
// half points), \f with the font table, \plain, \tab, \endash, \emdash, \bullet, the quotes
// \lquote \rquote \ldblquote \rdblquote, \'hh (Windows-1252), \uN with \ucN, and the escapes
// \\ \{ \}. Destinations (\*, \colortbl, \stylesheet, \info, \pict) are skipped;
// other control words are ignored.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct RichRun {
    std::string Text; // UTF-8
    bool Bold = false;
    bool Italic = false;
    int HalfPoints = 24;
    std::string Font;
    bool operator==(const RichRun&) const = default;
};

struct RichParagraph {
    std::vector<RichRun> Runs;
    std::string plainText() const;
    bool operator==(const RichParagraph&) const = default;
};

using RichText = std::vector<RichParagraph>;

// Nothing when the text does not begin with "{\rtf" or its groups do not close.
std::optional<RichText> parseRichText(std::string_view rtf);
std::string writeRichText(const RichText& text);
// One paragraph per line, all in the default font.
RichText plainRichText(const std::vector<std::string>& lines);
