// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/command_line.h"

namespace zelvorn {

std::u16string ComposeCommandLine(std::u16string_view prefix, std::u16string_view target,
                                  std::u16string_view source, std::u16string_view names) {
    std::u16string line;
    line.reserve(prefix.size() + target.size() + source.size() + names.size() + 5);
    line.append(prefix).append(u"\"").append(target).append(u"\" \"").append(source);
    line.append(u"\"").append(names);
    return line;
}

std::u16string ComposeListCommandLine(std::u16string_view listFile, std::u16string_view source) {
    std::u16string line(u"pdixtract -gb ");
    line.append(listFile).append(u" \"").append(source).append(u"\"");
    return line;
}

std::vector<std::u16string> SplitCommandLine(std::u16string_view commandLine) {
    std::vector<std::u16string> arguments;
    std::u16string current;
    bool inArgument = false;  // tells an empty quoted argument from none
    bool quoted = false;
    for (const char16_t c : commandLine) {
        if (c == u'"') {
            quoted = !quoted;
            inArgument = true;
        } else if (c == u' ' && !quoted) {
            if (inArgument) {
                arguments.push_back(std::move(current));
                current.clear();
                inArgument = false;
            }
        } else {
            current.push_back(c);
            inArgument = true;
        }
    }
    if (inArgument) arguments.push_back(std::move(current));
    return arguments;
}

}  // namespace zelvorn
