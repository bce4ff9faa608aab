#include "ui/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QToolTip>
#include <QWindow>
#include <algorithm>
#include <string>
#include <utility>

#include "text/cp936.h"
#include "text/number.h"
#include "ui/about_link.h"
#include "ui/artwork.h"
#include "ui/decimals_box.h"
#include "ui/layout_plan.h"
#include "ui/settings_file.h"
#include "ui/text_box.h"
#include "ui/window_texts.h"

namespace sumora {
namespace {

// The face the window is designed for, then faces that hold Latin and
// Chinese in one design, so that a caption never mixes two faces.
const QStringList kFontFamilies = {
    QStringLiteral("Microsoft YaHei"), QStringLiteral("微软雅黑"),
    QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")};
constexpr int kFontPixels = 12;
constexpr int kAboutFontPixels = 14;

// A size below this after loading is taken for a broken file.
constexpr int kSmallestLoadedSize = 10;
constexpr int kSizeForSmall = 100;

// How long after the first show the window manager may take to frame the
// window; the stored size is applied to the outer size once it has.
constexpr int kFrameChecksMs[] = {0, 50, 200, 1000};

QFont WindowFont(int pixels) {
  QFont font;
  font.setFamilies(kFontFamilies);
  font.setPixelSize(pixels);
  font.setWeight(QFont::Normal);
  font.setStyle(QFont::StyleNormal);
  return font;
}

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()),
                 static_cast<qsizetype>(text.size()));
}

std::u16string_view ToView(const QString& text) {
  return std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                             static_cast<std::size_t>(text.size()));
}

// Modifier mask of a key press: 1 Ctrl, 2 Shift, 4 Alt; a modifier key does
// not count itself.
int ModifierMask(const QKeyEvent& event) {
  int mask = 0;
  const Qt::KeyboardModifiers held = event.modifiers();
  if ((held & Qt::ControlModifier) && event.key() != Qt::Key_Control) mask |= 1;
  if ((held & Qt::ShiftModifier) && event.key() != Qt::Key_Shift) mask |= 2;
  if ((held & Qt::AltModifier) && event.key() != Qt::Key_Alt) mask |= 4;
  return mask;
}

// Edit boxes show their selection only while they have the focus.
void ShowSelection(QWidget* box, bool shown) {
  QPalette colors = box->palette();
  if (shown) {
    const QPalette normal = QApplication::palette(box);
    colors.setColor(QPalette::Highlight, normal.color(QPalette::Highlight));
    colors.setColor(QPalette::HighlightedText,
                    normal.color(QPalette::HighlightedText));
  } else {
    colors.setColor(QPalette::Highlight, colors.color(QPalette::Base));
    colors.setColor(QPalette::HighlightedText, colors.color(QPalette::Text));
  }
  box->setPalette(colors);
}

TextBox* MakeTextBox(QWidget* parent, const char* name,
                     const QColor& background) {
  auto* box = new TextBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  box->setTabChangesFocus(true);
  QPalette colors = box->palette();
  colors.setColor(QPalette::Base, background);
  colors.setColor(QPalette::Text, Qt::black);
  box->setPalette(colors);
  return box;
}

QWidget* MakeContainer(QWidget* parent, const char* name) {
  auto* container = new QWidget(parent);
  container->setObjectName(QString::fromLatin1(name));
  container->setAutoFillBackground(true);
  return container;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(false);
  return label;
}

}  // namespace

MainWindow::MainWindow(std::filesystem::path settings_path, QWidget* parent)
    : QWidget(parent), settings_path_(std::move(settings_path)) {
  setWindowTitle(QStringLiteral("Sumora"));
  setWindowIcon(ApplicationIcon());
  setAttribute(Qt::WA_AlwaysShowToolTips);
  QPalette colors = palette();
  colors.setColor(QPalette::Window, Qt::white);
  colors.setColor(QPalette::WindowText, Qt::black);
  colors.setColor(QPalette::Base, Qt::white);
  colors.setColor(QPalette::Text, Qt::black);
  setPalette(colors);
  setAutoFillBackground(true);
  setFont(WindowFont(kFontPixels));

  BuildControls();
  ConnectEvents();

  // Designed size and place; the frame is not known before the first show,
  // so the outer size is the client size until then.
  SetOuterSize(QSize(kDesignedWidth, kDesignedHeight));
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - kDesignedWidth) / 2,
         area.y() + (area.height() - kDesignedHeight) / 2);
  }
  input_box_->setFocus(Qt::OtherFocusReason);
}

