// The colours of the program's artwork: deep blue, Persian turquoise and
// saffron gold on a warm paper white.
#pragma once

#include <QColor>

namespace halvane::art::palette
{

inline const QColor kNight{0x0c, 0x22, 0x3f};
inline const QColor kDeepBlue{0x14, 0x3a, 0x66};
inline const QColor kTurquoise{0x13, 0x9a, 0x95};
inline const QColor kTurquoiseLight{0x3f, 0xc1, 0xb6};
inline const QColor kGold{0xe7, 0xae, 0x3c};
inline const QColor kGoldLight{0xf6, 0xd3, 0x7a};
inline const QColor kPaper{0xfb, 0xf7, 0xee};
inline const QColor kPaperShade{0xef, 0xe7, 0xd6};
inline const QColor kInk{0x1c, 0x2a, 0x3a};
inline const QColor kInkSoft{0x4a, 0x58, 0x68};
inline const QColor kGreen{0x2e, 0x9e, 0x5b};
inline const QColor kRed{0xc8, 0x3c, 0x3c};

} // namespace halvane::art::palette
