// The settings file: a private-profile (INI) file of sections and key=value
// lines, read and written the way the Windows profile functions do it, with
// every other line of the file kept byte for byte. Plain C++ with no Qt.
//
// The format, as read:
//   - Lines end in CR LF, LF or a lone CR. A UTF-8 byte order mark at the very
//     start is skipped (and kept when the file is written).
//   - Blanks (the bytes 1 to 32) around a line, a name or a value are ignored.
//   - "[name]" starts a section; what follows the first "]" is ignored. A line
//     starting with "[" but without a "]" is not a section line.
//   - A line starting with ";" is a comment.
//   - "key=value" is a key line: the key is what precedes the first "=".
//     A line without "=" is neither a key nor a section and is ignored.
//   - Lines before the first section belong to no section.
//   - Section and key names compare without regard to ASCII case. A byte of
//     0x80 or more begins a double-byte character of code page 936 together
//     with the byte after it; such pairs compare exactly, so a second byte
//     that happens to be an ASCII letter or a "]" is never folded or taken
//     for the end of a section name.
//   - When a section or a key appears more than once, the first section of
//     that name and the first key of that name in it are the ones read and
//     written; a key in a later section of the same name is never seen.
//
// The file functions below are the only ones that touch the disk; the text
// functions ProfileLookup and ProfileUpdate do the same work on bytes.
#ifndef SUMORA_UI_SETTINGS_FILE_H_
#define SUMORA_UI_SETTINGS_FILE_H_

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace sumora {

inline constexpr std::string_view kSettingsFileName = "sumora_setting.ini";
inline constexpr std::string_view kWindowSection = "window";
inline constexpr std::string_view kHeightKey = "hieght";  // stored spelling
inline constexpr std::string_view kWidthKey = "width";
inline constexpr std::string_view kDefaultSize = "400";

// Values are read into a buffer of this many bytes, the last one reserved for
// the terminating zero, so a value longer than kMaxProfileValueBytes is cut to
// that length (never in the middle of a double-byte character). A longer value
// could never be read back whole, so it is not written either.
inline constexpr std::size_t kProfileValueBufferBytes = 10240;
inline constexpr std::size_t kMaxProfileValueBytes =
    kProfileValueBufferBytes - 1;

// The largest settings file read or written. The file holds two short lines;
// anything bigger than this is not ours (or is damaged), so it reads as
// missing and is never overwritten, and reading it costs bounded time and
// memory however large it is.
inline constexpr std::size_t kMaxSettingsFileBytes = std::size_t{1} << 20;

// Text-level lookup: the value of key in section of the file's bytes, or
// nullopt when the section or the key is not there.
//   - Leading blanks (bytes 1 to 32) of section and key are skipped and their
//     trailing blanks dropped; a name that is then empty finds nothing. A name
//     ends at its first zero byte, if any.
//   - The value is cut at its first zero byte, stripped of the blanks around
//     it and of one pair of enclosing quotes ("..." or '...'), then cut to
//     kMaxProfileValueBytes.
//   - A key present with an empty value gives the empty text, not nullopt.
// Never fails on any bytes, zero bytes included; time linear in the input.
//   ProfileLookup("[Window]\r\nHIEGHT = \"600\" \r\n", "window", "hieght")
//     -> "600"
std::optional<std::string> ProfileLookup(std::string_view file_bytes,
                                         std::string_view section,
                                         std::string_view key);

// Text-level update: the file's bytes with key in section set to value, or
// nullopt when the names or the value cannot be written as one line each
// (see below). Every byte outside the changed part stays as it was.
//   - An existing key (the one ProfileLookup reads) keeps its line, its key
//     spelling, the blanks around "=" and its line end; only the value between
//     them is replaced: "Hieght = 600\n" -> "Hieght = 500\n".
//   - A missing key is added as "key=value" CR LF right after the last
//     non-blank line of the section (after a CR LF if that line is the last
//     line of the file and has no line end).
//   - A missing section is added at the end as "[section]" CR LF and then
//     "key=value" CR LF, after a CR LF if the file is not empty and does not
//     end in a line end.
// Names are skipped and trimmed as in ProfileLookup. Refused (nullopt): an
// empty section or key; a line end or a zero byte in section, key or value;
// a "]" in the section; a "=" in the key, or a key starting with "[" or ";"
// (it would read back as something else); a value longer than
// kMaxProfileValueBytes.
//   ProfileUpdate("", "window", "hieght", "600") ->
//   "[window]\r\nhieght=600\r\n"
std::optional<std::string> ProfileUpdate(std::string_view file_bytes,
                                         std::string_view section,
                                         std::string_view key,
                                         std::string_view value);

// The value of key in section of file, or default_value when the file, the
// section or the key is missing or the file is unreadable. Unreadable means:
// not a regular file (a directory, a device, a pipe), no permission to read,
// larger than kMaxSettingsFileBytes, or containing a zero byte (a binary
// file; text in the ANSI code page never has one). When section or key is
// empty after its leading blanks, or file is empty, the result is the empty
// text and the file is not read. The result is at most kMaxProfileValueBytes
// long (the default is cut like a value). Never blocks on a pipe in the
// file's place and reads at most kMaxSettingsFileBytes + 1 bytes.
std::string ReadProfileString(const std::filesystem::path& file,
                              std::string_view section, std::string_view key,
                              std::string_view default_value);

// Sets key in section of file to value, creating the file, the section and
// the key as needed (see ProfileUpdate). Returns false when the file could not
// be written; the old file is then unchanged.
//   - The file is replaced whole and atomically: the new bytes go to a
//     temporary file beside it, which is flushed to disk and then renamed over
//     the old one, so a crash or a full disk leaves either the old file or the
//     new one, never a part. The old file's permission bits (and, where
//     allowed, its owner and group) carry over; a new file gets 0666 less the
//     umask. A symbolic link is followed and its target replaced; the link
//     stays.
//   - Returns false, touching nothing, when the file is unreadable (as in
//     ReadProfileString: its other lines could not be kept), read-only (no
//     write permission bit at all, which holds even for the superuser, or not
//     writable by this process), its directory cannot take the temporary
//     file, the update is refused (see ProfileUpdate), or the new file would
//     be larger than kMaxSettingsFileBytes.
//   - Returns true without writing when the file already holds these bytes.
// A temporary file named ".<name>.tmp-<pid>-<n>" is left behind only when
// the process dies between creating and renaming it.
bool WriteProfileString(const std::filesystem::path& file,
                        std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace sumora

#endif  // SUMORA_UI_SETTINGS_FILE_H_
