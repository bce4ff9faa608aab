// The calculator window driven as a user drives it: keys, clicks, focus.
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QWindow>

#include "ui/decimals_box.h"
#include "ui/text_box.h"
#include "ui/window_texts.h"
#include "window_test_support.h"

namespace sumora {

using testing::ExpectedResults;
using testing::TypeText;
using testing::WindowUnderTest;

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void controlsAsDesigned();
  void captionsFitTheirBoxes();
  void aboutLinkLightsUnderThePointer();
  void typingUpdatesResults();
  void editsKeepResultsEqualToWholePass();
  void typingIntoResultsIsReplacedByNextPass();
  void longParagraphsWrapAnywhere();
  void decimalsBoxFiltersTypedCharacters();
  void decimalsBoxNormalisesOnLeaving_data();
  void decimalsBoxNormalisesOnLeaving();
  void scientificCheckRecomputes();
  void clearOnEmptyInputStillRecomputes();
  void copyResults();
  void aboutLinkOnEmptyInput();
  void aboutLinkPutsTextInFront();
  void ctrlASelectsAll_data();
  void ctrlASelectsAll();
  void selectionShownOnlyWithFocus();
  void tabMovesFocus();
  void enterPressesNoButton();
  void layoutFollowsTheWindow();
  void topmostKeepsTheNativeWindow();
  void pressOnBackgroundMovesTheWindow();
  void escapeCloses();
  void closingWithFocusInDecimalsBox();
};

void MainWindowTest::controlsAsDesigned() {
  WindowUnderTest t;
  QCOMPARE(t.window->windowTitle(), QStringLiteral("Sumora"));
  QVERIFY(!t.window->windowIcon().isNull());
  QCOMPARE(t.window->palette().color(QPalette::Window), QColor(Qt::white));

  struct Place {
    const char* role;
    QRect rect;
  };
  // Controls that the layout never moves.
  const Place places[] = {
      {"HeadingLabel", QRect(14, 6, 216, 24)},
      {"AboutLink", QRect(182, 9, 44, 15)},
      {"ScientificCheck", QRect(8, 6, 72, 16)},
      {"TopmostCheck", QRect(96, 6, 56, 16)},
      {"ClearButton", QRect(8, 4, 48, 24)},
      {"CopyButton", QRect(60, 4, 80, 24)},
      {"CalcButton", QRect(127, 4, 57, 24)},
      {"IconBox", QRect(16, 9, 16, 16)},
      {"DecimalsBox", QRect(87, 6, 73, 24)},
  };
  for (const Place& place : places) {
    QWidget* control = t.Find<QWidget>(place.role);
    QVERIFY2(control, place.role);
    QCOMPARE(control->geometry(), place.rect);
    QCOMPARE(control->font().pixelSize(),
             qstrcmp(place.role, "AboutLink") == 0 ? 14 : 12);
  }
  QCOMPARE(t.Find<QWidget>("OptionsFrame")->y(), 2);
  QCOMPARE(t.Find<QWidget>("DecimalsPanel")->y(), -2);
  QCOMPARE(t.Find<QWidget>("InputBox")->pos(), QPoint(2, 32));

  QCOMPARE(t.Find<QLabel>("HeadingLabel")->text(),
           QStringLiteral("计算文本中的数学算式（每行）"));
  QCOMPARE(t.Find<QLabel>("AboutLink")->text(), QStringLiteral("关于"));
  QCOMPARE(t.Find<QCheckBox>("ScientificCheck")->text(),
           QStringLiteral("科学计算"));
  QCOMPARE(t.Find<QCheckBox>("TopmostCheck")->text(), QStringLiteral("置顶"));
  QCOMPARE(t.Find<QPushButton>("ClearButton")->text(), QStringLiteral("CE"));
  QCOMPARE(t.Find<QPushButton>("CopyButton")->text(),
           QStringLiteral("复制结果"));
  QCOMPARE(t.Find<QLabel>("DecimalsLabel")->text(),
           QStringLiteral("保留小数:"));
  QVERIFY(!t.Find<QCheckBox>("ScientificCheck")->isChecked());
  QVERIFY(!t.Find<QCheckBox>("TopmostCheck")->isChecked());

  for (const char* role : {"InputBox", "OutputBox"}) {
    auto* box = t.Find<QPlainTextEdit>(role);
    QCOMPARE(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(box->tabChangesFocus());
    QVERIFY(!box->isReadOnly());
    QVERIFY(box->toPlainText().isEmpty());
  }
  QCOMPARE(t.Find<QWidget>("OutputBox")->palette().color(QPalette::Base),
           QColor(247, 247, 247));

  QString help = ScientificHelpText();
  QCOMPARE(help.count(QStringLiteral("\r\n")), 7);
  QVERIFY(!help.endsWith(QStringLiteral("\r\n")));
  help.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QCOMPARE(t.Find<QWidget>("ScientificCheck")->toolTip(), help);

  t.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(t.window.get()));
  QVERIFY(!t.Find<QWidget>("CalcButton")->isVisible());
  QVERIFY(t.Find<QWidget>("InputBox")->hasFocus() ||
          t.window->focusWidget() == t.Find<QWidget>("InputBox"));
}

