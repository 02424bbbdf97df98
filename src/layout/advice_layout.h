// The layout of the "Conseil de taille du fichier d'échange" window: its lines, the height of
// each in text lines, and the columns of labels and figures, in pixels at 96 dpi.
#pragma once

namespace corvane {

inline constexpr const char* kAdviceCaption = "Conseil de taille du fichier d'échange";

// Text lines each line of the advice takes: the page files, the volumes, the verdict and the
// remarks may run long and wrap.
inline constexpr int kAdviceLineHeights[] = {1, 1, 1, 1, 2, 2, 1, 1, 1, 1, 3, 1, 1, 1, 3};
inline constexpr int kAdviceLines = static_cast<int>(sizeof kAdviceLineHeights / sizeof(int));

inline constexpr int kAdviceMargin = 10;
inline constexpr int kAdviceLabelWidth = 230;
inline constexpr int kAdviceValueWidth = 400;
inline constexpr int kAdviceGap = 4;
inline constexpr int kAdviceButtonWidth = 90;
inline constexpr int kAdviceButtonHeight = 25;

}  // namespace corvane
