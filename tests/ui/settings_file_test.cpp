#include "ui/settings_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace sumora {
namespace {

namespace fs = std::filesystem;
using std::string_literals::operator""s;

// ---------------------------------------------------------------------------
// Reading bytes
// ---------------------------------------------------------------------------

struct LookupCase {
  std::string file;
  std::string section;
  std::string key;
  std::optional<std::string> expected;
};

void ExpectLookups(const std::vector<LookupCase>& cases) {
  for (const LookupCase& c : cases) {
    EXPECT_EQ(ProfileLookup(c.file, c.section, c.key), c.expected)
        << "file: \"" << c.file << "\" section: \"" << c.section << "\" key: \""
        << c.key << "\"";
  }
}

TEST(ProfileLookupTest, FindsTheKeyOfTheSection) {
  const std::string file = "[window]\r\nhieght=600\r\nwidth=800\r\n";
  ExpectLookups({
      {file, "window", "hieght", "600"},
      {file, "window", "width", "800"},
      {file, "window", "height", std::nullopt},  // only the stored spelling
      {file, "other", "hieght", std::nullopt},
      {"", "window", "hieght", std::nullopt},
      {"[window]\r\n", "window", "hieght", std::nullopt},
      {"[window]\r\nheight=600\r\n", "window", "hieght", std::nullopt},
  });
}

TEST(ProfileLookupTest, NamesIgnoreAsciiCaseAndBlanks) {
  ExpectLookups({
      {"[WINDOW]\r\nHIEGHT=1\r\n", "window", "hieght", "1"},
      {"[Window]\r\nHiEgHt=1\r\n", "wINDOW", "HIEGHT", "1"},
      {"  [ window ]  \r\n\t hieght \t= 1\r\n", "window", "hieght", "1"},
      {"[window]\r\nhieght=1\r\n", " \t\x01window", "\x1fhieght", "1"},
      {"[window]\r\nhieght=1\r\n", "window  ", "hieght\t", "1"},
      {"[window] trailing text\r\nhieght=1\r\n", "window", "hieght", "1"},
      {"[window]\r\nhie ght=1\r\n", "window", "hieght", std::nullopt},
      {"[windows]\r\nhieght=1\r\n", "window", "hieght", std::nullopt},
  });
}

TEST(ProfileLookupTest, EmptyNamesFindNothing) {
  const std::string file = "hieght=1\r\n[]\r\nhieght=2\r\n[window]\r\n=3\r\n";
  ExpectLookups({
      {file, "", "hieght", std::nullopt},
      {file, " \t", "hieght", std::nullopt},
      {file, "window", "", std::nullopt},
      {file, "window", "\x01\x20", std::nullopt},
  });
}

TEST(ProfileLookupTest, ValuesLoseBlanksAndOnePairOfQuotes) {
  const auto value_of = [](const std::string& line) {
    return ProfileLookup("[window]\r\n" + line + "\r\n", "window", "hieght");
  };
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"hieght=  600  ", "600"},
      {"hieght=\t600\x1a", "600"},
      {"hieght=\"600\"", "600"},
      {"hieght='600'", "600"},
      {"hieght= \" 600 \" ", " 600 "},
      {"hieght=\"\"600\"\"", "\"600\""},  // one pair only
      {"hieght=\"600'", "\"600'"},        // quotes must match
      {"hieght=\"600", "\"600"},
      {"hieght=\"", "\""},  // a lone quote is no pair
      {"hieght=\"\"", ""},
      {"hieght=", ""},  // present but empty: the empty text
      {"hieght=   ", ""},
      {"hieght=a=b", "a=b"},  // the first "=" ends the key
      {"hieght=-600", "-600"},
      {"hieght=99999999999999999999", "99999999999999999999"},
      {"hieght=12abc", "12abc"},
  };
  for (const auto& [line, expected] : cases) {
    EXPECT_EQ(value_of(line), expected) << line;
  }
}