void MainWindowTest::captionsFitTheirBoxes() {
  // A substitute face may be wider than the designed one: every caption is
  // drawn whole, and the widened decimals label stops before the box.
  WindowUnderTest t;
  for (const char* role : {"HeadingLabel", "DecimalsLabel", "AboutLink"}) {
    auto* label = t.Find<QLabel>(role);
    QVERIFY2(
        label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
        role);
  }
  const QRect label = t.Find<QWidget>("DecimalsLabel")->geometry();
  QVERIFY(label.right() < t.Find<QWidget>("DecimalsBox")->x());
  QVERIFY(label.width() >= 48);
  // The link lies over the heading's rectangle but not over its text.
  auto* heading = t.Find<QLabel>("HeadingLabel");
  QVERIFY(heading->x() +
              heading->fontMetrics().horizontalAdvance(heading->text()) <=
          t.Find<QWidget>("AboutLink")->x() + 4);
}

void MainWindowTest::aboutLinkLightsUnderThePointer() {
  WindowUnderTest t;
  auto* link = t.Find<QLabel>("AboutLink");
  const auto caption = [&] {
    return link->palette().color(QPalette::WindowText);
  };
  QCOMPARE(caption(), QColor(192, 192, 192));
  QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
  QApplication::sendEvent(link, &enter);
  QCOMPARE(caption(), QColor(128, 224, 0));
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(link, &leave);
  QCOMPARE(caption(), QColor(192, 192, 192));
  QCOMPARE(link->palette().color(QPalette::Window), QColor(Qt::white));
}

void MainWindowTest::typingUpdatesResults() {
  WindowUnderTest t;
  auto* input = t.Find<QPlainTextEdit>("InputBox");
  auto* output = t.Find<QPlainTextEdit>("OutputBox");
  QTest::keyClicks(input, "1+1");
  QCOMPARE(output->toPlainText(), ExpectedResults("1+1", false));
  QVERIFY(output->toPlainText().startsWith(QStringLiteral("1+1=")));
  QVERIFY(output->toPlainText().endsWith(u'\n'));

  TypeText(input, QStringLiteral("\n午餐 35.5 + 饮料 12\n3x+（2"));
  QCOMPARE(input->toPlainText(),
           QStringLiteral("1+1\n午餐 35.5 + 饮料 12\n3x+（2"));
  QCOMPARE(output->toPlainText(), ExpectedResults(input->toPlainText(), false));
  QCOMPARE(output->document()->blockCount(), 4);  // three lines and the end

  // The caret of the result box ends up at its end.
  QCOMPARE(output->textCursor().position(),
           static_cast<int>(output->toPlainText().size()));
}

