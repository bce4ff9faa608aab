// sumora-calc: the calculator as a filter. Every input line becomes the
// result line the window shows for it, "display form=value".
//
//   sumora-calc [--scientific] [--decimals TEXT] [--crlf] [--gbk] [FILE]
//
// Lines are independent, so the input is read and answered as a stream and
// memory stays bounded by the longest line.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "calc/pass.h"
#include "text/cp936.h"
#include "text/text.h"

#ifndef SUMORA_VERSION
#define SUMORA_VERSION "unknown"
#endif

namespace {

constexpr std::string_view kUsage =
    "usage: sumora-calc [--scientific] [--decimals TEXT] [--crlf] [--gbk] "
    "[FILE]\n";

constexpr std::string_view kHelp =
    "Computes the arithmetic written in free text, one expression per line.\n"
    "Each input line gives one output line, \"expression=value\".\n"
    "\n"
    "  FILE              the text to compute; standard input when absent or -\n"
    "  --scientific      scientific mode: functions (sqrt, pow, abs, log, "
    "exp,\n"
    "                    sin, cos, tan, asin, acos, atan), percentages, "
    "powers\n"
    "  --decimals TEXT   the decimal places box, exactly as typed (\"2\", "
    "\"-1\";\n"
    "                    absent: automatic form, up to 13 significant digits)\n"
    "  --crlf            end output lines with CR LF instead of LF\n"
    "  --gbk             read and write code page 936 (GBK) bytes, not UTF-8\n"
    "  --help            this text\n"
    "  --version         the version\n"
    "\n"
    "Exit status: 0 on success, 1 when the input cannot be read or the output\n"
    "cannot be written, 2 on a usage error.\n";

struct Options {
  bool scientific = false;
  bool crlf = false;
  bool gbk = false;
  std::string decimals;  // as given, still in the input encoding
  std::optional<std::string> file;
};

enum class ParseOutcome { kRun, kExitSuccess, kUsageError };

ParseOutcome ParseArguments(int argc, char** argv, Options& options) {
  bool only_files = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (!only_files && arg.size() > 1 && arg[0] == '-') {
      if (arg == "--") {
        only_files = true;
      } else if (arg == "--scientific") {
        options.scientific = true;
      } else if (arg == "--crlf") {
        options.crlf = true;
      } else if (arg == "--gbk") {
        options.gbk = true;
      } else if (arg == "--decimals") {
        if (i + 1 >= argc) {
          std::fprintf(stderr, "sumora-calc: --decimals needs a text\n");
          return ParseOutcome::kUsageError;
        }
        options.decimals = argv[++i];
      } else if (arg.starts_with("--decimals=")) {
        options.decimals = std::string(arg.substr(11));
      } else if (arg == "--help" || arg == "-h") {
        std::fwrite(kUsage.data(), 1, kUsage.size(), stdout);
        std::fwrite(kHelp.data(), 1, kHelp.size(), stdout);
        return ParseOutcome::kExitSuccess;
      } else if (arg == "--version") {
        std::printf("sumora-calc %s\n", SUMORA_VERSION);
        return ParseOutcome::kExitSuccess;
      } else {
        std::fprintf(stderr, "sumora-calc: unknown option %s\n", argv[i]);
        return ParseOutcome::kUsageError;
      }
      continue;
    }
    if (options.file) {
      std::fprintf(stderr, "sumora-calc: only one FILE may be given\n");
      return ParseOutcome::kUsageError;
    }
    options.file = std::string(arg);
  }
  return ParseOutcome::kRun;
}

// Computes the lines of a stream as the pass computes the lines of the whole
// text: input lines end in LF or CR LF and are joined with CR LF for the pass.
class Filter {
 public:
  Filter(const Options& options, std::FILE* out)
      : options_(options),
        out_(out),
        decimals_(options.gbk ? sumora::Text(options.decimals)
                              : sumora::Utf8ToCp936(options.decimals)),
        line_break_(options.crlf ? "\r\n" : "\n") {}

  // One input line, without its LF (a CR before the LF already removed).
  void Line(std::string_view raw) {
    std::string_view line = ToText(raw, converted_);
    if (!pending_.empty()) {
      pending_.append(line);
      line = pending_;
    }
    // The pass splits at CR LF only where a character starts: after a lone
    // lead byte the CR is that byte's second half, so the line goes on into
    // the next one, as it does in the joined text.
    if (EndsInLoneLeadByte(line)) {
      if (pending_.empty()) pending_.assign(line);
      pending_.append("\r\n");
      return;
    }
    Emit(line);
    pending_.clear();
  }