MainWindow::~MainWindow() {
  SaveWindowSize();
  // From here on no control may reach this window: the decimals box, for
  // one, normalises its text when the window's destruction takes its focus.
  for (QObject* child : findChildren<QObject*>()) {
    child->disconnect(this);
    child->removeEventFilter(this);
  }
  input_box_->document()->disconnect(this);
  output_box_->document()->disconnect(this);
}

void MainWindow::BuildControls() {
  heading_label_ = MakeLabel(this, "HeadingLabel",
                             QStringLiteral("计算文本中的数学算式（每行）"));
  heading_label_->setGeometry(14, 6, 216, 24);

  about_link_ = new AboutLink(QStringLiteral("关于"), this);
  about_link_->setObjectName(QStringLiteral("AboutLink"));
  about_link_->setFont(WindowFont(kAboutFontPixels));
  about_link_->setGeometry(182, 9, 44, 15);

  options_frame_ = MakeContainer(this, "OptionsFrame");
  options_frame_->setGeometry(264, 2, kOptionsFrameWidth, 24);
  scientific_check_ = new QCheckBox(QStringLiteral("科学计算"), options_frame_);
  scientific_check_->setObjectName(QStringLiteral("ScientificCheck"));
  scientific_check_->setGeometry(8, 6, 72, 16);
  topmost_check_ = new QCheckBox(QStringLiteral("置顶"), options_frame_);
  topmost_check_->setObjectName(QStringLiteral("TopmostCheck"));
  topmost_check_->setGeometry(96, 6, 56, 16);

  input_box_ = MakeTextBox(this, "InputBox", Qt::white);
  input_box_->setGeometry(2, kInputBoxTop, 420, 144);

  button_bar_ = MakeContainer(this, "ButtonBar");
  button_bar_->setGeometry(0, 176, 424, kButtonBarHeight);
  clear_button_ = new QPushButton(QStringLiteral("CE"), button_bar_);
  clear_button_->setObjectName(QStringLiteral("ClearButton"));
  clear_button_->setGeometry(8, 4, 48, 24);
  copy_button_ = new QPushButton(QStringLiteral("复制结果"), button_bar_);
  copy_button_->setObjectName(QStringLiteral("CopyButton"));
  copy_button_->setGeometry(60, 4, 80, 24);
  calc_button_ = new QPushButton(QStringLiteral("计算"), button_bar_);
  calc_button_->setObjectName(QStringLiteral("CalcButton"));
  calc_button_->setGeometry(127, 4, 57, 24);
  calc_button_->hide();  // exists, but the user never reaches it
  for (QPushButton* button : {clear_button_, copy_button_, calc_button_}) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }

  decimals_panel_ = MakeContainer(button_bar_, "DecimalsPanel");
  decimals_panel_->setGeometry(253, -2, kDecimalsPanelWidth, 32);
  icon_box_ = new QLabel(decimals_panel_);
  icon_box_->setObjectName(QStringLiteral("IconBox"));
  icon_box_->setPixmap(DecimalsGlyph());
  icon_box_->setGeometry(16, 9, 16, 16);
  decimals_label_ =
      MakeLabel(decimals_panel_, "DecimalsLabel", QStringLiteral("保留小数:"));
  decimals_box_ = new DecimalsBox(decimals_panel_);
  decimals_box_->setObjectName(QStringLiteral("DecimalsBox"));
  decimals_box_->setGeometry(87, 6, 73, 24);
  // The caption is designed 48 wide; a substitute face may need more, which
  // the label may take up to the decimals box.
  const int caption_width = QFontMetrics(decimals_label_->font())
                                .horizontalAdvance(decimals_label_->text()) +
                            1;
  decimals_label_->setGeometry(
      34, 9, std::clamp(caption_width, 48, decimals_box_->x() - 34), 16);

  output_box_ = MakeTextBox(this, "OutputBox", QColor(247, 247, 247));
  output_box_->setGeometry(2, 208, 420, 128);

  about_link_->raise();  // lies over the end of the heading

  for (QWidget* box :
       {static_cast<QWidget*>(input_box_), static_cast<QWidget*>(output_box_),
        static_cast<QWidget*>(decimals_box_)}) {
    ShowSelection(box, false);
  }

  setTabOrder(scientific_check_, topmost_check_);
  setTabOrder(topmost_check_, input_box_);
  setTabOrder(input_box_, clear_button_);
  setTabOrder(clear_button_, copy_button_);
  setTabOrder(copy_button_, decimals_box_);
  setTabOrder(decimals_box_, output_box_);
}

