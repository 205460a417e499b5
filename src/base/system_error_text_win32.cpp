// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/system_error_text.h"

#include <windows.h>

namespace base {

std::u16string SystemErrorText(std::uint32_t error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::u16string text;
    if (length > 0) text.assign(reinterpret_cast<const char16_t*>(buffer), length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ' ||
                             text.back() == u'.')) {
        text.pop_back();
    }
    if (text.empty()) {
        const std::string number = std::to_string(error);
        text = u"system error " + std::u16string(number.begin(), number.end());
    }
    return text;
}

}  // namespace base