TEST(ProfileLookupTest, EveryLineEndAndCommentsAndStrayLines) {
  ExpectLookups({
      {"[window]\nhieght=1\nwidth=2\n", "window", "width", "2"},
      {"[window]\rhieght=1\rwidth=2\r", "window", "width", "2"},
      {"[window]\r\rhieght=1\n\r\nwidth=2", "window", "width", "2"},
      {"[window]\r\n;hieght=1\r\n", "window", "hieght", std::nullopt},
      {"[window]\r\n  ; hieght=1\r\nhieght=2\r\n", "window", "hieght", "2"},
      {";[window]\r\nhieght=1\r\n", "window", "hieght", std::nullopt},
      {"hieght=1\r\n[window]\r\n", "window", "hieght", std::nullopt},
      {"[window]\r\nhieght\r\n", "window", "hieght", std::nullopt},
      // "[" without "]" is no section line, so the section goes on.
      {"[window]\r\n[broken\r\nhieght=1\r\n", "window", "hieght", "1"},
      {"\xEF\xBB\xBF[window]\r\nhieght=1\r\n", "window", "hieght", "1"},
  });
}

TEST(ProfileLookupTest, FirstSectionAndFirstKeyOfANameWin) {
  ExpectLookups({
      {"[window]\r\nhieght=1\r\nhieght=2\r\n", "window", "hieght", "1"},
      {"[window]\r\nhieght=1\r\n[window]\r\nhieght=2\r\n", "window", "hieght",
       "1"},
      // A later section of the same name is never searched.
      {"[window]\r\n[other]\r\n[window]\r\nhieght=2\r\n", "window", "hieght",
       std::nullopt},
      {"[other]\r\nhieght=1\r\n[window]\r\nhieght=2\r\n", "window", "hieght",
       "2"},
  });
}

TEST(ProfileLookupTest, DoubleByteCharactersCompareWhole) {
  // 0xB0 0x41 and 0xB0 0x61 are two different characters; folding the
  // second byte as if it were an ASCII letter would make them equal.
  ExpectLookups({
      {"[\xB0\x41]\r\nk=1\r\n", "\xB0\x41", "k", "1"},
      {"[\xB0\x41]\r\nk=1\r\n", "\xB0\x61", "k", std::nullopt},
      {"[s]\r\n\xB0\x41=1\r\n", "s", "\xB0\x61", std::nullopt},
      // 0x81 0x5D is one character whose second byte is "]".
      {"[\x81\x5D]\r\nk=1\r\n", "\x81\x5D", "k", "1"},
      {"[A\xB0\xA1]\r\n\xB0\xA1k=\xB0\xA1\r\n", "a\xB0\xA1", "\xB0\xA1K",
       "\xB0\xA1"},
  });
}

TEST(ProfileLookupTest, ZeroBytesEndAValueAndNeverMatchAName) {
  ExpectLookups({
      {"[window]\r\nhieght=12\0 34\r\n"s, "window", "hieght", "12"},
      {"[window]\r\nhieght= 12 \0\r\n"s, "window", "hieght", "12"},
      {"[window]\r\nhieght=\0\r\n"s, "window", "hieght", ""},
      {"[win\0dow]\r\nhieght=1\r\n"s, "win", "hieght", std::nullopt},
      {"[window]\r\nhie\0ght=1\r\n"s, "window", "hie", std::nullopt},
      {"\0\0\0[window]\0\r\nhieght=1"s, "window", "hieght", std::nullopt},
      {"\0\r\n[window]\r\nhieght=1"s, "window", "hieght", "1"},
  });
  // A name given with a zero byte ends there.
  EXPECT_EQ(ProfileLookup("[window]\r\nhieght=1\r\n", "window\0x"s, "hieght"),
            "1");
}

TEST(ProfileLookupTest, LongValuesAreCutToTheBuffer) {
  const std::string long_value(20000, '7');
  EXPECT_EQ(ProfileLookup("[window]\r\nhieght=" + long_value + "\r\n", "window",
                          "hieght"),
            std::string(kMaxProfileValueBytes, '7'));
  const std::string exact(kMaxProfileValueBytes, '7');
  EXPECT_EQ(ProfileLookup("[window]\r\nhieght=\"" + exact + "\"\r\n", "window",
                          "hieght"),
            exact);
  // A double-byte character across the limit is dropped whole.
  const std::string wide =
      std::string(kMaxProfileValueBytes - 1, '7') + "\xB0\xA1" + "8";
  EXPECT_EQ(
      ProfileLookup("[window]\r\nhieght=" + wide + "\r\n", "window", "hieght"),
      std::string(kMaxProfileValueBytes - 1, '7'));
}

