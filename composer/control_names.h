// The names of the main window's controls, as in its .ui description (each
// is the control's objectName). Names are identifiers, in UTF-8.
#pragma once

namespace miravel {

inline constexpr const char* kTabControl = "高级选择夹1";
inline constexpr const char* kInputEdit = "编辑框_输入汉字";
inline constexpr const char* kFormCombo = "组合框1";
inline constexpr const char* kPlaceCombo = "组合框2";
inline constexpr const char* kRhymeCombo = "组合框3";
inline constexpr const char* kComposeButton = "按钮2";
inline constexpr const char* kCopyButton = "按钮3";
inline constexpr const char* kResultEdit = "编辑框_结果";
inline constexpr const char* kStatusBar = "状态条1";

// Status bar parts, counted from 0.
inline constexpr int kStatusLabelPart = 0;
inline constexpr int kStatusMessagePart = 1;

}  // namespace miravel
