// Ids of the registered fonts and cursor (the images are registered under their PNG resource ids).
#pragma once

namespace res {

// Fonts in the UI face, by pixel size and style.
inline constexpr int kFont8 = 1001;
inline constexpr int kFont9 = 1002;
inline constexpr int kFont12 = 1003;
inline constexpr int kFont12Underline = 1004;
inline constexpr int kFont12Bold = 1005;
inline constexpr int kFont14 = 1006;
inline constexpr int kFont14Underline = 1007;
inline constexpr int kFont14Bold = 1008;
inline constexpr int kFont15Bold = 1009;
inline constexpr int kFont17 = 1010;
inline constexpr int kFont16 = 1011;
inline constexpr int kFont18 = 1012;
inline constexpr int kFont22 = 1013;

// The system's hand cursor.
inline constexpr int kHandCursor = 1001;

// Images of the message box: background, primary and secondary button strips, close button strip.
inline constexpr int kMessageBoxBackground = 244;
inline constexpr int kMessageBoxPrimaryButton = 237;
inline constexpr int kMessageBoxSecondaryButton = 241;
inline constexpr int kMessageBoxCloseButton = 238;

}  // namespace res