void MainWindowTest::editsKeepResultsEqualToWholePass() {
  // The result box is updated line by line; whatever the edit, its text is
  // the text of a whole pass.
  WindowUnderTest t;
  auto* input = t.Find<QPlainTextEdit>("InputBox");
  auto* output = t.Find<QPlainTextEdit>("OutputBox");
  auto* decimals = t.Find<QLineEdit>("DecimalsBox");
  input->setPlainText(QStringLiteral("1+1\n2*3\n\n1+1\n5/2"));
  const auto check = [&](const char* step) {
    QVERIFY2(
        output->toPlainText() ==
            ExpectedResults(input->toPlainText(),
                            t.Find<QCheckBox>("ScientificCheck")->isChecked(),
                            decimals->text()),
        step);
  };
  check("set");

  QTextCursor cursor(input->document()->findBlockByNumber(1));
  cursor.movePosition(QTextCursor::EndOfBlock);
  input->setTextCursor(cursor);
  QTest::keyClick(input, Qt::Key_7);
  check("typed in a middle line");
  QTest::keyClick(input, Qt::Key_Return);
  check("line broken");
  QTest::keyClicks(input, "8-1");
  check("new line typed");
  QTest::keyClick(input, Qt::Key_Backspace);
  QTest::keyClick(input, Qt::Key_Backspace);
  QTest::keyClick(input, Qt::Key_Backspace);
  QTest::keyClick(input, Qt::Key_Backspace);
  check("lines joined again");
  input->moveCursor(QTextCursor::Start);
  QTest::keyClick(input, Qt::Key_Delete);
  check("first character deleted");
  input->moveCursor(QTextCursor::End);
  TypeText(input, QStringLiteral("\n1€\n4"));  // the pass reads on after €
  check("euro line");
  QTest::keyClick(input, Qt::Key_Backspace);
  check("after the euro line");
  QTest::keyClick(input, Qt::Key_Z, Qt::ControlModifier);
  check("undo");
  decimals->setText(QStringLiteral("2"));
  check("decimals");
  QTest::mouseClick(t.Find<QCheckBox>("ScientificCheck"), Qt::LeftButton);
  check("scientific");
  QTextCursor all(input->document());
  all.setPosition(4);
  all.setPosition(input->document()->characterCount() - 3,
                  QTextCursor::KeepAnchor);
  all.insertText(QStringLiteral("sqrt(16)\n2^3\n"));
  check("block replaced");
  input->setPlainText(QString());
  check("emptied");
  QCOMPARE(output->toPlainText(), QString());
}

void MainWindowTest::typingIntoResultsIsReplacedByNextPass() {
  WindowUnderTest t;
  auto* input = t.Find<QPlainTextEdit>("InputBox");
  auto* output = t.Find<QPlainTextEdit>("OutputBox");
  input->setPlainText(QStringLiteral("1+2\n3+4"));
  output->moveCursor(QTextCursor::Start);
  QTest::keyClicks(output, "junk");
  QVERIFY(output->toPlainText().startsWith(QStringLiteral("junk")));
  QCOMPARE(input->toPlainText(), QStringLiteral("1+2\n3+4"));  // no pass ran
  input->moveCursor(QTextCursor::End);
  QTest::keyClicks(input, "0");
  QCOMPARE(output->toPlainText(), ExpectedResults("1+2\n3+40", false));
}

void MainWindowTest::longParagraphsWrapAnywhere() {
  // A long run without a break opportunity is wrapped anywhere in both
  // boxes (word wrapping takes quadratic time for it), and word wrapping
  // returns once the run is gone.
  WindowUnderTest t;
  auto* input = t.Find<TextBox>("InputBox");
  auto* output = t.Find<TextBox>("OutputBox");
  QString run;
  while (run.size() <= kLongParagraph) run += QStringLiteral("1+");
  QGuiApplication::clipboard()->setText(QStringLiteral("2*3\n") + run);
  input->paste();
  QVERIFY(input->WrapsAnywhere());
  QVERIFY(output->WrapsAnywhere());
  QCOMPARE(output->toPlainText(), ExpectedResults(input->toPlainText(), false));

  // Typing a paragraph past the limit switches as well.
  input->moveCursor(QTextCursor::Start);
  QTest::keyClick(input, Qt::Key_Delete);
  QTest::mouseClick(t.Find<QPushButton>("ClearButton"), Qt::LeftButton);
  QVERIFY(!input->WrapsAnywhere());
  QVERIFY(!output->WrapsAnywhere());
  input->setPlainText(run.left(kLongParagraph - 1));
  QVERIFY(!input->WrapsAnywhere());
  input->moveCursor(QTextCursor::End);
  QTest::keyClicks(input, "12");
  QVERIFY(input->WrapsAnywhere());
  QVERIFY(output->WrapsAnywhere());
  QTest::keyClick(input, Qt::Key_Backspace);
  QTest::keyClick(input, Qt::Key_Backspace);
  QVERIFY(!input->WrapsAnywhere());
}

