// The overlay program's window and the text commands the recorder sends it over
// WM_COPYDATA. Every party uses this file: the recorder to build the commands, the overlay
// to read them and to name its window, the screen source to find that window and read the
// frame rate from its caption, so the layout of the channel lives in one place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zelvio {

// The overlay's frame window: its class, and its caption before the recorder names the
// frame rate in it ("FormMainCapturer@25").
inline constexpr const char* kOverlayWindowClass = "TFormMainCapturer";
inline constexpr const char* kOverlayCaption = "FormMainCapturer";
inline constexpr char kOverlayRateMark = '@';
// Width of the coloured frame on each side of the region: the overlay's window rectangle
// is always the region grown by this much.
inline constexpr int kOverlayBorder = 8;

enum class OverlayCommandKind {
  ChangeFormCaption,  // "ChangeFormCaption$<caption>"
  Create,             // "Create$W$H$X$Y$<flag>$RRGGBB"
  ChangeFormColor,    // "ChangeFormColor$RRGGBB$<milliseconds>"
  Close,              // "Close"
};

// Red first, as the command text writes it.
struct OverlayColor {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
};

// One parsed command; only the fields of its kind are meaningful.
struct OverlayCommand {
  OverlayCommandKind kind = OverlayCommandKind::Close;
  std::string caption;  // ChangeFormCaption
  int width = 0;        // Create: region size and screen position
  int height = 0;
  int left = 0;
  int top = 0;
  bool background = false;  // Create: "-1" on, "0" off
  OverlayColor color;       // Create: backdrop colour; ChangeFormColor: frame colour
  int durationMs = 0;       // ChangeFormColor: 0 = new state colour, > 0 = brief flash
};

// The frame's colours: one per recording state, and the brief flash of a snapshot.
inline constexpr OverlayColor kFrameRecordingColor{0xFF, 0x00, 0x00};
inline constexpr OverlayColor kFramePausedColor{0xC0, 0xC0, 0xC0};
inline constexpr OverlayColor kFrameStoppedColor{0x00, 0xFF, 0x00};
inline constexpr OverlayColor kFrameSnapshotColor{0xFF, 0xFF, 0x00};
inline constexpr int kFrameSnapshotFlashMs = 100;

// Limits the overlay accepts; anything outside them is someone else's garbage.
constexpr size_t kMaxOverlayCommandBytes = 4096;
constexpr int kMaxOverlayExtent = 100000;

// The caption that carries a frame rate, as the combo box shows it: "FormMainCapturer@25".
std::string OverlayRateCaption(const std::string& fps);

// A colour of the toolkit (0x00BBGGRR; the high byte is ignored) in the command's order.
OverlayColor OverlayColorFromColour(uint32_t colour);

// Commands filled in for their kind.
OverlayCommand OverlayCaptionCommand(const std::string& caption);
OverlayCommand OverlayRegionCommand(int width, int height, int left, int top, bool background,
                                    OverlayColor color);
OverlayCommand OverlayColorCommand(OverlayColor color, int durationMs);
OverlayCommand OverlayCloseCommand();

// The text of a command, the reverse of the parser: ParseOverlayCommand reads back every
// command whose fields lie inside the limits above.
std::string FormatOverlayCommand(const OverlayCommand& command);

// Reads the bytes of one WM_COPYDATA (lpData, cbData). The text ends at the first zero
// byte, which must lie inside the buffer. Returns nothing for anything malformed.
std::optional<OverlayCommand> ParseOverlayCommand(const uint8_t* data, size_t size);

// The bytes to send for a command text: the text followed by one zero byte, so the
// byte count is the text length plus one.
std::vector<uint8_t> EncodeCommandBytes(const std::string& text);

}  // namespace zelvio
