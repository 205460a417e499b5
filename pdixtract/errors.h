// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <variant>

namespace pdixtract {

// Process exit statuses; documented in --help, the manual page and the README, so never
// renumber them.
enum class ExitCode : int {
    Ok = 0,
    Usage = 2,         // unknown option, missing or surplus argument
    SetMissing = 3,    // a set member cannot be found or opened
    BadImage = 4,      // not a disc image, truncated, or unreadable inside
    NameProblem = 5,   // a requested name is absent, or two files share a name
    WriteFailed = 6,   // the destination cannot be created or written
    RemoveFailed = 7,  // -r: the work succeeded but a member could not be deleted
    Unexpected = 8,    // out of memory, or a fault no input should cause
};

// Why the system refused a call: an errno value, or on Windows one of its own error codes.
class Error {
public:
    static Error fromErrno(int number) { return Error(number, 0); }
    // A Windows error code that stands for none of the errno values the logic tells apart.
    static Error fromSystemCode(std::uint32_t code) { return Error(0, code); }

    // True if this is the errno value number (ENOENT, EEXIST, EINVAL, EMFILE, ...).
    bool is(int number) const { return m_number == number; }

    // The reason in the system's words, fit to end a message.
    std::string text() const;

private:
    Error(int number, std::uint32_t code) : m_number(number), m_systemCode(code) {}

    int m_number;
    std::uint32_t m_systemCode;
};

// What a call gives back: its value, or the Error that kept it from one. The caller looks
// before it takes the value.
template <typename T>
class [[nodiscard]] ErrorOr {
public:
    ErrorOr(T value) : m_result(std::move(value)) {}
    ErrorOr(Error error) : m_result(error) {}

    bool isError() const { return std::holds_alternative<Error>(m_result); }
    const Error& error() const { return std::get<Error>(m_result); }
    const T& value() const { return std::get<T>(m_result); }
    T releaseValue() { return std::move(std::get<T>(m_result)); }

private:
    std::variant<T, Error> m_result;
};

// A call that gives back nothing but whether it worked.
template <>
class [[nodiscard]] ErrorOr<void> {
public:
    ErrorOr() = default;
    ErrorOr(Error error) : m_error(error) {}

    bool isError() const { return m_error.has_value(); }
    const Error& error() const { return *m_error; }

private:
    std::optional<Error> m_error;
};

// A failure that ends the command, or (one that only means a bad image) leaves out a file;
// what() is the one-line message, code() the exit status.
class Failure : public std::runtime_error {
public:
    Failure(ExitCode code, const std::string& message)
        : std::runtime_error(message), m_code(code) {}
    // The usual "what: file: reason" line.
    Failure(ExitCode code, const std::string& message, const Error& reason)
        : Failure(code, message + ": " + reason.text()) {}

    ExitCode code() const { return m_code; }

private:
    ExitCode m_code;
};

}  // namespace pdixtract
