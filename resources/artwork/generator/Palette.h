#pragma once
// One palette and one typeface for every picture the program shows.

#include <QColor>
#include <QFont>
#include <QRect>

namespace art {

inline const QColor kNavyDeep{8, 24, 46};
inline const QColor kNavy{14, 40, 72};
inline const QColor kNavyMid{24, 62, 106};
inline const QColor kNavyLift{36, 86, 140};
inline const QColor kSky{86, 182, 255};
inline const QColor kSkyPale{220, 237, 253};
inline const QColor kInk{14, 40, 72};
inline const QColor kTextLight{226, 238, 250};
inline const QColor kTextMuted{146, 176, 208};
inline const QColor kSignalGreen{58, 214, 96};
inline const QColor kMagenta{255, 0, 255};

inline QFont face(int pixelSize, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// Where everything sits on the main window's face (client pixels).
namespace layout {
inline constexpr int kFaceWidth = 615;
inline constexpr int kFaceHeight = 409;
inline constexpr int kHeaderHeight = 58;
inline const QRect kPage{172, 71, 432, 327};
inline const QRect kClose{583, 14, 22, 22};
inline constexpr int kPageButtonLeft = 12;
inline constexpr int kPageButtonTop = 71;
inline constexpr int kPageButtonWidth = 148;
inline constexpr int kPageButtonHeight = 34;
inline constexpr int kPageButtonPitch = 42;
inline QRect pageButton(int index) {
    return {kPageButtonLeft, kPageButtonTop + index * kPageButtonPitch, kPageButtonWidth, kPageButtonHeight};
}
} // namespace layout

} // namespace art
