#pragma once

#include <optional>

#include <QString>

// Where the extractor writes the list of a set's files on Windows; the list
// command carries it as it stands.
inline constexpr char16_t kWindowsListFile[] = u"C:\\pdilist.txt";

// The list file inside the private runtime folder `runtimeDir`, or nothing
// when there is no such folder or its path holds a blank or a double quote,
// which the unquoted path in the list command could not carry.
std::optional<QString> ListFileIn(const QString& runtimeDir);

// This platform's list file: "C:\pdilist.txt" on Windows; elsewhere
// pdilist.txt in the user's private runtime folder (XDG_RUNTIME_DIR), never a
// shared folder where another user could plant or redirect it. Nothing when
// no usable private folder exists.
std::optional<QString> ListFilePath();

// The list command: "pdixtract -gb ", the list file unquoted, one blank and
// the source in double quotes. Nothing is trimmed, checked or escaped.
QString ComposeListCommandLine(const QString& listFile, const QString& source);
