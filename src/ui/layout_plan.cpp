#include "ui/layout_plan.h"

#include <algorithm>

#include "text/number.h"

namespace sumora {

int ClampExtent(int value) { return std::clamp(value, 0, kMaxCoordinate); }

int ClampPosition(int value) {
  return std::clamp(value, -kMaxCoordinate, kMaxCoordinate);
}

LayoutPlan PlanLayout(int client_width, int client_height) {
  const double cw = client_width;
  const double ch = client_height;
  LayoutPlan plan{};
  // 1. to 7.: the options at the right end, the edit boxes sharing the height
  // left over by the fixed rows, the button bar across the whole width.
  plan.options_frame_left =
      ClampPosition(TruncateToInteger(cw - kOptionsFrameWidth));
  plan.input_box_width = ClampExtent(TruncateToInteger(cw - 4));
  plan.output_box_width = ClampExtent(TruncateToInteger(cw - 4));
  plan.output_box_height =
      ClampExtent(TruncateToInteger((ch - kFixedRows) / 2));
  plan.input_box_height = ClampExtent(TruncateToInteger((ch - kFixedRows) / 2));
  plan.button_bar_width = ClampExtent(TruncateToInteger(cw));
  plan.decimals_panel_left =
      ClampPosition(TruncateToInteger(cw - kDecimalsPanelWidth));
  // 8. and 9.: stacked below the input box, from the values as written.
  plan.button_bar_top = ClampPosition(TruncateToInteger(
      static_cast<double>(kInputBoxTop) + plan.input_box_height));
  plan.output_box_top = ClampPosition(TruncateToInteger(
      static_cast<double>(plan.button_bar_top) + kButtonBarHeight));
  return plan;
}

}  // namespace sumora