// ---------------------------------------------------------------------------
// Updating bytes
// ---------------------------------------------------------------------------

struct UpdateCase {
  std::string before;
  std::string key;
  std::string value;
  std::string after;
};

TEST(ProfileUpdateTest, ChangesOnlyTheValueOrAddsWhatIsMissing) {
  const std::vector<UpdateCase> cases = {
      // New file, section, key.
      {"", "hieght", "600", "[window]\r\nhieght=600\r\n"},
      {"[window]\r\nhieght=600\r\n", "width", "800",
       "[window]\r\nhieght=600\r\nwidth=800\r\n"},
      // In place: key spelling, blanks, quotes' absence and line end kept.
      {"[window]\r\nhieght=600\r\nwidth=800\r\n", "hieght", "500",
       "[window]\r\nhieght=500\r\nwidth=800\r\n"},
      {"[Window]\nHieght = 600  \nwidth=800\n", "HIEGHT", "-5",
       "[Window]\nHieght = -5  \nwidth=800\n"},
      {"[window]\r\nhieght=\r\n", "hieght", "7", "[window]\r\nhieght=7\r\n"},
      {"[window]\r\nhieght=\"600\"", "hieght", "7", "[window]\r\nhieght=7"},
      {"[window]\r\nhieght=600\r\n", "hieght", "", "[window]\r\nhieght=\r\n"},
      // A new key follows the section's last non-blank line.
      {"[window]\r\nhieght=1\r\n\r\n\r\n[other]\r\nx=1\r\n", "width", "2",
       "[window]\r\nhieght=1\r\nwidth=2\r\n\r\n\r\n[other]\r\nx=1\r\n"},
      {"[window]\r\n; note\r\n\r\n", "width", "2",
       "[window]\r\n; note\r\nwidth=2\r\n\r\n"},
      {"[window]", "width", "2", "[window]\r\nwidth=2\r\n"},
      {"[window]\r\nhieght=1", "width", "2",
       "[window]\r\nhieght=1\r\nwidth=2\r\n"},
      {"[window]\nhieght=1\n", "width", "2", "[window]\nhieght=1\nwidth=2\r\n"},
      // A new section goes at the end, on a line of its own.
      {"[other]\r\nx=1", "hieght", "1",
       "[other]\r\nx=1\r\n[window]\r\nhieght=1\r\n"},
      {"[other]\nx=1\n", "hieght", "1",
       "[other]\nx=1\n[window]\r\nhieght=1\r\n"},
      {"x=1\r", "hieght", "1", "x=1\r[window]\r\nhieght=1\r\n"},
      {"\xEF\xBB\xBF", "hieght", "1", "\xEF\xBB\xBF[window]\r\nhieght=1\r\n"},
      // The key of a later section of the same name is not the one read, so
      // it is not the one written either.
      {"[window]\r\n[x]\r\n[window]\r\nhieght=1\r\n", "hieght", "2",
       "[window]\r\nhieght=2\r\n[x]\r\n[window]\r\nhieght=1\r\n"},
  };
  for (const UpdateCase& c : cases) {
    const std::optional<std::string> after =
        ProfileUpdate(c.before, "window", c.key, c.value);
    EXPECT_EQ(after, c.after) << "before: \"" << c.before << "\"";
    if (after) {
      EXPECT_EQ(ProfileLookup(*after, "window", c.key), c.value) << *after;
    }
  }
}

TEST(ProfileUpdateTest, KeepsEverythingElseByteForByte) {
  const std::string head =
      "; settings\r\n"
      "loose=line before any section\n"
      "\r\n"
      "[Other]\r\n"
      "hieght=1\r\n"
      "  spaced = \"quoted\"  \r"
      "no equals sign here\r\n"
      "[window]\n"
      "; comment in the section\r\n"
      "  width\t=\t'800'  \r\n"
      "HIEGHT=";
  const std::string tail =
      "\r\n"
      "unknown=\xB0\xA1\xB0\xA1\r\n"
      "\r\n"
      "[later]\r\n"
      "x=y";
  const std::optional<std::string> after =
      ProfileUpdate(head + "600" + tail, "window", "hieght", "300");
  EXPECT_EQ(after, head + "300" + tail);
}

