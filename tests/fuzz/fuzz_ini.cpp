// Feeds arbitrary bytes to the settings-file reader and the value decoders.
// A hand-edited or damaged settings.ini must never crash the program, and a
// file we wrote must read back to the very same file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/overlay_command.h"
#include "settings/ini_document.h"
#include "settings/stored_values.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckDocumentRoundTrip(std::string_view text) {
  zelvio::IniDocument doc = zelvio::IniDocument::Parse(text);
  std::string once = doc.Serialize();
  Require(once.empty() || (once.size() >= 4 && once.compare(once.size() - 4, 4, "\r\n\r\n") == 0));
  Require(zelvio::IniDocument::Parse(once).Serialize() == once);

  // The first line, taken as a value path, looks something up in the rest.
  zelvio::IniValuePath path = zelvio::SplitValuePath(text.substr(0, text.find_first_of("\r\n")));
  Require(doc.HasValue(path.section, path.name) == doc.ReadString(path.section, path.name).has_value());

  // A write is read back at once and survives a save and reload.
  doc.WriteString("FormMain", "FuzzKey", "FuzzValue");
  Require(doc.ReadString("formmain", "fuzzkey") == std::string("FuzzValue"));
  std::string twice = doc.Serialize();
  zelvio::IniDocument reloaded = zelvio::IniDocument::Parse(twice);
  Require(reloaded.ReadString("FORMMAIN", "FUZZKEY") == std::string("FuzzValue"));
  Require(reloaded.Serialize() == twice);
}

void CheckDecoders(std::string_view text) {
  zelvio::DecodeBoolean(text);

  if (std::optional<int32_t> number = zelvio::DecodeInteger(text)) {
    Require(zelvio::DecodeInteger(zelvio::EncodeInteger(*number)) == number);
  }
  if (std::optional<uint32_t> colour = zelvio::DecodeColour(text)) {
    Require(zelvio::DecodeColour(zelvio::EncodeColour(*colour)) == colour);
    // A stored colour becomes the overlay's background command and must arrive unchanged.
    const zelvio::OverlayColor color = zelvio::OverlayColorFromColour(*colour);
    auto bytes =
        zelvio::EncodeCommandBytes(zelvio::FormatOverlayCommand(zelvio::OverlayColorCommand(color, 0)));
    auto parsed = zelvio::ParseOverlayCommand(bytes.data(), bytes.size());
    Require(parsed && parsed->color.r == color.r && parsed->color.g == color.g && parsed->color.b == color.b);
  }
  std::string expanded = zelvio::ExpandFormName(text, "FormMain");
  zelvio::SplitValuePath(expanded);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckDocumentRoundTrip(text);
  CheckDecoders(text);
  return 0;
}
