// Helpers shared by the window's tests: a window with its settings file in a
// temporary directory, its controls by role, and what the core computes.
#ifndef SUMORA_TESTS_UI_WINDOW_TEST_SUPPORT_H_
#define SUMORA_TESTS_UI_WINDOW_TEST_SUPPORT_H_

#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <memory>

#include "calc/pass.h"
#include "text/cp936.h"
#include "ui/main_window.h"
#include "ui/settings_file.h"

namespace sumora::testing {

inline std::u16string_view View(const QString& text) {
  return std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                             static_cast<std::size_t>(text.size()));
}

// The result box's text that the whole calculation pass gives for the input
// box's text (paragraphs joined with CR LF), as the box shows it (LF).
inline QString ExpectedResults(const QString& input, bool scientific,
                               const QString& decimals = QString()) {
  QString joined = input;
  joined.replace(QChar(u'\n'), QStringLiteral("\r\n"));
  const std::u16string output = Cp936ToUtf16(CalculationPass(
      Utf16ToCp936(View(joined)), scientific, Utf16ToCp936(View(decimals))));
  QString shown = QString(reinterpret_cast<const QChar*>(output.data()),
                          static_cast<qsizetype>(output.size()));
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

// Types text that may hold characters beyond ASCII, one key event each.
inline void TypeText(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    if (c == u'\n') {
      QTest::keyClick(widget, Qt::Key_Return);
    } else {
      QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c),
                          Qt::NoModifier);
    }
  }
}

struct WindowUnderTest {
  QTemporaryDir directory;
  std::filesystem::path settings_path;
  std::unique_ptr<MainWindow> window;

  // Builds the window as the program does; `settings` is written to the
  // settings file first unless it is a null array.
  explicit WindowUnderTest(const QByteArray& settings = QByteArray())
      : settings_path(std::filesystem::path(directory.path().toStdString()) /
                      std::string(kSettingsFileName)) {
    if (!settings.isNull()) WriteSettings(settings);
    window = std::make_unique<MainWindow>(settings_path);
    window->Created();
    window->ApplyLayout();
  }

  void WriteSettings(const QByteArray& content) const {
    QFile file(QString::fromStdString(settings_path.string()));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
  }

  QByteArray ReadSettings() const {
    QFile file(QString::fromStdString(settings_path.string()));
    if (!file.open(QIODevice::ReadOnly)) return QByteArray();
    return file.readAll();
  }

  // Shows the window and makes it the active one, so that focus changes
  // deliver their events.
  bool ShowActive() const {
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window.get());
  }

  template <typename T>
  T* Find(const char* role) const {
    return window->findChild<T*>(QString::fromLatin1(role));
  }
};

}  // namespace sumora::testing

#endif  // SUMORA_TESTS_UI_WINDOW_TEST_SUPPORT_H_
