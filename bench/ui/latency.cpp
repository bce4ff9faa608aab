// Latency of the calculator window with long inputs, under the platform Qt
// is started with (offscreen is the reference): one typed character in a
// text of 10,000 and of 100,000 lines, and pasting 1 MB. Prints medians of
// the wall-clock time and of the CPU time of the one thread that does all the
// work (the latter is steadier on a busy machine).
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <vector>

#include "ui/main_window.h"

namespace {

// Lines of the kind people compute: prices, sums, a little noise.
QString SampleText(int lines) {
  static const char16_t* const kLines[] = {
      u"午餐 35.5 + 饮料 12",
      u"3x+（2",
      u"房租 2400/3",
      u"(1+2)*3-4/5",
      u"12.5%*8",
      u"油费 300 + 停车 15 + 过路 45",
      u"2^10",
      u"备注：无",
  };
  QString text;
  for (int i = 0; i < lines; ++i) {
    if (i > 0) text.append(u'\n');
    text.append(QString::fromUtf16(kLines[i % 8]));
    text.append(QString::number(i));
  }
  return text;
}

double CpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 +
         static_cast<double>(now.tv_nsec) / 1e6;
}

// Wall-clock and CPU milliseconds of repeated runs of one action.
struct Timings {
  std::vector<double> wall;
  std::vector<double> cpu;
  template <typename Action>
  void Measure(Action action) {
    QElapsedTimer timer;
    const double cpu_start = CpuMs();
    timer.start();
    action();
    wall.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    cpu.push_back(CpuMs() - cpu_start);
  }
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Milliseconds from a key press in the middle of the input to the repainted
// window, over `rounds` presses: `key` and Backspace by turns.
void MeasureTyping(sumora::MainWindow& window, int lines, int rounds,
                   Qt::Key key, const char* what) {
  auto* input = window.findChild<QPlainTextEdit*>(QStringLiteral("InputBox"));
  input->setPlainText(SampleText(lines));
  QCoreApplication::processEvents();
  QTextCursor cursor(input->document()->findBlockByNumber(lines / 2));
  cursor.movePosition(QTextCursor::EndOfBlock);
  input->setTextCursor(cursor);
  Timings times;
  for (int i = 0; i < rounds; ++i) {
    times.Measure([&] {
      QTest::keyClick(input, i % 2 == 0 ? key : Qt::Key_Backspace);
      window.repaint();
      QCoreApplication::processEvents();
    });
  }
  std::printf(
      "%-10s %6d lines: median %7.2f ms (cpu %7.2f ms), worst %7.2f ms, "
      "%d keys\n",
      what, lines, Median(times.wall), Median(times.cpu),
      *std::max_element(times.wall.begin(), times.wall.end()), rounds);
}

void MeasurePaste(sumora::MainWindow& window, int rounds) {
  auto* input = window.findChild<QPlainTextEdit*>(QStringLiteral("InputBox"));
  QString text;
  int lines = 4096;
  while (text.toUtf8().size() < 1'000'000) text = SampleText(lines += 4096);
  Timings times;
  for (int i = 0; i < rounds; ++i) {
    input->setPlainText(QString());
    QCoreApplication::processEvents();
    QGuiApplication::clipboard()->setText(text);
    times.Measure([&] {
      input->paste();
      window.repaint();
      QCoreApplication::processEvents();
    });
  }
  std::printf(
      "paste %lld bytes (UTF-8), %d lines: median %7.2f ms (cpu %7.2f ms)\n",
      static_cast<long long>(text.toUtf8().size()), lines, Median(times.wall),
      Median(times.cpu));
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const std::filesystem::path settings =
      std::filesystem::temp_directory_path() / "sumora_latency_setting.ini";
  {
    sumora::MainWindow window(settings);
    window.Created();
    window.ApplyLayout();
    window.show();
    QCoreApplication::processEvents();
    MeasureTyping(window, 10'000, 101, Qt::Key_5, "digit,");
    MeasureTyping(window, 10'000, 101, Qt::Key_Return, "new line,");
    MeasureTyping(window, 100'000, 31, Qt::Key_5, "digit,");
    MeasureTyping(window, 100'000, 31, Qt::Key_Return, "new line,");
    MeasurePaste(window, 5);
  }
  std::filesystem::remove(settings);
  return 0;
}