  // The end of the input, with the last line if it had no LF.
  void Finish(std::string_view rest) {
    if (rest.empty() && pending_.empty()) return;
    pending_.append(ToText(rest, converted_));
    Emit(pending_);
    pending_.clear();
  }

 private:
  // The line as code page 936 text: the input itself where it needs no
  // conversion, otherwise converted into buffer.
  std::string_view ToText(std::string_view raw, sumora::Text& buffer) const {
    if (raw.find('\0') == std::string_view::npos &&
        (options_.gbk || sumora::IsPlainAscii(raw))) {
      return raw;
    }
    if (options_.gbk) {
      buffer.assign(raw);
      for (char& c : buffer) {
        if (c == '\0') c = '?';  // a text never holds a zero byte
      }
    } else {
      buffer = sumora::Utf8ToCp936(raw);
    }
    return buffer;
  }

  static bool EndsInLoneLeadByte(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
      if (sumora::IsLeadByte(text[i])) {
        if (i + 1 == text.size()) return true;
        i += 2;
      } else {
        i += 1;
      }
    }
    return false;
  }

  void Emit(std::string_view line) {
    result_.clear();
    sumora::AppendResultLine(line, options_.scientific, decimals_, result_);
    if (!options_.gbk && !sumora::IsPlainAscii(result_)) {
      result_ = sumora::Cp936ToUtf8(result_);
    }
    result_.append(line_break_);
    std::fwrite(result_.data(), 1, result_.size(), out_);
  }

  const Options& options_;
  std::FILE* out_;
  const sumora::Text decimals_;
  const std::string_view line_break_;
  sumora::Text pending_;    // a line that goes on into the next one
  sumora::Text converted_;  // the current line, converted
  sumora::Text result_;     // the current result line
};

// Reads the stream in large blocks and hands the filter its lines.
bool Run(std::FILE* in, Filter& filter) {
  static char block[1 << 16];
  std::string carry;  // the start of a line that continues in the next block
  for (;;) {
    const std::size_t n = std::fread(block, 1, sizeof block, in);
    if (n == 0) break;
    std::string_view data(block, n);
    std::size_t start = 0;
    for (;;) {
      const std::size_t lf = data.find('\n', start);
      if (lf == std::string_view::npos) break;
      std::string_view piece = data.substr(start, lf - start);
      if (!carry.empty()) {
        carry.append(piece);
        piece = carry;
      }
      if (!piece.empty() && piece.back() == '\r') piece.remove_suffix(1);
      filter.Line(piece);
      carry.clear();
      start = lf + 1;
    }
    carry.append(data.substr(start));
  }
  if (std::ferror(in)) return false;
  filter.Finish(carry);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  switch (ParseArguments(argc, argv, options)) {
    case ParseOutcome::kExitSuccess:
      return std::fflush(stdout) == 0 ? 0 : 1;
    case ParseOutcome::kUsageError:
      std::fwrite(kUsage.data(), 1, kUsage.size(), stderr);
      return 2;
    case ParseOutcome::kRun:
      break;
  }

#ifdef _WIN32
  // Line ends are the filter's own business: no translation of LF to CR LF.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  std::FILE* in = stdin;
  const bool from_file = options.file && *options.file != "-";
  if (from_file) {
    in = std::fopen(options.file->c_str(), "rb");
    if (in == nullptr) {
      std::fprintf(stderr, "sumora-calc: %s: %s\n", options.file->c_str(),
                   std::strerror(errno));
      return 1;
    }
  }
  static char out_buffer[1 << 16];
  std::setvbuf(stdout, out_buffer, _IOFBF, sizeof out_buffer);

  Filter filter(options, stdout);
  const bool read_ok = Run(in, filter);
  const int read_errno = errno;
  if (from_file) std::fclose(in);
  if (!read_ok) {
    std::fprintf(stderr, "sumora-calc: %s: %s\n",
                 from_file ? options.file->c_str() : "standard input",
                 std::strerror(read_errno));
    return 1;
  }
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fprintf(stderr, "sumora-calc: cannot write the output: %s\n",
                 std::strerror(errno));
    return 1;
  }
  return 0;
}
