// Snapshot: the region as it shows on the screen, into a dated bitmap file.
#include "app/form/form_main.h"
#include "app/form/time_texts.h"
#include "common/overlay_command.h"
#include "common/errors.h"

namespace zelvio {

void TFormMain::JvImgBtnSnapshotClick() {
  JvImgBtnSnapshot.SetImageIndex(kPictureSnapshotFlash);
  try {
    SendOverlayCommand(OverlayColorCommand(kFrameSnapshotColor, kFrameSnapshotFlashMs));
    TakeSnapshot();
    messages_.ProcessMessages();
    clock_.WaitMilliseconds(50);
  } catch (...) {
    JvImgBtnSnapshot.SetImageIndex(kPictureSnapshot);
    throw;
  }
  JvImgBtnSnapshot.SetImageIndex(kPictureSnapshot);
}

void TFormMain::TakeSnapshot() {
  // The overlay's frame is the one place that knows where the region is on the screen.
  Rect frame;
  WindowHandle overlay = windows_.FindTopWindow(kOverlayWindowClass, "");
  if (overlay == 0 || !windows_.WindowRectOf(overlay, frame)) {
    throw ZelvioError("No snapshot was taken: the capture frame is not on the screen");
  }
  Rect source{frame.left + kOverlayBorder, frame.top + kOverlayBorder, frame.right - kOverlayBorder,
              frame.bottom - kOverlayBorder};
  if (source.right <= source.left || source.bottom <= source.top) {
    throw ZelvioError("No snapshot was taken: the capture region has no area");
  }
  std::string folder = EditOutputScreenshotsPath.Text();
  if (folder.empty()) folder = DefaultFolder(kDefaultScreenshotFolder);
  screen_.SaveScreenBitmap(source, DatedFilePath(folder, "Screenshot_", clock_.Now(), "bmp"));
}

}  // namespace zelvio