TEST(ProfileUpdateTest, RefusesWhatWouldNotReadBack) {
  const std::string file = "[window]\r\nhieght=1\r\n";
  const std::vector<std::vector<std::string>> cases = {
      {"", "hieght", "1"},
      {" \t", "hieght", "1"},
      {"window", "", "1"},
      {"window", "\x01", "1"},
      {"win]dow", "hieght", "1"},
      {"win\r\ndow", "hieght", "1"},
      {"window", "hie=ght", "1"},
      {"window", "[hieght", "1"},
      {"window", ";hieght", "1"},
      {"window", "hie\nght", "1"},
      {"window", "hieght", "1\r\n[x]"},
      {"window", "hieght", "1\r"},
      {"window", "hieght", "1\0"s},
      {"window\0"s, "hieght", "1"},
      {"window", "hieght", std::string(kMaxProfileValueBytes + 1, '1')},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProfileUpdate(file, c[0], c[1], c[2]), std::nullopt)
        << c[0] << " / " << c[1] << " / " << c[2];
  }
  // A "]" as the second byte of a double-byte character is no bracket.
  EXPECT_EQ(ProfileUpdate("", "\x81\x5D", "k", "1"), "[\x81\x5D]\r\nk=1\r\n");
  EXPECT_EQ(ProfileUpdate("", "window", "hieght",
                          std::string(kMaxProfileValueBytes, '1'))
                ->size(),
            std::string_view("[window]\r\nhieght=\r\n").size() +
                kMaxProfileValueBytes);
}

// The writer must find exactly what the reader reads, whatever the file looks
// like around it: files are built from the pieces that matter to the format.
TEST(ProfileUpdateTest, ReaderAndWriterAgreeOnRandomFiles) {
  const std::vector<std::string> pieces = {
      "[window]", "[ WINDOW ]", "[other]", "hieght=", " Hieght = ",
      "width=",   "[",          "]",       "window",  "hieght",
      "=",        " ",          "\t",      "\r",      "\n",
      "\r\n",     "\r\n",       ";",       "\"",      "'",
      "\xB0",     "\x5D",       "1",       "\0"s,     "\xEF\xBB\xBF"};
  std::mt19937 random(20261211);
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  std::uniform_int_distribution<int> length(0, 40);
  for (int round = 0; round < 20000; ++round) {
    std::string file;
    for (int n = length(random); n > 0; --n) file += pieces[pick(random)];
    const std::optional<std::string> width_before =
        ProfileLookup(file, "window", "width");
    const std::optional<std::string> after =
        ProfileUpdate(file, "window", "hieght", "123");
    ASSERT_TRUE(after.has_value());
    ASSERT_EQ(ProfileLookup(*after, "window", "hieght"), "123") << file;
    ASSERT_EQ(ProfileLookup(*after, "window", "width"), width_before) << file;
    ASSERT_EQ(ProfileLookup(*after, "other", "hieght"),
              ProfileLookup(file, "other", "hieght"))
        << file;
    // When the key is added, not replaced, every old byte survives: the old
    // file is a prefix of the new one plus a suffix of it.
    if (!ProfileLookup(file, "window", "hieght")) {
      std::size_t prefix = 0;
      while (prefix < file.size() && file[prefix] == (*after)[prefix]) {
        ++prefix;
      }
      const std::string_view rest = std::string_view(file).substr(prefix);
      ASSERT_TRUE(std::string_view(*after).ends_with(rest)) << file;
    }
  }
}

TEST(ProfileUpdateTest, NamesAreWrittenWithoutTheirBlanks) {
  EXPECT_EQ(ProfileUpdate("", " \twindow ", "\x01hieght ", "1"),
            "[window]\r\nhieght=1\r\n");
}

// ---------------------------------------------------------------------------
// Files
// ---------------------------------------------------------------------------

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

fs::perms PermissionsOf(const fs::path& path) {
  return fs::status(path).permissions() & fs::perms::mask;
}

// Each test gets a fresh directory; the settings file is named as the window
// names it.
class SettingsFileTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern =
        (fs::temp_directory_path() / "settings_file_test.XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    directory_ = pattern;
    file_ = directory_ / kSettingsFileName;
  }

  void TearDown() override {
    std::error_code error;
    for (const auto& entry :
         fs::recursive_directory_iterator(directory_, error)) {
      fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add,
                      error);
    }
    fs::permissions(directory_, fs::perms::owner_all, fs::perm_options::add,
                    error);
    fs::remove_all(directory_, error);
  }

  std::string Read(std::string_view key) const {
    return ReadProfileString(file_, kWindowSection, key, kDefaultSize);
  }

  bool Write(std::string_view key, std::string_view value) const {
    return WriteProfileString(file_, kWindowSection, key, value);
  }

  // The names in the directory: a write must leave no temporary file behind.
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path directory_;
  fs::path file_;
};

