// The text commands the recorder sends to the overlay program over WM_COPYDATA.
// Both ends use this file: the sender to build the bytes, the overlay to read them,
// so the layout of the channel lives in one place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zelvio {

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
    std::string caption;       // ChangeFormCaption
    int width = 0;             // Create: region size and screen position
    int height = 0;
    int left = 0;
    int top = 0;
    bool background = false;  // Create: "-1" on, "0" off
    OverlayColor color;        // Create: backdrop colour; ChangeFormColor: frame colour
    int durationMs = 0;        // ChangeFormColor: 0 = new state colour, > 0 = brief flash
};

// Limits the overlay accepts; anything outside them is someone else's garbage.
constexpr size_t kMaxOverlayCommandBytes = 4096;
constexpr int kMaxOverlayExtent = 100000;

// Reads the bytes of one WM_COPYDATA (lpData, cbData). The text ends at the first zero
// byte, which must lie inside the buffer. Returns nothing for anything malformed.
std::optional<OverlayCommand> ParseOverlayCommand(const uint8_t* data, size_t size);

// The bytes to send for a command text: the text followed by one zero byte, so the
// byte count is the text length plus one.
std::vector<uint8_t> EncodeCommandBytes(const std::string& text);

}  // namespace zelvio
