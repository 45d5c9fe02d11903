#include "settings/ini_document.h"

namespace zelvio {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char AsciiLowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Cuts the next line off the front of text; CR LF, LF and CR all end a line.
std::string_view TakeLine(std::string_view& text) {
  std::size_t end = text.find_first_of("\r\n");
  if (end == std::string_view::npos) {
    std::string_view line = text;
    text = {};
    return line;
  }
  std::string_view line = text.substr(0, end);
  std::size_t next = end + 1;
  if (text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
  text.remove_prefix(next);
  return line;
}

bool IsSectionLine(std::string_view line) {
  return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = AsciiLowerChar(c);
  return lower;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLowerChar(a[i]) != AsciiLowerChar(b[i])) return false;
  }
  return true;
}

IniDocument IniDocument::Parse(std::string_view text) {
  IniDocument doc;
  // A file in UTF-8 starts with a byte-order mark (ours when a value needs it, or an
  // editor's such as Notepad's); left in place it would hide the first section's "[".
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());
  Section* current = nullptr;
  while (!text.empty()) {
    std::string_view line = TrimBlanks(TakeLine(text));
    if (line.empty() || line.front() == ';') continue;
    if (IsSectionLine(line)) {
      current = &doc.AddSection(TrimBlanks(line.substr(1, line.size() - 2)));
      continue;
    }
    if (current == nullptr) continue;  // nothing before the first section counts
    Line held;
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
      held.name = std::string(line);
    } else {
      held.name = std::string(TrimBlanks(line.substr(0, eq)));
      held.value = std::string(TrimBlanks(line.substr(eq + 1)));
      held.hasValue = true;
    }
    AddLine(*current, std::move(held));
  }
  return doc;
}

IniDocument::Section& IniDocument::AddSection(std::string_view name) {
  // A later section of the same name hides the earlier one, which still gets written.
  sectionsByName_[AsciiLower(name)] = sections_.size();
  Section& section = sections_.emplace_back();
  section.name = std::string(name);
  return section;
}

void IniDocument::AddLine(Section& section, Line line) {
  if (line.hasValue) section.byName[AsciiLower(line.name)] = section.lines.size();
  section.lines.push_back(std::move(line));
}

const IniDocument::Line* IniDocument::FindLine(std::string_view section, std::string_view name) const {
  auto s = sectionsByName_.find(AsciiLower(section));
  if (s == sectionsByName_.end()) return nullptr;
  const Section& found = sections_[s->second];
  auto l = found.byName.find(AsciiLower(name));
  if (l == found.byName.end()) return nullptr;
  return &found.lines[l->second];
}

bool IniDocument::HasValue(std::string_view section, std::string_view name) const {
  return FindLine(section, name) != nullptr;
}

std::optional<std::string> IniDocument::ReadString(std::string_view section, std::string_view name) const {
  const Line* line = FindLine(section, name);
  if (line == nullptr) return std::nullopt;
  return line->value;
}

void IniDocument::WriteString(std::string_view section, std::string_view name, std::string_view value) {
  Line line{std::string(name), std::string(value), true};
  auto s = sectionsByName_.find(AsciiLower(section));
  Section& target = (s == sectionsByName_.end()) ? AddSection(section) : sections_[s->second];
  auto l = target.byName.find(AsciiLower(name));
  if (l == target.byName.end()) {
    AddLine(target, std::move(line));
    return;
  }
  // The line keeps its place but takes the writer's spelling of the name.
  target.lines[l->second] = std::move(line);
}

std::string IniDocument::Serialize() const {
  std::string out;
  for (const Section& section : sections_) {
    out += '[';
    out += section.name;
    out += "]\r\n";
    for (const Line& line : section.lines) {
      out += line.name;
      if (line.hasValue) {
        out += '=';
        out += line.value;
      }
      out += "\r\n";
    }
    out += "\r\n";
  }
  return out;
}

IniValuePath SplitValuePath(std::string_view path) {
  std::string collapsed;
  for (char c : path) {
    if (c == '\\' && (collapsed.empty() || collapsed.back() == '\\')) continue;
    collapsed += c;
  }
  if (!collapsed.empty() && collapsed.back() == '\\') collapsed.pop_back();
  std::size_t cut = collapsed.rfind('\\');
  if (cut == std::string::npos) return {"", collapsed};
  return {collapsed.substr(0, cut), collapsed.substr(cut + 1)};
}

std::string ExpandFormName(std::string_view path, std::string_view formName) {
  constexpr std::string_view kMacro = "%FORM_NAME%";
  std::string out;
  while (!path.empty()) {
    if (path.size() >= kMacro.size() && EqualsIgnoreCase(path.substr(0, kMacro.size()), kMacro)) {
      out += formName;
      path.remove_prefix(kMacro.size());
      continue;
    }
    out += path.front();
    path.remove_prefix(1);
  }
  return out;
}

}  // namespace zelvio
