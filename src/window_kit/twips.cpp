// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_kit/twips.h"

#include <cmath>

namespace zelvorn {

int TwipsToPixels(int twips, double dotsPerInch) {
    return static_cast<int>(std::lround(twips * dotsPerInch / 1440.0));
}

PixelRect TwipsToPixels(const TwipsRect& rect, double dotsPerInch) {
    return {TwipsToPixels(rect.left, dotsPerInch), TwipsToPixels(rect.top, dotsPerInch),
            TwipsToPixels(rect.width, dotsPerInch), TwipsToPixels(rect.height, dotsPerInch)};
}

}  // namespace zelvorn
