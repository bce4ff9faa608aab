// The window's pieces that work without a window: the layout arithmetic, the
// decimals box's normalisation and the per-line results.
#include <QTest>

#include "calc/pass.h"
#include "text/cp936.h"
#include "ui/decimals_box.h"
#include "ui/layout_plan.h"
#include "ui/line_results.h"
#include "ui/text_box.h"

namespace sumora {
namespace {

// The result lines of a pass joined as the window's result box holds them.
std::u16string Joined(const std::vector<ResultLine>& lines) {
  std::u16string all;
  for (const ResultLine& line : lines) all += *line + u"\r\n";
  return all;
}

std::vector<ResultLine> Lines(std::initializer_list<const char16_t*> texts) {
  std::vector<ResultLine> lines;
  for (const char16_t* text : texts) {
    lines.push_back(std::make_shared<const std::u16string>(text));
  }
  return lines;
}

}  // namespace

class WindowPartsTest : public QObject {
  Q_OBJECT

 private slots:
  void layoutPlan_data();
  void layoutPlan();
  void normalizeDecimals_data();
  void normalizeDecimals();
  void typedDecimalsCharacters();
  void cachedLinesEqualThePass();
  void cacheForgetsOnSettingsChange();
  void cacheStaysBounded();
  void diffFindsTheChangedRun();
  void paragraphBreaks();
  void longestParagraph();
};

void WindowPartsTest::layoutPlan_data() {
  QTest::addColumn<int>("cw");
  QTest::addColumn<int>("ch");
  QTest::addColumn<QList<int>>("expected");
  // options left, input w, output w, output h, input h, bar w, panel left,
  // bar top, output top
  QTest::newRow("412x328") << 412 << 328 << QList<int>{260, 408, 408, 131, 131,
                                                       412, 244, 163, 195};
  QTest::newRow("odd height truncates")
      << 412 << 329 << QList<int>{260, 408, 408, 131, 131, 412, 244, 163, 195};
  QTest::newRow("designed client")
      << 424 << 342 << QList<int>{272, 420, 420, 138, 138, 424, 256, 170, 202};
  QTest::newRow("just below 66")
      << 300 << 65 << QList<int>{148, 296, 296, 0, 0, 300, 132, 32, 64};
  QTest::newRow("nothing left")
      << 0 << 0 << QList<int>{-152, 0, 0, 0, 0, 0, -168, 32, 64};
  QTest::newRow("beyond the coordinate range")
      << 40000 << 40000 << QList<int>{32627, 32627, 32627, 19967, 19967,
                                      32627, 32627, 19999, 20031};
}

void WindowPartsTest::layoutPlan() {
  QFETCH(int, cw);
  QFETCH(int, ch);
  QFETCH(QList<int>, expected);
  const LayoutPlan plan = PlanLayout(cw, ch);
  const QList<int> got{
      plan.options_frame_left,  plan.input_box_width,  plan.output_box_width,
      plan.output_box_height,   plan.input_box_height, plan.button_bar_width,
      plan.decimals_panel_left, plan.button_bar_top,   plan.output_box_top};
  QCOMPARE(got, expected);
}

void WindowPartsTest::normalizeDecimals_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("normal");
  QTest::newRow("empty") << ""
                         << "";
  QTest::newRow("zero becomes empty") << "0"
                                      << "";
  QTest::newRow("minus zero") << "-0"
                              << "";
  QTest::newRow("leading zeros") << "007"
                                 << "7";
  QTest::newRow("digits then letters") << "12abc"
                                       << "12";
  QTest::newRow("letters alone") << "abc"
                                 << "";
  QTest::newRow("blanks and sign") << " \t-5x"
                                   << "-5";
  QTest::newRow("plus sign") << "+3"
                             << "3";
  QTest::newRow("lone minus") << "-"
                              << "";
  QTest::newRow("sign after digit") << "3-4"
                                    << "3";
  QTest::newRow("int32 max") << "2147483647"
                             << "2147483647";
  QTest::newRow("above int32") << "2147483648"
                               << "2147483647";
  QTest::newRow("int32 min") << "-2147483648"
                             << "-2147483648";
  QTest::newRow("below int32") << "-2147483649"
                               << "-2147483648";
  QTest::newRow("beyond 64 bits") << "99999999999999999999999"
                                  << "2147483647";
  QTest::newRow("beyond 64 bits, negative") << "-99999999999999999999999"
                                            << "-2147483648";
  QTest::newRow("full-width digits are no digits") << "１２"
                                                   << "";
}

void WindowPartsTest::normalizeDecimals() {
  QFETCH(QString, text);
  QFETCH(QString, normal);
  QCOMPARE(NormalizeDecimalsText(text), normal);
}

void WindowPartsTest::typedDecimalsCharacters() {
  for (QChar c : QStringLiteral("-0123456789")) QVERIFY(IsDecimalsCharacter(c));
  for (QChar c : QStringLiteral(".+ aZ中１")) QVERIFY(!IsDecimalsCharacter(c));
}

