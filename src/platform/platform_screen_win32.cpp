// The screen: its size and density, grabs into bitmap files, and the layered-style sweep
// that makes translucent windows of other programs show up in grabs.
#include "platform/platform_win32.h"

#include <vector>

#include "platform/bitmap_file.h"
#include "platform/layered_sweep.h"
#include "common/errors.h"
#include "platform/file_replace_win32.h"
#include "common/win32/handles.h"
#include "platform/system_error_win32.h"

namespace zelvio {

namespace {

// ---- Layered windows ----------------------------------------------------------------------

bool IsTaskbarPart(HWND window) {
  // Looked up for every window: the shell may restart while the sweep runs.
  SweepLookups lookups;
  lookups.topLevel = [](const std::string& className) {
    return reinterpret_cast<SweepWindow>(FindWindowA(className.c_str(), nullptr));
  };
  lookups.child = [](SweepWindow parent, const std::string& className) {
    return reinterpret_cast<SweepWindow>(
        FindWindowExA(reinterpret_cast<HWND>(parent), nullptr, className.c_str(), nullptr));
  };
  lookups.byAtomAndTitle = [](unsigned atom, const std::string& title) {
    return reinterpret_cast<SweepWindow>(
        FindWindowA(reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(atom)), title.c_str()));
  };
  return SparedBySweep(reinterpret_cast<SweepWindow>(window), lookups);
}

BOOL CALLBACK ClearLayeredStyle(HWND window, LPARAM) {
  if (IsTaskbarPart(window)) return TRUE;
  if (!IsWindowVisible(window) || IsIconic(window)) return TRUE;
  char title[256] = {};
  if (GetWindowTextA(window, title, sizeof(title)) == 0) return TRUE;
  LONG style = GetWindowLongA(window, GWL_EXSTYLE);
  SetWindowLongA(window, GWL_EXSTYLE, style & ~WS_EX_LAYERED);
  return TRUE;
}

// ---- Screen bitmap ------------------------------------------------------------------------

// BITMAPINFO with room for the largest colour table or the three masks.
struct BitmapInfoWithTable {
  BITMAPINFOHEADER header;
  RGBQUAD colours[256];
};

[[noreturn]] void ThrowCannotCreate(const std::string& path, DWORD code) {
  throw ZelvioError("Cannot create file \"" + path + "\". " + SystemErrorText(code));
}

// The bitmap's pixels in the display's own depth, as the file will hold them.
BitmapPixels ReadPixels(HDC screen, HBITMAP bitmap, int width, int height) {
  BitmapPixels pixels;
  pixels.width = width;
  pixels.height = height;
  pixels.bitsPerPixel = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  if (pixels.bitsPerPixel > 24) pixels.bitsPerPixel = 32;
  if (pixels.bitsPerPixel > 16 && pixels.bitsPerPixel < 24) pixels.bitsPerPixel = 24;
  if (pixels.bitsPerPixel > 8 && pixels.bitsPerPixel < 16) pixels.bitsPerPixel = 16;

  BitmapInfoWithTable info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = -height;  // top-down, as BuildBitmapFile takes the rows
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(pixels.bitsPerPixel);
  info.header.biCompression = pixels.bitsPerPixel == 16 ? BI_BITFIELDS : BI_RGB;
  pixels.rows.resize(DibStride(width, pixels.bitsPerPixel) * static_cast<size_t>(height));
  if (GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.rows.data(),
                reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) == 0) {
    throw ZelvioError("The screen could not be read");
  }
  if (pixels.bitsPerPixel == 16) {
    const auto* masks = reinterpret_cast<const DWORD*>(info.colours);
    pixels.colourMasks = {masks[0], masks[1], masks[2]};
  }
  if (pixels.bitsPerPixel <= 8) {
    size_t count = info.header.biClrUsed ? info.header.biClrUsed : (size_t{1} << pixels.bitsPerPixel);
    for (size_t i = 0; i < count && i < 256; ++i) {
      const RGBQUAD& c = info.colours[i];
      pixels.palette.push_back((uint32_t{c.rgbRed} << 16) | (uint32_t{c.rgbGreen} << 8) | c.rgbBlue);
    }
  }
  return pixels;
}

void WriteBitmapFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  DWORD code = WriteThenReplace(path + ".tmp", path, bytes.data(), bytes.size());
  if (code != ERROR_SUCCESS) ThrowCannotCreate(path, code);
}

}  // namespace

ScreenSize Win32Screen::GetScreenSize() {
  return ScreenSize{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

int Win32Screen::PixelsPerInch() {
  WindowDc screen(nullptr);
  return GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

void Win32Screen::ClearLayeredStyles() { EnumWindows(ClearLayeredStyle, 0); }

void Win32Screen::SaveScreenBitmap(const Rect& source, const std::string& path) {
  const int width = source.right - source.left;
  const int height = source.bottom - source.top;
  if (width <= 0 || height <= 0) throw ZelvioError("The capture region has no area");

  WindowDc screen(GetDesktopWindow());
  if (!screen.Get()) throw ZelvioError("The screen could not be read");
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
  UniqueMemoryDc memory(CreateCompatibleDC(screen.Get()));
  if (!bitmap || !memory)
    throw ZelvioError("Not enough memory for a bitmap of " + std::to_string(width) + " x " +
                      std::to_string(height) + " pixels");
  {
    SelectedObject selected(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.Get(), source.left, source.top, SRCCOPY);
  }
  BitmapPixels pixels = ReadPixels(screen.Get(), bitmap.get(), width, height);
  WriteBitmapFile(path, BuildBitmapFile(pixels));
}

}  // namespace zelvio