TEST_F(SettingsFileTest, DefaultsWithoutAFile) {
  EXPECT_EQ(Read(kHeightKey), "400");
  EXPECT_EQ(Read(kWidthKey), "400");
  EXPECT_FALSE(fs::exists(file_));  // reading creates nothing
}

TEST_F(SettingsFileTest, ReadsTheStoredSize) {
  WriteBytes(file_, "[window]\r\nhieght=600\r\nwidth=800\r\n");
  EXPECT_EQ(Read(kHeightKey), "600");
  EXPECT_EQ(Read(kWidthKey), "800");
  EXPECT_EQ(ReadProfileString(file_, "other", "hieght", "d"), "d");
  EXPECT_EQ(ReadProfileString(file_, "window", "depth", "d"), "d");
}

TEST_F(SettingsFileTest, CorrectlySpelledHeightIsNotRead) {
  WriteBytes(file_, "[window]\r\nheight=600\r\nwidth=800\r\n");
  EXPECT_EQ(Read(kHeightKey), "400");
  EXPECT_EQ(Read(kWidthKey), "800");
}

TEST_F(SettingsFileTest, EmptyValueIsTheEmptyText) {
  WriteBytes(file_, "[window]\r\nhieght=\r\nwidth=  \"\"  \r\n");
  EXPECT_EQ(Read(kHeightKey), "");
  EXPECT_EQ(Read(kWidthKey), "");
}

TEST_F(SettingsFileTest, EmptyNamesGiveTheEmptyTextWithoutReading) {
  // Not the default: the empty text, even with no file at all.
  EXPECT_EQ(ReadProfileString(file_, " ", kHeightKey, kDefaultSize), "");
  EXPECT_EQ(ReadProfileString(file_, kWindowSection, "\t\r\n", kDefaultSize),
            "");
  EXPECT_EQ(
      ReadProfileString(fs::path(), kWindowSection, kHeightKey, kDefaultSize),
      "");
  EXPECT_FALSE(WriteProfileString(file_, "", kHeightKey, "1"));
  EXPECT_FALSE(fs::exists(file_));
}

TEST_F(SettingsFileTest, CreatesTheFileWithCrLfLines) {
  ASSERT_TRUE(Write(kHeightKey, "367"));
  ASSERT_TRUE(Write(kWidthKey, "428"));
  EXPECT_EQ(ReadBytes(file_), "[window]\r\nhieght=367\r\nwidth=428\r\n");
  EXPECT_EQ(Entries(),
            std::vector<std::string>{std::string(kSettingsFileName)});
}

TEST_F(SettingsFileTest, RoundTripsAndRewritesNothingWhenUnchanged) {
  const std::vector<std::pair<std::string, std::string>> sizes = {
      {"300", "500"}, {"0", "-20"}, {"32627", "99999999999"}, {"600", "800"}};
  for (const auto& [height, width] : sizes) {
    ASSERT_TRUE(Write(kHeightKey, height));
    ASSERT_TRUE(Write(kWidthKey, width));
    EXPECT_EQ(Read(kHeightKey), height);
    EXPECT_EQ(Read(kWidthKey), width);
  }
  // Storing what is already there keeps the very same file.
  const std::string before = ReadBytes(file_);
  struct stat old_info {};
  ASSERT_EQ(::stat(file_.c_str(), &old_info), 0);
  ASSERT_TRUE(Write(kHeightKey, "600"));
  struct stat new_info {};
  ASSERT_EQ(::stat(file_.c_str(), &new_info), 0);
  EXPECT_EQ(new_info.st_ino, old_info.st_ino);
  EXPECT_EQ(ReadBytes(file_), before);
}