void MainWindowTest::decimalsBoxFiltersTypedCharacters() {
  WindowUnderTest t;
  auto* input = t.Find<QPlainTextEdit>("InputBox");
  auto* output = t.Find<QPlainTextEdit>("OutputBox");
  auto* decimals = t.Find<QLineEdit>("DecimalsBox");
  input->setPlainText(QStringLiteral("1/3"));
  QSignalSpy changes(decimals, &QLineEdit::textChanged);

  QTest::keyClicks(decimals, "a.Z +");
  TypeText(decimals, QStringLiteral("中１"));
  QCOMPARE(decimals->text(), QString());
  QCOMPARE(changes.count(), 0);

  QTest::keyClicks(decimals, "-");
  QCOMPARE(decimals->text(), QStringLiteral("-"));
  QCOMPARE(output->toPlainText(), ExpectedResults("1/3", false, "-"));
  QTest::keyClick(decimals, Qt::Key_Backspace);
  QTest::keyClicks(decimals, "3");
  QCOMPARE(output->toPlainText(), ExpectedResults("1/3", false, "3"));

  // Editing keys reach the box, Delete with the text X11 gives it.
  QTest::keyClick(decimals, Qt::Key_Home);
  QTest::sendKeyEvent(QTest::Click, decimals, Qt::Key_Delete,
                      QString(QChar(0x7f)), Qt::NoModifier);
  QCOMPARE(decimals->text(), QString());
  QTest::keyClicks(decimals, "3");

  // Shortcuts pass, so a paste brings any text.
  QGuiApplication::clipboard()->setText(QStringLiteral("x9"));
  QTest::keyClick(decimals, Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(decimals->text(), QStringLiteral("3x9"));
}

void MainWindowTest::decimalsBoxNormalisesOnLeaving_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("pasted");
  QTest::addColumn<QString>("left");
  QTest::addColumn<int>("caret");
  QTest::newRow("zero empties the box") << "0"
                                        << ""
                                        << "" << 0;
  QTest::newRow("leading zeros") << "007"
                                 << ""
                                 << "7" << 1;
  QTest::newRow("pasted digits and letters") << ""
                                             << "12abc"
                                             << "12" << 2;
  QTest::newRow("pasted letters") << ""
                                  << "abc"
                                  << "" << 0;
  QTest::newRow("already normal") << "25"
                                  << ""
                                  << "25" << 2;
  QTest::newRow("clamped") << "99999999999"
                           << ""
                           << "2147483647" << 10;
}

void MainWindowTest::decimalsBoxNormalisesOnLeaving() {
  QFETCH(QString, typed);
  QFETCH(QString, pasted);
  QFETCH(QString, left);
  QFETCH(int, caret);
  WindowUnderTest t;
  QVERIFY(t.ShowActive());
  auto* input = t.Find<QPlainTextEdit>("InputBox");
  auto* output = t.Find<QPlainTextEdit>("OutputBox");
  auto* decimals = t.Find<QLineEdit>("DecimalsBox");
  input->setPlainText(QStringLiteral("2/3"));
  decimals->setFocus();
  QTest::keyClicks(decimals, typed);
  if (!pasted.isEmpty()) {
    QGuiApplication::clipboard()->setText(pasted);
    QTest::keyClick(decimals, Qt::Key_V, Qt::ControlModifier);
  }
  input->setFocus();
  QCOMPARE(decimals->text(), left);
  QCOMPARE(decimals->cursorPosition(), caret);
  QCOMPARE(output->toPlainText(), ExpectedResults("2/3", false, left));
}

