// Messages, alpha and type codes shared by the layered windows, their controls and the screens.
#pragma once

#include <windows.h>

namespace layer {

// Compose and show a new frame; lParam is a heap RECT (or null for the whole window) that the handler frees.
inline constexpr UINT kMsgRedraw = 0x3400;
// A frame animation that does not loop reached its last frame; wParam is the control's id.
inline constexpr UINT kMsgAnimationDone = 0x3402;
// A character was typed in an edit box; wParam is the edit's window handle.
inline constexpr UINT kMsgEditChar = 0x2B10;

// Every control and background is drawn with this alpha, not 255.
inline constexpr BYTE kAlpha = 254;
// COLORREF meaning "no colour".
inline constexpr COLORREF kNoColor = static_cast<COLORREF>(-1);

// Text-format bits of the controls and the text routines.
namespace text {
inline constexpr UINT kVCenter = 0x0001;
inline constexpr UINT kBottom = 0x0002;
inline constexpr UINT kHCenter = 0x0010;
inline constexpr UINT kRight = 0x0020;
inline constexpr UINT kEllipsisChar = 0x0100;
inline constexpr UINT kEllipsisWord = 0x0200;
inline constexpr UINT kNoClip = 0x0400;
inline constexpr UINT kSingleLine = 0x1000;
// Centred both ways on one line (most controls) and left, vertically centred on one line (labels, check boxes).
inline constexpr UINT kDefault = 0x1011;
inline constexpr UINT kLeftDefault = 0x1001;
}  // namespace text

// Type codes answered by ILayerControl::GetType.
namespace type {
inline constexpr int kRootView = 1;
inline constexpr int kButton = 2;
inline constexpr int kImage = 3;
inline constexpr int kLabel = 4;
inline constexpr int kProgress = 7;
inline constexpr int kGroup = 11;
inline constexpr int kAnimate = 12;
inline constexpr int kNativeHost = 14;
inline constexpr int kCheckbox = 18;
}  // namespace type

// Visual states of the image-drawn controls, as frames of a state strip.
namespace state {
inline constexpr int kNormal = 0;
inline constexpr int kHot = 1;
inline constexpr int kPressed = 2;
inline constexpr int kDisabled = 3;
// Check boxes add this to the state when checked (8-frame strips).
inline constexpr int kCheckedOffset = 4;
}  // namespace state

}  // namespace layer
