// The settings file held in memory: sections and lines in file order, found by
// name without regard to ASCII letter case. Read once, changed in memory,
// written back whole. Bytes in, bytes out: no code-page conversion here.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zelvio {

class IniDocument {
 public:
  // Lines may end in CR LF, LF or CR. Never fails: whatever is not a section
  // or a line inside one is dropped.
  static IniDocument Parse(std::string_view text);

  bool HasValue(std::string_view section, std::string_view name) const;
  std::optional<std::string> ReadString(std::string_view section, std::string_view name) const;

  // Replaces the line that a read would find, appends a new name at the end
  // of its section, or a new section at the end of the document. The name
  // and value go in as given: a caller must not pass line breaks, and a name
  // must not contain "=", or the file will not read back the same.
  void WriteString(std::string_view section, std::string_view name, std::string_view value);

  // Every section as "[name]", its lines, one empty line; CR LF after each.
  std::string Serialize() const;

  bool Empty() const { return sections_.empty(); }

 private:
  struct Line {
    std::string name;  // for a line without "=": the whole trimmed text
    std::string value;
    bool hasValue = false;
  };
  struct Section {
    std::string name;
    std::vector<Line> lines;
    // Lower-cased name -> position of its last line, the one reads and writes use.
    std::unordered_map<std::string, std::size_t> byName;
  };

  Section& AddSection(std::string_view name);
  static void AddLine(Section& section, Line line);
  const Line* FindLine(std::string_view section, std::string_view name) const;

  std::vector<Section> sections_;
  // Lower-cased name -> position of the last section with that name.
  std::unordered_map<std::string, std::size_t> sectionsByName_;
};

// A value's place in the document.
struct IniValuePath {
  std::string section;
  std::string name;
};

// "FormMain\\Name": runs of backslashes count as one, leading and trailing
// ones are dropped, and the last backslash parts section from name. A path
// without a backslash is a name in the section "".
IniValuePath SplitValuePath(std::string_view path);

// Replaces every "%FORM_NAME%" (any letter case) by the window's name.
std::string ExpandFormName(std::string_view path, std::string_view formName);

// Drops spaces and tabs at both ends, the only blanks the file knows.
std::string_view TrimBlanks(std::string_view text);

// ASCII-only case folding, as the file's names are compared.
std::string AsciiLower(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace zelvio