void MainWindowTest::scientificCheckRecomputes() {
  WindowUnderTest t;
  auto* input = t.Find<QPlainTextEdit>("InputBox");
  auto* output = t.Find<QPlainTextEdit>("OutputBox");
  auto* check = t.Find<QCheckBox>("ScientificCheck");
  input->setPlainText(QStringLiteral("sqrt(4)\n2^3\n50%"));
  QCOMPARE(output->toPlainText(), ExpectedResults(input->toPlainText(), false));
  QTest::mouseClick(check, Qt::LeftButton);
  QVERIFY(check->isChecked());
  QCOMPARE(output->toPlainText(), ExpectedResults(input->toPlainText(), true));
  QTest::mouseClick(check, Qt::LeftButton);
  QCOMPARE(output->toPlainText(), ExpectedResults(input->toPlainText(), false));
}

void MainWindowTest::clearOnEmptyInputStillRecomputes() {
  WindowUnderTest t;
  auto* input = t.Find<QPlainTextEdit>("InputBox");
  auto* output = t.Find<QPlainTextEdit>("OutputBox");
  // Text typed into the result box shows whether a pass ran.
  output->setPlainText(QStringLiteral("typed"));
  QTest::mouseClick(t.Find<QPushButton>("ClearButton"), Qt::LeftButton);
  QCOMPARE(input->toPlainText(), QString());
  QCOMPARE(output->toPlainText(), QString());

  input->setPlainText(QStringLiteral("1+1\n2"));
  QTest::mouseClick(t.Find<QPushButton>("ClearButton"), Qt::LeftButton);
  QCOMPARE(input->toPlainText(), QString());
  QCOMPARE(output->toPlainText(), QString());
}

void MainWindowTest::copyResults() {
  WindowUnderTest t;
  QClipboard* clipboard = QGuiApplication::clipboard();
  auto* copy = t.Find<QPushButton>("CopyButton");
  clipboard->setText(QStringLiteral("kept"));
  QTest::mouseClick(copy, Qt::LeftButton);
  QCOMPARE(clipboard->text(), QStringLiteral("kept"));

  t.Find<QPlainTextEdit>("InputBox")->setPlainText(QStringLiteral("1+1\n2*3"));
  QTest::mouseClick(copy, Qt::LeftButton);
  // Every line with its break, the last one included.
  QString expected = ExpectedResults("1+1\n2*3", false);
#ifdef Q_OS_WIN
  expected.replace(QChar(u'\n'), QStringLiteral("\r\n"));
#endif
  QCOMPARE(clipboard->text(), expected);
  QCOMPARE(clipboard->text().count(u'\n'), 2);
  QVERIFY(clipboard->text().endsWith(u'\n'));
}

void MainWindowTest::aboutLinkOnEmptyInput() {
  WindowUnderTest t;
  auto* input = t.Find<QPlainTextEdit>("InputBox");
  auto* output = t.Find<QPlainTextEdit>("OutputBox");
  QTest::mouseClick(t.Find<QWidget>("AboutLink"), Qt::LeftButton);
  QVERIFY(t.Find<QCheckBox>("ScientificCheck")->isChecked());
  QString about = AboutText();
  QCOMPARE(about.count(QStringLiteral("\r\n")), 10);
  about.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QCOMPARE(input->toPlainText(), about);
  QCOMPARE(input->document()->blockCount(), 11);
  QCOMPARE(output->toPlainText(), ExpectedResults(about, true));
  QCOMPARE(output->toPlainText().count(u'\n'), 11);
}

void MainWindowTest::aboutLinkPutsTextInFront() {
  WindowUnderTest t;
  auto* input = t.Find<QPlainTextEdit>("InputBox");
  auto* output = t.Find<QPlainTextEdit>("OutputBox");
  input->setPlainText(QStringLiteral("1+1"));
  QTest::mouseClick(t.Find<QWidget>("AboutLink"), Qt::LeftButton);
  QCOMPARE(input->document()->blockCount(), 11);
  QCOMPARE(input->document()->lastBlock().text(),
           QStringLiteral("反三角函数：asin(2) + atan(2)+ acos(2)1+1"));
  QCOMPARE(output->toPlainText(), ExpectedResults(input->toPlainText(), true));
  QCOMPARE(output->toPlainText().count(u'\n'), 11);
}

