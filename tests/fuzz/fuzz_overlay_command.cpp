// Feeds arbitrary WM_COPYDATA payloads to the overlay's command parser: it must never
// crash, and whatever it accepts must stay within the limits the overlay window relies on.
#include "common/overlay_command.h"

#include <cstdlib>
#include <string>

namespace {

bool SameCommand(const zelvio::OverlayCommand& a, const zelvio::OverlayCommand& b) {
  return a.kind == b.kind && a.caption == b.caption && a.width == b.width && a.height == b.height &&
         a.left == b.left && a.top == b.top && a.background == b.background && a.color.r == b.color.r &&
         a.color.g == b.color.g && a.color.b == b.color.b && a.durationMs == b.durationMs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto command = zelvio::ParseOverlayCommand(data, size);
  if (!command) return 0;
  if (size == 0 || size > zelvio::kMaxOverlayCommandBytes) std::abort();

  using zelvio::OverlayCommandKind;
  const int limit = zelvio::kMaxOverlayExtent;
  switch (command->kind) {
    case OverlayCommandKind::Create:
      // A region without area is a valid command (the frame then surrounds a point).
      if (command->width < 0 || command->width > limit) std::abort();
      if (command->height < 0 || command->height > limit) std::abort();
      if (command->left < -limit || command->left > limit) std::abort();
      if (command->top < -limit || command->top > limit) std::abort();
      break;
    case OverlayCommandKind::ChangeFormColor:
      if (command->durationMs < 0) std::abort();
      break;
    case OverlayCommandKind::ChangeFormCaption:
      if (command->caption.size() >= size) std::abort();
      break;
    case OverlayCommandKind::Close:
      break;
  }

  // What the parser accepted must survive the sender's encoding unchanged in meaning.
  std::string text(reinterpret_cast<const char*>(data));
  auto bytes = zelvio::EncodeCommandBytes(text);
  auto again = zelvio::ParseOverlayCommand(bytes.data(), bytes.size());
  if (!again || !SameCommand(*again, *command)) std::abort();
  return 0;
}
