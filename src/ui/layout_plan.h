// The arithmetic of the window's layout, apart from any widget, so that it
// can be checked on its own.
#ifndef SUMORA_UI_LAYOUT_PLAN_H_
#define SUMORA_UI_LAYOUT_PLAN_H_

namespace sumora {

// Every place or size written to a control is held to this range, the way
// the window system of the original platform stores coordinates.
inline constexpr int kMaxCoordinate = 32627;

// A width or height as a control takes it: negative becomes 0, at most
// kMaxCoordinate.
int ClampExtent(int value);
// A left or top as a control takes it: -kMaxCoordinate .. kMaxCoordinate.
int ClampPosition(int value);

// Designed places and sizes that the layout reads.
inline constexpr int kOptionsFrameWidth = 152;
inline constexpr int kDecimalsPanelWidth = 168;
inline constexpr int kInputBoxTop = 32;
inline constexpr int kButtonBarHeight = 32;
// Heading row, button bar and bottom margin together.
inline constexpr int kFixedRows = 66;

// What the layout writes for a client area of the given size.
struct LayoutPlan {
  int options_frame_left;
  int input_box_width;
  int output_box_width;
  int output_box_height;
  int input_box_height;
  int button_bar_width;
  int decimals_panel_left;  // inside the button bar
  int button_bar_top;
  int output_box_top;
};

// Each value is computed in double precision and truncated toward zero; the
// tops are sums of values already held to the control ranges.
// PlanLayout(412, 328): edit boxes 408 x 131, button bar at 163, output at 195.
// Below a client height of 66 both edit boxes are 0 high.
LayoutPlan PlanLayout(int client_width, int client_height);

}  // namespace sumora

#endif  // SUMORA_UI_LAYOUT_PLAN_H_