void MainWindowTest::ctrlASelectsAll_data() {
  QTest::addColumn<QString>("role");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<bool>("selects_all");
  for (const char* role : {"InputBox", "OutputBox"}) {
    const QString name = QString::fromLatin1(role);
    QTest::addRow("%s Ctrl (1)", role)
        << name << int(Qt::ControlModifier) << true;
    QTest::addRow("%s Ctrl+Shift (3)", role)
        << name << int(Qt::ControlModifier | Qt::ShiftModifier) << false;
    QTest::addRow("%s Ctrl+Alt (5)", role)
        << name << int(Qt::ControlModifier | Qt::AltModifier) << false;
  }
}

void MainWindowTest::ctrlASelectsAll() {
  QFETCH(QString, role);
  QFETCH(int, modifiers);
  QFETCH(bool, selects_all);
  WindowUnderTest t;
  t.Find<QPlainTextEdit>("InputBox")
      ->setPlainText(QStringLiteral("12+3\n午餐 4\n5"));
  auto* box = t.Find<QPlainTextEdit>(role.toLatin1().constData());
  box->moveCursor(QTextCursor::Start);
  QTest::keyClick(box, Qt::Key_A, Qt::KeyboardModifiers(modifiers));
  const QTextCursor cursor = box->textCursor();
  const bool all =
      cursor.selectionStart() == 0 &&
      cursor.selectionEnd() == box->document()->characterCount() - 1;
  QCOMPARE(all, selects_all);
}

void MainWindowTest::selectionShownOnlyWithFocus() {
  WindowUnderTest t;
  QVERIFY(t.ShowActive());
  auto* input = t.Find<QPlainTextEdit>("InputBox");
  const auto shown = [&] {
    return input->palette().color(QPalette::Highlight) !=
           input->palette().color(QPalette::Base);
  };
  input->setPlainText(QStringLiteral("12\n34"));
  input->setFocus();
  QTest::keyClick(input, Qt::Key_A, Qt::ControlModifier);
  QVERIFY(shown());
  t.Find<QWidget>("DecimalsBox")->setFocus();
  QVERIFY(!shown());
  QVERIFY(input->textCursor().hasSelection());  // kept, only not drawn
  input->setFocus();
  QVERIFY(shown());
}

void MainWindowTest::tabMovesFocus() {
  WindowUnderTest t;
  QVERIFY(t.ShowActive());
  auto* input = t.Find<QPlainTextEdit>("InputBox");
  input->setFocus();
  QTest::keyClick(input, Qt::Key_Tab);
  QCOMPARE(input->toPlainText(), QString());
  QVERIFY(!input->hasFocus());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
  QVERIFY(input->hasFocus());
}

void MainWindowTest::enterPressesNoButton() {
  WindowUnderTest t;
  QVERIFY(t.ShowActive());
  auto* output = t.Find<QPlainTextEdit>("OutputBox");
  t.Find<QPlainTextEdit>("InputBox")->setPlainText(QStringLiteral("1"));
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->setText(QStringLiteral("kept"));
  auto* decimals = t.Find<QLineEdit>("DecimalsBox");
  decimals->setFocus();
  QTest::keyClick(decimals, Qt::Key_Return);
  QTest::keyClick(decimals, Qt::Key_F1);
  QVERIFY(decimals->hasFocus());
  QCOMPARE(clipboard->text(), QStringLiteral("kept"));
  QCOMPARE(output->toPlainText(), ExpectedResults("1", false));
}