void WindowPartsTest::cachedLinesEqualThePass() {
  // Lines that repeat, a blank line, a trailing break, and a line ending in
  // the one-byte euro sign, which the pass does not split after.
  const std::u16string inputs[] = {
      u"1+1\r\n2*3\r\n1+1",
      u"午餐 35.5 + 饮料 12\r\n\r\n3x+（2\r\n",
      u"1€\r\n2+2\r\n3",
      u"\r\n",
      u"",
  };
  LineResultCache cache;
  for (bool scientific : {false, true}) {
    for (const char* decimals : {"", "2"}) {
      for (int round = 0; round < 2; ++round) {  // the second from the cache
        for (const std::u16string& input : inputs) {
          const Text text = Utf16ToCp936(input);
          QCOMPARE(Joined(cache.Calculate(text, scientific, decimals)),
                   Cp936ToUtf16(CalculationPass(text, scientific, decimals)));
        }
      }
    }
  }
}

void WindowPartsTest::cacheForgetsOnSettingsChange() {
  LineResultCache cache;
  const Text input = "1/3\r\n2^2";
  const auto plain = cache.Calculate(input, false, "");
  QCOMPARE(Joined(cache.Calculate(input, false, "2")),
           Cp936ToUtf16(CalculationPass(input, false, "2")));
  QCOMPARE(Joined(cache.Calculate(input, true, "2")),
           Cp936ToUtf16(CalculationPass(input, true, "2")));
  // Back to the first settings: the same text again, computed anew.
  QCOMPARE(Joined(cache.Calculate(input, false, "")), Joined(plain));
}

void WindowPartsTest::cacheStaysBounded() {
  LineResultCache cache;
  for (int round = 0; round < 50; ++round) {
    Text input;
    for (int i = 0; i < 1000; ++i) {
      input += std::to_string(round * 1000 + i) + "+1\r\n";
    }
    QCOMPARE(cache.Calculate(input, false, "").size(), std::size_t{1000});
  }
  QVERIFY(cache.size() <= 2 * 1000 + 4096);
}

void WindowPartsTest::diffFindsTheChangedRun() {
  struct Case {
    std::vector<ResultLine> before, after;
    std::size_t first, removed, inserted;
  };
  const Case cases[] = {
      {Lines({u"a", u"b", u"c"}), Lines({u"a", u"b", u"c"}), 3, 0, 0},
      {Lines({u"a", u"b", u"c"}), Lines({u"a", u"x", u"c"}), 1, 1, 1},
      {Lines({u"a", u"c"}), Lines({u"a", u"b", u"c"}), 1, 0, 1},
      {Lines({u"a", u"b", u"c"}), Lines({u"a", u"c"}), 1, 1, 0},
      {Lines({}), Lines({u"a"}), 0, 0, 1},
      {Lines({u"a"}), Lines({}), 0, 1, 0},
      // Repeated lines: prefix and suffix may not overlap.
      {Lines({u"a", u"a"}), Lines({u"a", u"a", u"a"}), 2, 0, 1},
      {Lines({u"a", u"a", u"a"}), Lines({u"a"}), 1, 2, 0},
  };
  for (const Case& c : cases) {
    const LineChange change = DiffResults(c.before, c.after);
    QCOMPARE(change.first, c.first);
    QCOMPARE(change.removed, c.removed);
    QCOMPARE(change.inserted, c.inserted);
  }
}

void WindowPartsTest::paragraphBreaks() {
  QCOMPARE(ParagraphBreaks(u""), std::size_t{1});
  QCOMPARE(ParagraphBreaks(u"1+1=2"), std::size_t{1});
  QCOMPARE(ParagraphBreaks(u"a\rb"), std::size_t{2});
  QCOMPARE(ParagraphBreaks(u"a\nb"), std::size_t{2});
  QCOMPARE(ParagraphBreaks(u"a\r\nb"), std::size_t{2});
  QCOMPARE(ParagraphBreaks(u"a\r"), std::size_t{2});
  QCOMPARE(ParagraphBreaks(u"\na"), std::size_t{2});
}

void WindowPartsTest::longestParagraph() {
  QCOMPARE(LongestParagraph(u""), 0);
  QCOMPARE(LongestParagraph(u"abc"), 3);
  QCOMPARE(LongestParagraph(u"ab\r\nabcd\nx"), 4);
  QCOMPARE(LongestParagraph(u"a\rabc\u2029ab"), 3);
  QCOMPARE(LongestParagraph(u"abcde\r\n"), 5);
  QCOMPARE(LongestParagraph(u"\r\n\r\n"), 0);
}

}  // namespace sumora

QTEST_GUILESS_MAIN(sumora::WindowPartsTest)
#include "window_parts_test.moc"
