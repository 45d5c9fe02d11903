#include "capture/recovery/recovery_notes_format.h"

#include <algorithm>
#include <charconv>
#include <iterator>

namespace zelvio::avi {
namespace {

constexpr std::string_view kMagic = "Zelvio recording 1";

std::string Hex(const Bytes& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (uint8_t b : bytes) {
    text += digits[b >> 4];
    text += digits[b & 15];
  }
  return text;
}

bool ParseHex(std::string_view text, Bytes& out) {
  if (text.size() % 2 || text.size() / 2 > kNotesMaxFormatBytes) return false;
  out.clear();
  for (size_t i = 0; i < text.size(); i += 2) {
    int hi = guid_detail::HexDigit(text[i]), lo = guid_detail::HexDigit(text[i + 1]);
    if (hi < 0 || lo < 0) return false;
    out.push_back(uint8_t(hi << 4 | lo));
  }
  return true;
}

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
  // One spelling per number, so a parsed notes serialises back to the same text.
  if (text.empty() || text[0] == '+' || text[0] == '-') return false;
  if (text.size() > 1 && text[0] == '0') return false;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

// Splits into lines; a final line break is optional, "\r\n" is accepted.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

bool TakeField(std::string_view& line, std::string_view key, std::string_view& value) {
  if (line.substr(0, key.size()) != key) return false;
  line.remove_prefix(key.size());
  size_t end = line.find(' ');
  value = line.substr(0, end);
  line.remove_prefix(end == std::string_view::npos ? line.size() : end + 1);
  return true;
}

bool ParseInput(std::string_view line, size_t expectedIndex, NotesMediaType& input) {
  std::string_view index, major, sub, formatType, format;
  if (!TakeField(line, "input=", index) || !TakeField(line, "major=", major) ||
      !TakeField(line, "subtype=", sub) || !TakeField(line, "formattype=", formatType) ||
      !TakeField(line, "format=", format) || !line.empty()) {
    return false;
  }
  size_t number = 0;
  if (!ParseNumber(index, number) || number != expectedIndex) return false;
  return ParseGuid(major, input.majorType) && ParseGuid(sub, input.subType) &&
         ParseGuid(formatType, input.formatType) && ParseHex(format, input.format);
}

bool PrintableVersion(std::string_view version) {
  if (version.empty() || version.size() > kNotesMaxVersionChars) return false;
  for (char c : version) {
    if (c < 32 || c > 126) return false;
  }
  return true;
}

std::optional<RecoveryNotes> Reject(std::string* reason, const char* why) {
  if (reason) *reason = why;
  return std::nullopt;
}

}  // namespace

std::string RecoveryNotesPath(std::string_view aviPath) {
  return std::string(aviPath) + std::string(kRecoveryNotesSuffix);
}

std::string RecordingPathForNotes(std::string_view notesPath) {
  if (notesPath.size() <= kRecoveryNotesSuffix.size()) return {};
  std::string_view suffix = notesPath.substr(notesPath.size() - kRecoveryNotesSuffix.size());
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  if (!std::equal(suffix.begin(), suffix.end(), kRecoveryNotesSuffix.begin(),
                  [&](char a, char b) { return lower(a) == lower(b); })) {
    return {};
  }
  return std::string(notesPath.substr(0, notesPath.size() - kRecoveryNotesSuffix.size()));
}

std::string RecoveryNotesText(const RecoveryNotes& notes) {
  std::string text = std::string(kMagic) + "\n";
  text += "version=" + notes.programVersion + "\n";
  text += "avgtimeperframe=" + std::to_string(notes.avgTimePerFrame) + "\n";
  if (notes.ownerProcess != 0) {
    text += "owner=" + std::to_string(notes.ownerProcess) + " started=" + std::to_string(notes.ownerStarted) +
            "\n";
  }
  for (size_t i = 0; i < notes.inputs.size(); ++i) {
    const auto& in = notes.inputs[i];
    text += "input=" + std::to_string(i) + " major=" + GuidText(in.majorType) +
            " subtype=" + GuidText(in.subType) + " formattype=" + GuidText(in.formatType) +
            " format=" + Hex(in.format) + "\n";
  }
  return text;
}

std::optional<RecoveryNotes> ParseRecoveryNotes(std::string_view text, std::string* reason) {
  auto lines = Lines(text);
  if (lines.size() < 4) return Reject(reason, "too few lines");
  if (lines[0] != kMagic) return Reject(reason, "not recovery notes");
  RecoveryNotes notes;
  constexpr std::string_view kVersionKey = "version=";
  if (lines[1].substr(0, kVersionKey.size()) != kVersionKey) return Reject(reason, "no version line");
  // The version is the rest of the line and may hold blanks.
  notes.programVersion = std::string(lines[1].substr(kVersionKey.size()));
  std::string_view line = lines[2], value;
  if (!PrintableVersion(notes.programVersion)) return Reject(reason, "bad version");
  if (!TakeField(line, "avgtimeperframe=", value) || !line.empty())
    return Reject(reason, "no frame time line");
  if (!ParseNumber(value, notes.avgTimePerFrame) || notes.avgTimePerFrame <= 0 ||
      notes.avgTimePerFrame > kNotesMaxAvgTimePerFrame) {
    return Reject(reason, "bad frame time");
  }
  size_t first = 3;
  line = lines[3];
  if (line.substr(0, 6) == "owner=") {
    std::string_view process, started;
    if (!TakeField(line, "owner=", process) || !TakeField(line, "started=", started) || !line.empty() ||
        !ParseNumber(process, notes.ownerProcess) || notes.ownerProcess == 0 ||
        !ParseNumber(started, notes.ownerStarted)) {
      return Reject(reason, "bad owner line");
    }
    ++first;
  }
  if (lines.size() - first > kNotesMaxInputs) return Reject(reason, "too many inputs");
  for (size_t i = first; i < lines.size(); ++i) {
    NotesMediaType input;
    if (!ParseInput(lines[i], i - first, input)) return Reject(reason, "bad input line");
    notes.inputs.push_back(std::move(input));
  }
  if (notes.inputs.empty()) return Reject(reason, "too few lines");
  return notes;
}

}  // namespace zelvio::avi
