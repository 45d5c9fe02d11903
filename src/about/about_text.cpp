#include "about/about_text.h"

#include <iterator>

namespace zelvio {

namespace {

// One entry per line of the memo; the memo wraps the long ones itself.
constexpr std::string_view kUsageLines[] = {
    "About : ",
    "Zelvio is a free screen capturer: it records what happens on your screen as a "
    "screencast (an AVI video) and takes screenshots (bitmap pictures).",
    "",
    "Installation + Settings : ",
    "Zelvio is portable, there is nothing to install: unpack the archive into any folder "
    "(a USB stick will do) and run Zelvio.exe.",
    "Before the first recording, walk through the tabs of the options panel:",
    "- \"Screen\" tab: pick the part of the screen to capture, its size and where it sits.",
    "- \"Video\" tab: pick a video compressor. These three are known to work:",
    "   * Xvid (free, install it first)",
    "   * x264vfw (free, install it first)",
    "   * Microsoft Video 1 (comes with Windows)",
    "- \"Audio\" tab: switch sound on if you want it, then pick the device, its input "
    "line and the sound format.",
    "- \"General\" tab: pick the folders your screencasts and screenshots are saved in.",
    "Every setting is explained in more detail on our web site (press \"Visit\" below).",
    "",
    "Usage : ",
    "Press Record to start a screencast and Stop to finish it; Pause holds it until you "
    "press Record again.",
    "The snapshot button saves the chosen part of the screen as a bitmap file (.bmp). "
    "It works while recording and just as well while not recording.",
    "",
    "Problems : ",
    "The most common problems first; try the remedies in the order given.",
    "1) The video plays too slow or too fast, or the sound drifts away from the picture.",
    "   Windows 7 and Vista:",
    "   a) Use Xvid or x264vfw as the compressor.",
    "   b) Lower the frame rate to somewhere between 5 and 10.",
    "   c) Capture a smaller part of the screen.",
    "   d) Switch Aero off (choose a Basic or Classic theme).",
    "   Windows XP:",
    "   a) Use Xvid or x264vfw as the compressor.",
    "   b) Lower the frame rate to somewhere between 5 and 10.",
    "   c) Capture a smaller part of the screen.",
    "2) Some windows are missing from the recording.",
    "   Windows 7 and Vista:",
    "   a) Switch on the transparency option on the \"General\" tab.",
    "   b) Or switch Aero on.",
    "   Windows XP:",
    "   a) Switch on the transparency option on the \"General\" tab.",
    "3) A video playing on the screen shows up as a black or coloured area. The player "
    "draws it as an overlay, which screen capture cannot see.",
    "   Windows 7 and Vista:",
    "   a) Play the video in another player.",
    "   b) Switch the overlay video output off in the player's settings.",
    "   c) Switch hardware acceleration off (Screen Resolution, Advanced settings, "
    "Troubleshoot).",
    "   Windows XP:",
    "   a) Play the video in another player.",
    "   b) Switch the overlay video output off in the player's settings.",
    "   c) Switch hardware acceleration off (Display Properties, Settings, Advanced, "
    "Troubleshoot).",
    "",
    "Special Thanks : ",
    "MinGW-w64, the Windows compiler - https://www.mingw-w64.org/",
    "Wine, for running and testing on Linux - https://www.winehq.org/",
    "CMake, the build system - https://cmake.org/",
    "GoogleTest, the unit test framework - https://github.com/google/googletest",
    "FFmpeg, for checking the recorded videos - https://ffmpeg.org/",
    "ImageMagick, for the pictures - https://imagemagick.org/",
};

}  // namespace

std::string AboutUsageText() {
  std::string text;
  for (size_t i = 0; i < std::size(kUsageLines); ++i) {
    if (i > 0) text += "\r\n";
    text += kUsageLines[i];
  }
  return text;
}

AboutLinkAddresses AboutLinks() {
  return {
      "https://zelvio.example.org/",
      "https://zelvio.example.org/download",
      "https://zelvio.example.org/donate",
  };
}

}  // namespace zelvio
