// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

// The checks behind the fuzz targets, shared with the tests that replay the
// stored inputs. Each runs one input and returns what went wrong, or nullptr.

// Reads `data` as a list file and checks the reader's promises: at most the
// limit kept, the rest counted, and for text without double quotes one entry
// per separator with no separator inside an entry.
const char* CheckListItems(const std::uint8_t* data, std::size_t size);

// Splits `data` (UTF-8) as a command line, then composes a line from fields
// cut out of it and checks that each field without a double quote comes back
// as exactly one argument.
const char* CheckSplitCommandLine(const std::uint8_t* data, std::size_t size);

// Stores `data` as a set of up to three member files (its first byte picks
// the split; the rest is the image from its first volume descriptor on, the
// empty system area is added), then lists it and extracts it the way
// pdixtract does. Any exit status a bad image may cause is fine.
const char* CheckImageSet(const std::uint8_t* data, std::size_t size);
