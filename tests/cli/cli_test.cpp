// Runs the built sumora-calc process over small files and checks what it
// writes, its exit status and its messages.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "calc/pass.h"
#include "text/cp936.h"

namespace sumora {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFile(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

class CalcProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("sumora-cli-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs sumora-calc with the arguments (already quoted for the shell) and
  // the given standard input.
  Outcome Run(const std::string& args, std::string_view input = "") {
    const fs::path in = dir_ / "stdin", out = dir_ / "stdout",
                   err = dir_ / "stderr";
    WriteFile(in, input);
    const std::string command = std::string("'") + SUMORA_CALC_BINARY + "' " +
                                args + " <'" + in.string() + "' >'" +
                                out.string() + "' 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    Outcome outcome;
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    outcome.out = ReadFile(out);
    outcome.err = ReadFile(err);
    return outcome;
  }

  std::string Data(const std::string& name) {
    return std::string(SUMORA_TEST_DATA_DIR) + "/cli/" + name;
  }

  fs::path dir_;
};

TEST_F(CalcProcess, EverydayLinesGiveTheirResultLines) {
  const Outcome standard = Run("'" + Data("everyday.txt") + "'");
  EXPECT_EQ(standard.status, 0) << standard.err;
  EXPECT_EQ(standard.out, ReadFile(Data("everyday.expected")));

  const Outcome decimals =
      Run("--decimals 2 -", ReadFile(Data("everyday.txt")));
  EXPECT_EQ(decimals.status, 0) << decimals.err;
  EXPECT_EQ(decimals.out, ReadFile(Data("everyday-decimals2.expected")));
}

TEST_F(CalcProcess, ScientificModeGoldenFile) {
  const Outcome outcome = Run("--scientific '" + Data("scientific.txt") + "'");
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.out, ReadFile(Data("scientific.expected")));
}

// The output for a file is exactly what the pass gives for its text, with
// input lines (LF or CR LF) joined by CR LF; --gbk --crlf shows the bytes.
TEST_F(CalcProcess, OutputIsThePassOverTheJoinedText) {
  struct Row {
    std::string file;  // code page 936 bytes as stored
    std::string joined;
  };
  const Row rows[] = {
      {"", ""},
      {"\n", "\r\n"},
      {"1+1", "1+1"},
      {"1+1\n", "1+1\r\n"},
      {"1+1\n\n", "1+1\r\n\r\n"},
      {"1\r\n2\n3\r\n", "1\r\n2\r\n3\r\n"},
      {"1\r2\n", "1\r2\r\n"},    // a lone CR stays inside its line
      {"2\r\r\n3", "2\r\r\n3"},  // so does one before CR LF
      {"1\xB0\n2+3\n4", "1\xB0\r\n2+3\r\n4"},  // a lone lead byte swallows CR
      {"1\xB0\n", "1\xB0\r\n"},
      {"7\xB0", "7\xB0"},
      {"\xA3\xB1\xA3\xAB\xA3\xB2\n", "\xA3\xB1\xA3\xAB\xA3\xB2\r\n"},
  };
  for (const Row& row : rows) {
    for (const char* mode : {"", "--scientific "}) {
      const Outcome outcome =
          Run(std::string("--gbk --crlf ") + mode, row.file);
      EXPECT_EQ(outcome.status, 0);
      EXPECT_EQ(outcome.out, CalculationPass(row.joined, *mode != '\0', ""))
          << mode << row.file;
    }
  }
}

TEST_F(CalcProcess, LineEndsAndEncodings) {
  EXPECT_EQ(Run("", "1+1\r\n2*3").out, "1+1=2\n2*3=6\n");
  EXPECT_EQ(Run("--crlf", "1+1\n2*3\n").out, "1+1=2\r\n2*3=6\r\n");
  // UTF-8 in and out: full-width forms read as ASCII, an emoji is a
  // character code page 936 cannot hold.
  EXPECT_EQ(
      Run("", "\xEF\xBC\x91\xEF\xBC\x8B\xEF\xBC\x92\xF0\x9F\x98\x80\n").out,
      "1+2=3\n");
  EXPECT_EQ(Run("--scientific",
                "\xEF\xBC\x88"
                "50%\xEF\xBC\x89*2\n")
                .out,
            "\xEF\xBC\x88"
            "0.5\xEF\xBC\x89*2=1\n");
  // --gbk writes the code page bytes back.
  EXPECT_EQ(Run("--gbk --scientific",
                "\xA3\xA8"
                "50%\xA3\xA9*2\n")
                .out,
            "\xA3\xA8"
            "0.5\xA3\xA9*2=1\n");
}

TEST_F(CalcProcess, DecimalsTextIsTakenAsTyped) {
  EXPECT_EQ(Run("--decimals 3", "2/3\n").out, "2/3=0.667\n");
  EXPECT_EQ(Run("--decimals=-2", "1250\n").out, "1250=1300\n");
  EXPECT_EQ(Run("--decimals abc", "2/3\n").out, "2/3=1\n");  // reads as 0
  EXPECT_EQ(Run("--decimals ' 2'", "1\n").out, "1=1.00\n");
  EXPECT_EQ(Run("--decimals '\xEF\xBC\x92'", "1\n").out, "1=1.00\n");  // ２
  EXPECT_EQ(Run("--decimals ''", "2/3\n").out, "2/3=0.6666666666667\n");
}

TEST_F(CalcProcess, UsageErrorsAndUnreadableFiles) {
  const Outcome unknown = Run("--frobnicate");
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.out, "");
  EXPECT_NE(unknown.err.find("usage: sumora-calc"), std::string::npos);

  const Outcome missing = Run("--decimals");
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("usage:"), std::string::npos);

  EXPECT_EQ(Run("a.txt b.txt").status, 2);

  const Outcome absent = Run("'" + (dir_ / "absent.txt").string() + "'");
  EXPECT_EQ(absent.status, 1);
  EXPECT_NE(absent.err.find("No such file or directory"), std::string::npos);

  const Outcome directory = Run("'" + dir_.string() + "'");
  EXPECT_EQ(directory.status, 1);
  EXPECT_NE(directory.err.find("Is a directory"), std::string::npos);

  const Outcome help = Run("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--scientific"), std::string::npos);
  const Outcome version = Run("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("sumora-calc ", 0), 0u);
}

TEST_F(CalcProcess, AFullOutputDeviceIsAnError) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  const std::string command = std::string("printf '1+1\\n' | '") +
                              SUMORA_CALC_BINARY + "' >/dev/full 2>/dev/null";
  const int raw = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(raw));
  EXPECT_EQ(WEXITSTATUS(raw), 1);
}

}  // namespace
}  // namespace sumora
