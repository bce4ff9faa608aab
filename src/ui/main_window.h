// The calculator's window: the input box, the result box and the controls
// around them. Every change that can change a result recomputes the results
// at once; all computing is done by the calculation pass of the core.
#ifndef SUMORA_UI_MAIN_WINDOW_H_
#define SUMORA_UI_MAIN_WINDOW_H_

#include <QPoint>
#include <QSize>
#include <QWidget>
#include <filesystem>
#include <optional>
#include <vector>

#include "ui/line_results.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace sumora {

class AboutLink;
class DecimalsBox;
class TextBox;

// Designed outer size of the window, frame and title bar included.
inline constexpr int kDesignedWidth = 428;
inline constexpr int kDesignedHeight = 367;

// The controls carry their roles as object names ("InputBox", "OutputBox",
// "DecimalsBox", "ScientificCheck", "TopmostCheck", "ClearButton",
// "CopyButton", "CalcButton", "AboutLink", "HeadingLabel", "DecimalsLabel",
// "DecimalsPanel", "IconBox", "OptionsFrame", "ButtonBar").
class MainWindow : public QWidget {
  Q_OBJECT

 public:
  // Builds the window hidden, at its designed size, centred on the primary
  // screen. The window size is kept in the settings file at settings_path.
  explicit MainWindow(std::filesystem::path settings_path,
                      QWidget* parent = nullptr);
  // Saves the window size first, while every control still exists.
  ~MainWindow() override;

  // The step after building: the tooltip of the scientific check box, then
  // the stored window size.
  void Created();

  // Places the controls for the current client size.
  void ApplyLayout();

  // Reads the stored outer size and gives it to the window; a size below 10
  // becomes 100.
  void LoadWindowSize();
  // Writes the current outer size.
  void SaveWindowSize();

  // The outer size, frame and title bar included, as far as it is known;
  // before the window manager has framed the window it is the size the
  // window will get.
  QSize OuterSize() const;

  // Recomputes every result line from the input box.
  void CalculationPass();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void BuildControls();
  void ConnectEvents();

  // Handlers.
  void SelectAll(QPlainTextEdit* box, int key_code, int modifiers);
  void CopyResults();
  void ClearInput();
  void SetTopmost();
  void ShowAbout();

  void ShowResults(std::vector<ResultLine> lines);
  void SetOuterHeight(int height);
  void SetOuterWidth(int width);
  void SetOuterSize(QSize outer);
  void ApplyPendingOuterSize();

  std::filesystem::path settings_path_;

  QLabel* heading_label_ = nullptr;
  AboutLink* about_link_ = nullptr;
  QWidget* options_frame_ = nullptr;
  QCheckBox* scientific_check_ = nullptr;
  QCheckBox* topmost_check_ = nullptr;
  TextBox* input_box_ = nullptr;
  QWidget* button_bar_ = nullptr;
  QPushButton* clear_button_ = nullptr;
  QPushButton* copy_button_ = nullptr;
  QPushButton* calc_button_ = nullptr;
  QWidget* decimals_panel_ = nullptr;
  QLabel* icon_box_ = nullptr;
  QLabel* decimals_label_ = nullptr;
  DecimalsBox* decimals_box_ = nullptr;
  TextBox* output_box_ = nullptr;

  // What the result box shows, line by line, while nobody has typed into it.
  LineResultCache results_;
  std::vector<ResultLine> shown_;
  bool output_edited_ = false;
  bool writing_output_ = false;

  // The outer size the window is to have once its frame is known.
  std::optional<QSize> pending_outer_;

  // Moving the window by hand where the window system cannot.
  std::optional<QPoint> drag_offset_;
};

}  // namespace sumora

#endif  // SUMORA_UI_MAIN_WINDOW_H_