void MainWindow::ConnectEvents() {
  connect(input_box_, &QPlainTextEdit::textChanged, this,
          &MainWindow::CalculationPass);
  connect(decimals_box_, &QLineEdit::textChanged, this,
          &MainWindow::CalculationPass);
  connect(scientific_check_, &QCheckBox::clicked, this,
          &MainWindow::CalculationPass);
  connect(calc_button_, &QPushButton::clicked, this,
          &MainWindow::CalculationPass);
  connect(clear_button_, &QPushButton::clicked, this, &MainWindow::ClearInput);
  connect(copy_button_, &QPushButton::clicked, this, &MainWindow::CopyResults);
  connect(topmost_check_, &QCheckBox::clicked, this, &MainWindow::SetTopmost);
  connect(about_link_, &AboutLink::pressed, this, &MainWindow::ShowAbout);
  // Typing into the result box is allowed; the next pass then rewrites the
  // whole box instead of the changed lines only.
  connect(output_box_->document(), &QTextDocument::contentsChange, this,
          [this] {
            if (!writing_output_) output_edited_ = true;
          });
  auto* close_key = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  close_key->setContext(Qt::WindowShortcut);
  connect(close_key, &QShortcut::activated, this, &QWidget::close);
  for (QWidget* box :
       {static_cast<QWidget*>(input_box_), static_cast<QWidget*>(output_box_),
        static_cast<QWidget*>(decimals_box_)}) {
    box->installEventFilter(this);
  }
}

void MainWindow::Created() {
  QString help = ScientificHelpText();
  help.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QToolTip::setFont(font());
  scientific_check_->setToolTip(help);
  LoadWindowSize();
}

void MainWindow::ApplyLayout() {
  const LayoutPlan plan = PlanLayout(width(), height());
  options_frame_->move(plan.options_frame_left, options_frame_->y());
  input_box_->resize(plan.input_box_width, plan.input_box_height);
  output_box_->resize(plan.output_box_width, plan.output_box_height);
  button_bar_->resize(plan.button_bar_width, button_bar_->height());
  decimals_panel_->move(plan.decimals_panel_left, decimals_panel_->y());
  button_bar_->move(button_bar_->x(), plan.button_bar_top);
  output_box_->move(output_box_->x(), plan.output_box_top);
}

// ---------------------------------------------------------------------------
// The window size and the settings file
// ---------------------------------------------------------------------------

QSize MainWindow::OuterSize() const {
  if (pending_outer_) return *pending_outer_;
  return frameGeometry().size();
}

void MainWindow::SetOuterHeight(int height) {
  SetOuterSize(QSize(OuterSize().width(), height));
}

void MainWindow::SetOuterWidth(int width) {
  SetOuterSize(QSize(width, OuterSize().height()));
}

