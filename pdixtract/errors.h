// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace pdixtract {

// Process exit statuses; documented in --help and the README, so never renumber them.
enum class ExitCode : int {
    Ok = 0,
    Usage = 2,         // unknown option, missing or surplus argument
    SetMissing = 3,    // a set member cannot be found or opened
    BadImage = 4,      // not a disc image, truncated, or unreadable inside
    NameProblem = 5,   // a requested name is absent, or two files share a name
    WriteFailed = 6,   // the destination cannot be created or written
    RemoveFailed = 7,  // -r: the work succeeded but a member could not be deleted
};

// A failure that ends the command; what() is the one-line message, code() the exit status.
class Error : public std::runtime_error {
public:
    // Builds an error with the exit status it maps to.
    Error(ExitCode code, const std::string& message) : std::runtime_error(message), m_code(code) {}

    // The exit status for this failure.
    ExitCode code() const { return m_code; }

private:
    ExitCode m_code;
};

// Appends strerror(errnum) to message; the usual "what: file: reason" line.
std::string WithErrno(const std::string& message, int errnum);

}  // namespace pdixtract
