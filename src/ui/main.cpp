// Start-up and shut-down of the calculator window.
#include <QApplication>
#include <QFile>
#include <cfenv>
#include <filesystem>
#include <string>

#include "ui/main_window.h"
#include "ui/settings_file.h"

int main(int argc, char* argv[]) {
  // Qt takes its own platform options; no other argument means anything.
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Sumora"));
  // Ties the window to the installed sumora.desktop entry (taskbar, icon).
  QGuiApplication::setDesktopFileName(QStringLiteral("sumora"));

  // Round to nearest, every floating-point exception masked: an overflow or a
  // division by zero gives an infinity or a NaN, never a trap.
  std::fesetround(FE_TONEAREST);
  std::fenv_t startup_environment;
  std::feholdexcept(&startup_environment);

  // The settings file lies beside the program.
  const std::filesystem::path settings_path =
      std::filesystem::path(
          QFile::encodeName(QCoreApplication::applicationDirPath())
              .toStdString()) /
      std::string(sumora::kSettingsFileName);

  {
    // The window saves its size as it is destroyed, at the end of this
    // block, while the application still exists.
    sumora::MainWindow window(settings_path);
    window.Created();
    window.ApplyLayout();
    window.show();
    application.exec();
  }
  return 0;
}