void MainWindow::SetOuterSize(QSize outer) {
  // A window larger than the whole desktop cannot be used, and its pixels
  // alone would take gigabytes: the desktop bounds the size.
  QSize largest(kMaxCoordinate, kMaxCoordinate);
  if (const QScreen* screen =
          this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
    largest = largest.boundedTo(screen->virtualSize());
  }
  outer = QSize(std::clamp(outer.width(), 0, largest.width()),
                std::clamp(outer.height(), 0, largest.height()));
  const QSize frame = frameGeometry().size() - size();
  resize((outer - frame).expandedTo(QSize(0, 0)));
  const QSize got = size() + frame;
  // Until the window manager has framed the window, remember the outer size
  // it is to have; the frame is subtracted from it once it is known.
  const bool framed = isVisible() && !frame.isNull();
  pending_outer_.reset();
  if (!framed) pending_outer_ = got;
  if (!isVisible()) ApplyLayout();  // a hidden window gets its resize later
}

void MainWindow::ApplyPendingOuterSize() {
  if (!pending_outer_ || !isVisible()) return;
  const QSize frame = frameGeometry().size() - size();
  if (frame.isNull()) {
    // Not framed (yet): the client size is the outer size. If it is not the
    // one we set, someone else resized the window and the pending size is
    // stale.
    if (size() != *pending_outer_) pending_outer_.reset();
    return;
  }
  const QSize outer = *pending_outer_;
  pending_outer_.reset();
  resize((outer - frame).expandedTo(QSize(0, 0)));
}

void MainWindow::LoadWindowSize() {
  const auto stored = [this](std::string_view key) {
    return TextToInteger(
        ReadProfileString(settings_path_, kWindowSection, key, kDefaultSize));
  };
  SetOuterHeight(stored(kHeightKey));
  SetOuterWidth(stored(kWidthKey));
  if (OuterSize().height() < kSmallestLoadedSize) SetOuterHeight(kSizeForSmall);
  if (OuterSize().width() < kSmallestLoadedSize) SetOuterWidth(kSizeForSmall);
}

void MainWindow::SaveWindowSize() {
  const QSize outer = OuterSize();
  // A file that cannot be written keeps its old values; nothing to tell.
  WriteProfileString(settings_path_, kWindowSection, kHeightKey,
                     NumberToText(static_cast<std::int32_t>(outer.height())));
  WriteProfileString(settings_path_, kWindowSection, kWidthKey,
                     NumberToText(static_cast<std::int32_t>(outer.width())));
}

// ---------------------------------------------------------------------------
// Calculation
// ---------------------------------------------------------------------------

void MainWindow::CalculationPass() {
  // Paragraphs joined with CR LF, in code page 936, as the core reads text.
  QString input = input_box_->toPlainText();
  input.replace(QChar(u'\n'), QStringLiteral("\r\n"));
  const Text input_text = Utf16ToCp936(ToView(input));
  const Text decimals_text = Utf16ToCp936(ToView(decimals_box_->text()));
  ShowResults(results_.Calculate(input_text, scientific_check_->isChecked(),
                                 decimals_text));
}

