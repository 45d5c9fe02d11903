// ZelvioCapturer.exe: the frame that shows the capture region and the recording state.
#include "overlay/frame_window.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // The window must exist before the loop starts: the recorder waits for this process
  // to become idle and then sends its first commands at once.
  FrameWindow frame;
  if (!frame.Create(instance)) return 1;

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
