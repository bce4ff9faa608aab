// The window size kept in the settings file, through the window: what a file
// gives, what closing writes, and that the outer size survives a round trip.
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>

#include "window_test_support.h"

namespace sumora {

using testing::WindowUnderTest;

namespace {

// The outer size the window really has once it is shown and framed.
QSize ShownOuterSize(WindowUnderTest& t) {
  t.window->show();
  if (!QTest::qWaitForWindowExposed(t.window.get())) return QSize();
  // The stored size is applied to the outer size once the frame is known.
  const bool settled = QTest::qWaitFor(
      [&] { return t.window->frameGeometry().size() == t.window->OuterSize(); },
      2000);
  if (!settled) return QSize();
  return t.window->frameGeometry().size();
}

QSize Desktop() { return QGuiApplication::primaryScreen()->virtualSize(); }

}  // namespace

class WindowSizeTest : public QObject {
  Q_OBJECT

 private slots:
  void loadedSize_data();
  void loadedSize();
  void placedWhereTheDesignedWindowIsCentred();
  void closingWritesTheSize();
  void roundTripKeepsTheNumbers();
  void resizedSizeIsStoredAndOtherLinesKept();
  void escapeClosesAndSaves();
  void unwritableDirectoryKeepsWorking();
};

void WindowSizeTest::loadedSize_data() {
  QTest::addColumn<QByteArray>("settings");
  QTest::addColumn<QSize>("outer");
  QTest::newRow("no file") << QByteArray() << QSize(400, 400);
  QTest::newRow("600 high, 800 wide")
      << QByteArray("[window]\r\nhieght=600\r\nwidth=800\r\n")
      << QSize(800, 600);
  QTest::newRow("other case, blanks and quotes")
      << QByteArray("[Window]\r\nHIEGHT = \"300\" \r\nWidth=  500\r\n")
      << QSize(500, 300);
  QTest::newRow("the key height is not read")
      << QByteArray("[window]\r\nheight=600\r\nwidth=500\r\n")
      << QSize(500, 400);
  QTest::newRow("garbage gives 0, raised to 100")
      << QByteArray("[window]\r\nhieght=abc\r\nwidth=x1\r\n")
      << QSize(100, 100);
  QTest::newRow("empty values")
      << QByteArray("[window]\r\nhieght=\r\nwidth=\r\n") << QSize(100, 100);
  QTest::newRow("negative")
      << QByteArray("[window]\r\nhieght=-300\r\nwidth=-1\r\n")
      << QSize(100, 100);
  QTest::newRow("below 10 only")
      << QByteArray("[window]\r\nhieght=9\r\nwidth=10\r\n") << QSize(10, 100);
  QTest::newRow("digits then text")
      << QByteArray("[window]\r\nhieght=320px\r\nwidth=450.7\r\n")
      << QSize(450, 320);
  // Larger than the whole desktop is of no use (and would need gigabytes of
  // pixels): the desktop's size.
  QTest::newRow("huge")
      << QByteArray("[window]\r\nhieght=99999\r\nwidth=2147483647\r\n")
      << Desktop();
  QTest::newRow("binary file")
      << QByteArray("\x01\xff\xfe\0[window\0]\r\n\x80\x81hieght\r\n", 24)
      << QSize(400, 400);
}

void WindowSizeTest::loadedSize() {
  QFETCH(QByteArray, settings);
  QFETCH(QSize, outer);
  WindowUnderTest t(settings);
  QCOMPARE(t.window->OuterSize(), outer);  // before the first show
  QCOMPARE(ShownOuterSize(t), outer);
}

void WindowSizeTest::placedWhereTheDesignedWindowIsCentred() {
  WindowUnderTest t("[window]\r\nhieght=300\r\nwidth=350\r\n");
  QCOMPARE(ShownOuterSize(t), QSize(350, 300));
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  QCOMPARE(t.window->frameGeometry().topLeft(),
           QPoint((screen.width() - 428) / 2, (screen.height() - 367) / 2));
}

void WindowSizeTest::closingWritesTheSize() {
  WindowUnderTest t;
  QCOMPARE(ShownOuterSize(t), QSize(400, 400));
  t.window->close();
  t.window.reset();
  QCOMPARE(t.ReadSettings(),
           QByteArray("[window]\r\nhieght=400\r\nwidth=400\r\n"));
}

void WindowSizeTest::roundTripKeepsTheNumbers() {
  // Closed without being shown, shown briefly, shown and left: the numbers
  // stay the same every time.
  WindowUnderTest t("[window]\r\nhieght=333\r\nwidth=444\r\n");
  const QByteArray first = t.ReadSettings();
  t.window.reset();
  QCOMPARE(t.ReadSettings(), first);
  for (int run = 0; run < 3; ++run) {
    t.window = std::make_unique<MainWindow>(t.settings_path);
    t.window->Created();
    t.window->ApplyLayout();
    QCOMPARE(ShownOuterSize(t), QSize(444, 333));
    t.window->close();
    t.window.reset();
    QCOMPARE(t.ReadSettings(), first);
  }
}

void WindowSizeTest::resizedSizeIsStoredAndOtherLinesKept() {
  const QByteArray before =
      "; kept\r\n[other]\r\nwidth=1\r\n\r\n[window]\r\nhieght=600\r\n"
      "x=y\r\nwidth=800\r\n[last]\r\nk=v\r\n";
  WindowUnderTest t(before);
  QCOMPARE(ShownOuterSize(t), QSize(800, 600));
  const QSize frame = t.window->frameGeometry().size() - t.window->size();
  t.window->resize(QSize(500, 300) - frame);
  QTRY_COMPARE(t.window->frameGeometry().size(), QSize(500, 300));
  t.window->close();
  t.window.reset();
  QByteArray after = before;
  after.replace("hieght=600", "hieght=300").replace("width=800", "width=500");
  QCOMPARE(t.ReadSettings(), after);
}

void WindowSizeTest::escapeClosesAndSaves() {
  WindowUnderTest t("[window]\r\nhieght=350\r\nwidth=380\r\n");
  QCOMPARE(ShownOuterSize(t), QSize(380, 350));
  t.window->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(t.window.get()));
  t.WriteSettings("");
  auto* input = t.window->findChild<QPlainTextEdit*>("InputBox");
  input->setFocus();
  QTest::keyClick(input, Qt::Key_Escape);
  QVERIFY(!t.window->isVisible());
  t.window.reset();
  QCOMPARE(t.ReadSettings(),
           QByteArray("[window]\r\nhieght=350\r\nwidth=380\r\n"));
}

void WindowSizeTest::unwritableDirectoryKeepsWorking() {
  QTemporaryDir directory;
  const std::filesystem::path missing =
      std::filesystem::path(directory.path().toStdString()) / "gone" /
      std::string(kSettingsFileName);
  auto window = std::make_unique<MainWindow>(missing);
  window->Created();
  QCOMPARE(window->OuterSize(), QSize(400, 400));
  window->show();
  QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  window.reset();
  QVERIFY(!std::filesystem::exists(missing.parent_path()));
}

}  // namespace sumora

QTEST_MAIN(sumora::WindowSizeTest)
#include "window_size_test.moc"