void MainWindowTest::layoutFollowsTheWindow() {
  WindowUnderTest t;
  QVERIFY(t.ShowActive());
  const auto geometry = [&](const char* role) {
    return t.Find<QWidget>(role)->geometry();
  };
  t.window->resize(412, 328);
  QTRY_COMPARE(t.window->size(), QSize(412, 328));
  QCOMPARE(geometry("InputBox"), QRect(2, 32, 408, 131));
  QCOMPARE(geometry("ButtonBar"), QRect(0, 163, 412, 32));
  QCOMPARE(geometry("OutputBox"), QRect(2, 195, 408, 131));
  QCOMPARE(geometry("OptionsFrame"), QRect(260, 2, 152, 24));
  QCOMPARE(geometry("DecimalsPanel").x(), 244);

  t.window->resize(300, 50);
  QTRY_COMPARE(t.window->size(), QSize(300, 50));
  QCOMPARE(geometry("InputBox"), QRect(2, 32, 296, 0));
  QCOMPARE(geometry("ButtonBar").y(), 32);
  QCOMPARE(geometry("OutputBox"), QRect(2, 64, 296, 0));

  t.window->showMinimized();
  t.window->showNormal();
  t.window->resize(500, 400);
  QTRY_COMPARE(t.window->size(), QSize(500, 400));
  QCOMPARE(geometry("InputBox"), QRect(2, 32, 496, 167));
  QCOMPARE(geometry("OutputBox"), QRect(2, 231, 496, 167));
}

void MainWindowTest::topmostKeepsTheNativeWindow() {
  WindowUnderTest t;
  QVERIFY(t.ShowActive());
  const WId native = t.window->winId();
  auto* topmost = t.Find<QCheckBox>("TopmostCheck");
  QTest::mouseClick(topmost, Qt::LeftButton);
  QVERIFY(t.window->windowHandle()->flags() & Qt::WindowStaysOnTopHint);
  QVERIFY(t.window->isVisible());
  QCOMPARE(t.window->winId(), native);
  QTest::mouseClick(topmost, Qt::LeftButton);
  QVERIFY(!(t.window->windowHandle()->flags() & Qt::WindowStaysOnTopHint));
  QCOMPARE(t.window->winId(), native);
}

void MainWindowTest::pressOnBackgroundMovesTheWindow() {
  WindowUnderTest t;
  QVERIFY(t.ShowActive());
  const auto drag = [&](QWidget* on) {
    const QPoint start = t.window->pos();
    const QPoint local(4, 4);
    const QPoint global = on->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(on, &press);
    const QPoint to = global + QPoint(30, 20);
    QMouseEvent move(QEvent::MouseMove, on->mapFromGlobal(to), to, Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(on, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, on->mapFromGlobal(to), to,
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(on, &release);
    return t.window->pos() - start;
  };
  for (const char* role : {"HeadingLabel", "DecimalsLabel", "IconBox",
                           "ButtonBar", "DecimalsPanel"}) {
    QVERIFY2(drag(t.Find<QWidget>(role)) == QPoint(30, 20), role);
  }
  QCOMPARE(drag(t.window.get()), QPoint(30, 20));
  // The link acts instead of moving.
  QCOMPARE(drag(t.Find<QWidget>("AboutLink")), QPoint(0, 0));
  QVERIFY(t.Find<QCheckBox>("ScientificCheck")->isChecked());
  QCOMPARE(drag(t.Find<QPlainTextEdit>("InputBox")->viewport()), QPoint(0, 0));
}

void MainWindowTest::escapeCloses() {
  WindowUnderTest t;
  QVERIFY(t.ShowActive());
  for (const char* role : {"InputBox", "DecimalsBox"}) {
    t.Find<QWidget>(role)->setFocus();
    QTest::keyClick(t.Find<QWidget>(role), Qt::Key_Escape);
    QVERIFY2(!t.window->isVisible(), role);
    QVERIFY(t.ShowActive());
  }
}

void MainWindowTest::closingWithFocusInDecimalsBox() {
  // Destroying the window takes the focus from the decimals box, whose
  // normalisation then changes its text; that must not reach the window.
  WindowUnderTest t;
  QVERIFY(t.ShowActive());
  auto* decimals = t.Find<QLineEdit>("DecimalsBox");
  decimals->setFocus();
  QTest::keyClicks(decimals, "007");
  t.window->close();
  t.window.reset();
  QVERIFY(!t.ReadSettings().isEmpty());
}

}  // namespace sumora

QTEST_MAIN(sumora::MainWindowTest)
#include "main_window_test.moc"