TEST_F(SettingsFileTest, WriteKeepsOtherLinesByteForByte) {
  const std::string before =
      "\xEF\xBB\xBF; written by hand\n"
      "[other]\r\n"
      "hieght=1\r\n"
      "[WINDOW]\r\n"
      "  Hieght = 600\r\n"
      "; the width follows\r"
      "width=800\n"
      "\r\n"
      "[last]\r\n"
      "k=\xB0\xA1";
  WriteBytes(file_, before);
  ASSERT_TRUE(Write(kHeightKey, "300"));
  ASSERT_TRUE(Write(kWidthKey, "500"));
  ASSERT_TRUE(WriteProfileString(file_, "new", "key", "v"));
  EXPECT_EQ(ReadBytes(file_),
            "\xEF\xBB\xBF; written by hand\n"
            "[other]\r\n"
            "hieght=1\r\n"
            "[WINDOW]\r\n"
            "  Hieght = 300\r\n"
            "; the width follows\r"
            "width=500\n"
            "\r\n"
            "[last]\r\n"
            "k=\xB0\xA1\r\n"
            "[new]\r\n"
            "key=v\r\n");
}

TEST_F(SettingsFileTest, WriteFailingHalfwayKeepsTheOldFile) {
  // A file size limit makes the write of the new bytes fail part of the way
  // through, as a full disk would.
  const std::string before = "[window]\r\nhieght=600\r\nwidth=800\r\n";
  WriteBytes(file_, before);
  struct rlimit old_limit {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  struct rlimit small = old_limit;
  small.rlim_cur = before.size() + 10;
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = Write(kHeightKey, std::string(2 * before.size(), '9'));
  ::setrlimit(RLIMIT_FSIZE, &old_limit);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_FALSE(written);
  EXPECT_EQ(ReadBytes(file_), before);
  EXPECT_EQ(Entries(),
            std::vector<std::string>{std::string(kSettingsFileName)});
}

TEST_F(SettingsFileTest, AddsTheMissingKeyAtTheEndOfItsSection) {
  WriteBytes(file_, "[window]\r\nhieght=600\r\n\r\n[other]\r\nx=1\r\n");
  ASSERT_TRUE(Write(kWidthKey, "800"));
  EXPECT_EQ(ReadBytes(file_),
            "[window]\r\nhieght=600\r\nwidth=800\r\n\r\n[other]\r\nx=1\r\n");
}

TEST_F(SettingsFileTest, KeepsThePermissionsOfTheOldFile) {
  WriteBytes(file_, "[window]\r\nhieght=1\r\n");
  const fs::perms mode =
      fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(file_, mode);
  ASSERT_TRUE(Write(kHeightKey, "2"));
  EXPECT_EQ(PermissionsOf(file_), mode);
  EXPECT_EQ(Read(kHeightKey), "2");
}

TEST_F(SettingsFileTest, WritesThroughASymbolicLink) {
  const fs::path real = directory_ / "real.ini";
  WriteBytes(real, "[window]\r\nhieght=1\r\n");
  fs::create_symlink(real, file_);
  ASSERT_TRUE(Write(kHeightKey, "2"));
  EXPECT_TRUE(fs::is_symlink(file_));
  EXPECT_EQ(ReadBytes(real), "[window]\r\nhieght=2\r\n");
}

// Every file the program must not overwrite: the read gives the defaults (or
// what can be read), the write fails and leaves the bytes as they were.
TEST_F(SettingsFileTest, ReadOnlyFileIsLeftAlone) {
  const std::string before = "[window]\r\nhieght=600\r\n";
  WriteBytes(file_, before);
  fs::permissions(file_, fs::perms::owner_read | fs::perms::group_read);
  EXPECT_EQ(Read(kHeightKey), "600");
  EXPECT_FALSE(Write(kHeightKey, "300"));  // even for the superuser
  EXPECT_FALSE(Write(kWidthKey, "300"));
  EXPECT_EQ(ReadBytes(file_), before);
  EXPECT_EQ(Entries(),
            std::vector<std::string>{std::string(kSettingsFileName)});
}

TEST_F(SettingsFileTest, UnwritableDirectoryChangesNothing) {
  if (::geteuid() == 0) {
    GTEST_SKIP() << "directory permissions do not bind the superuser";
  }
  const std::string before = "[window]\r\nhieght=600\r\n";
  WriteBytes(file_, before);
  fs::permissions(directory_, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_FALSE(Write(kHeightKey, "300"));
  EXPECT_EQ(Read(kHeightKey), "600");
  fs::permissions(directory_, fs::perms::owner_all);
  EXPECT_EQ(ReadBytes(file_), before);
  EXPECT_EQ(Entries(),
            std::vector<std::string>{std::string(kSettingsFileName)});
}

TEST_F(SettingsFileTest, PathUnderARegularFileFails) {
  const fs::path not_a_directory = directory_ / "plain";
  WriteBytes(not_a_directory, "x");
  const fs::path file = not_a_directory / kSettingsFileName;
  EXPECT_EQ(ReadProfileString(file, kWindowSection, kHeightKey, kDefaultSize),
            "400");
  EXPECT_FALSE(WriteProfileString(file, kWindowSection, kHeightKey, "1"));
  EXPECT_EQ(ReadBytes(not_a_directory), "x");
}

TEST_F(SettingsFileTest, DirectoryInTheFilesPlace) {
  fs::create_directory(file_);
  EXPECT_EQ(Read(kHeightKey), "400");
  EXPECT_FALSE(Write(kHeightKey, "1"));
  EXPECT_TRUE(fs::is_directory(file_));
  EXPECT_TRUE(fs::is_empty(file_));
}

TEST_F(SettingsFileTest, PipeInTheFilesPlaceDoesNotBlock) {
  ASSERT_EQ(::mkfifo(file_.c_str(), 0600), 0);
  EXPECT_EQ(Read(kHeightKey), "400");
  EXPECT_FALSE(Write(kHeightKey, "1"));
  EXPECT_TRUE(fs::is_fifo(file_));
}

TEST_F(SettingsFileTest, HugeFileReadsAsMissingAndIsNotOverwritten) {
  // A valid section up front, so only the size limit keeps it from being read.
  std::string huge = "[window]\r\nhieght=600\r\nwidth=800\r\n";
  const std::string padding = "; padding padding padding padding\r\n";
  while (huge.size() < 50u * 1000 * 1000) huge += padding;
  WriteBytes(file_, huge);
  EXPECT_EQ(Read(kHeightKey), "400");
  EXPECT_EQ(Read(kWidthKey), "400");
  EXPECT_FALSE(Write(kHeightKey, "300"));
  EXPECT_EQ(fs::file_size(file_), huge.size());
  EXPECT_TRUE(ReadBytes(file_) == huge);
}

TEST_F(SettingsFileTest, FileAtTheSizeLimitIsStillRead) {
  std::string file = "[window]\r\nhieght=600\r\n";
  file.append(kMaxSettingsFileBytes - file.size(), '\n');
  WriteBytes(file_, file);
  EXPECT_EQ(Read(kHeightKey), "600");
  // The new key would take the file over the limit.
  EXPECT_FALSE(Write(kWidthKey, "800"));
  EXPECT_TRUE(Write(kHeightKey, "700"));  // same length: fits
  EXPECT_EQ(Read(kHeightKey), "700");
  file.push_back('\n');
  WriteBytes(file_, file);
  EXPECT_EQ(Read(kHeightKey), "400");
}

TEST_F(SettingsFileTest, BinaryFileReadsAsMissingAndIsNotOverwritten) {
  std::string garbage = "[window]\r\nhieght=600\r\n";
  for (int i = 0; i < 4096; ++i) {
    garbage.push_back(static_cast<char>((i * 7919) % 256));
  }
  WriteBytes(file_, garbage);
  EXPECT_EQ(Read(kHeightKey), "400");
  EXPECT_FALSE(Write(kHeightKey, "300"));
  EXPECT_TRUE(ReadBytes(file_) == garbage);
}

TEST_F(SettingsFileTest, GarbageWithoutZeroBytesIsReadAsText) {
  // Bytes of every value but zero: nothing in it is a window section, so the
  // defaults stand, and a write adds one without disturbing the rest.
  std::string garbage;
  for (int i = 0; i < 4096; ++i) {
    garbage.push_back(static_cast<char>(1 + (i * 7919) % 255));
  }
  WriteBytes(file_, garbage);
  EXPECT_EQ(Read(kHeightKey), "400");
  ASSERT_TRUE(Write(kHeightKey, "300"));
  EXPECT_EQ(Read(kHeightKey), "300");
  EXPECT_TRUE(ReadBytes(file_).starts_with(garbage));
}

}  // namespace
}  // namespace sumora