void MainWindow::ShowResults(std::vector<ResultLine> lines) {
  QTextDocument* document = output_box_->document();
  const auto text_of = [](const std::vector<ResultLine>& all, std::size_t from,
                          std::size_t count) {
    std::size_t size = 0;
    for (std::size_t i = from; i < from + count; ++i)
      size += all[i]->size() + 2;
    QString text;
    text.reserve(static_cast<qsizetype>(size));
    for (std::size_t i = from; i < from + count; ++i) {
      text.append(ToQString(*all[i]));
      text.append(QStringLiteral("\r\n"));
    }
    return text;
  };

  writing_output_ = true;
  if (output_edited_ || shown_.empty() || lines.empty()) {
    output_box_->SetText(text_of(lines, 0, lines.size()));
  } else {
    // Only the lines that differ from what the box shows are replaced, in
    // one edit; the box then holds exactly the text of the whole pass.
    const LineChange change = DiffResults(shown_, lines);
    if (change.removed > 0 || change.inserted > 0) {
      std::size_t first_block = 0;
      for (std::size_t i = 0; i < change.first; ++i) {
        first_block += ParagraphBreaks(*shown_[i]);
      }
      std::size_t removed_blocks = 0;
      for (std::size_t i = change.first; i < change.first + change.removed;
           ++i) {
        removed_blocks += ParagraphBreaks(*shown_[i]);
      }
      const int from =
          document->findBlockByNumber(static_cast<int>(first_block)).position();
      const int to = document
                         ->findBlockByNumber(
                             static_cast<int>(first_block + removed_blocks))
                         .position();
      const QString inserted = text_of(lines, change.first, change.inserted);
      output_box_->PrepareForParagraph(LongestParagraph(inserted));
      document->setUndoRedoEnabled(false);  // the box's text is not undoable
      QTextCursor cursor(document);
      cursor.beginEditBlock();
      cursor.setPosition(from);
      cursor.setPosition(to, QTextCursor::KeepAnchor);
      cursor.removeSelectedText();
      if (!inserted.isEmpty()) cursor.insertText(inserted);
      cursor.endEditBlock();
      document->setUndoRedoEnabled(true);
    }
  }
  writing_output_ = false;
  output_edited_ = false;
  shown_ = std::move(lines);

  // The caret at the end, scrolled into view, as after appending.
  QTextCursor end(document);
  end.movePosition(QTextCursor::End);
  output_box_->setTextCursor(end);
  output_box_->ensureCursorVisible();
}

// ---------------------------------------------------------------------------
// Handlers
// ---------------------------------------------------------------------------

void MainWindow::SelectAll(QPlainTextEdit* box, int key_code, int modifiers) {
  if (key_code != 'A' || modifiers != 1) return;
  QTextCursor all(box->document());
  all.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
  box->setTextCursor(all);
  box->ensureCursorVisible();
}

void MainWindow::CopyResults() {
  QString results = output_box_->toPlainText();
  if (results.isEmpty()) return;  // the clipboard keeps what it has
#ifdef Q_OS_WIN
  results.replace(QChar(u'\n'), QStringLiteral("\r\n"));
#endif
  if (QClipboard* clipboard = QGuiApplication::clipboard()) {
    clipboard->setText(results);
  }
}

void MainWindow::ClearInput() { input_box_->SetText(QString()); }

void MainWindow::SetTopmost() {
  // Through the native window, which keeps it; changing the widget's flags
  // would recreate it.
  if (QWindow* window = windowHandle()) {
    window->setFlag(Qt::WindowStaysOnTopHint, topmost_check_->isChecked());
  }
}

void MainWindow::ShowAbout() {
  scientific_check_->setChecked(true);
  QString former = input_box_->toPlainText();
  former.replace(QChar(u'\n'), QStringLiteral("\r\n"));
  input_box_->SetText(AboutText() + former);
}

// ---------------------------------------------------------------------------
// Window events
// ---------------------------------------------------------------------------

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
      if (watched == input_box_ || watched == output_box_) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        SelectAll(static_cast<QPlainTextEdit*>(watched), key.key(),
                  ModifierMask(key));
      }
      break;
    case QEvent::FocusIn:
      ShowSelection(static_cast<QWidget*>(watched), true);
      break;
    case QEvent::FocusOut:
      if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        ShowSelection(static_cast<QWidget*>(watched), false);
      }
      break;
    default:
      break;
  }
  return false;  // the box goes on with the event as usual
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ApplyLayout();
  ApplyPendingOuterSize();
}

void MainWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  ApplyPendingOuterSize();
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  ApplyPendingOuterSize();
  for (int delay : kFrameChecksMs) {
    QTimer::singleShot(delay, this, &MainWindow::ApplyPendingOuterSize);
  }
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  event->accept();
  QWindow* window = windowHandle();
  if (window && window->startSystemMove()) return;
  drag_offset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
  if (drag_offset_ && (event->buttons() & Qt::LeftButton)) {
    move(event->globalPosition().toPoint() - *drag_offset_);
    event->accept();
    return;
  }
  QWidget::mouseMoveEvent(event);
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
  drag_offset_.reset();
  QWidget::mouseReleaseEvent(event);
}

}  // namespace sumora
