// The exception that carries a user-facing message; the command that started the work shows it.
#pragma once

#include <stdexcept>
#include <string>

class OrvantaError : public std::runtime_error {
  public:
    explicit OrvantaError(const std::string& message) : std::runtime_error(message) {}
};
