// The tokens of one cleaned right side: numbers, words and single characters.
#pragma once

#include <cstddef>
#include <string_view>

class Lexer {
  public:
    void start(std::string_view rightSide);
    // Reads the next token into Token (empty at the end of the text) and advances.
    void NextToken();

    std::string_view Token;
    // The text up to the scan position: it ends with the token just read.
    std::string_view parsedText() const { return text_.substr(0, next_); }
    // True while text remains after the current token.
    bool textRemains() const { return next_ < text_.size(); }

  private:
    std::size_t numberEnd(std::size_t start) const;

    std::string_view text_;
    std::size_t next_ = 0;
};
