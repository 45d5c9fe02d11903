#include "video_media_type.h"

#include <amvideo.h>
#include <uuids.h>

namespace zelvio::pushsource {

namespace {

GUID SubtypeOf(PixelFormat pixels) {
  switch (pixels) {
    case PixelFormat::Rgb32:
      return MEDIASUBTYPE_RGB32;
    case PixelFormat::Rgb24:
      return MEDIASUBTYPE_RGB24;
    case PixelFormat::Rgb555:
      return MEDIASUBTYPE_RGB555;
  }
  return MEDIASUBTYPE_RGB32;
}

bool PixelsOf(const GUID& subtype, PixelFormat* out) {
  for (PixelFormat pixels : kOfferedFormats) {
    if (SubtypeOf(pixels) != subtype) continue;
    *out = pixels;
    return true;
  }
  return false;
}

}  // namespace

kit::MediaType BuildVideoMediaType(const VideoFormat& format) {
  kit::MediaType result;
  AM_MEDIA_TYPE& mt = result.Get();
  mt.majortype = MEDIATYPE_Video;
  mt.subtype = SubtypeOf(format.pixels);
  mt.formattype = FORMAT_VideoInfo;
  mt.bFixedSizeSamples = TRUE;
  mt.bTemporalCompression = FALSE;
  mt.lSampleSize = static_cast<ULONG>(format.imageSize);

  auto* vih = reinterpret_cast<VIDEOINFOHEADER*>(result.AllocFormat(sizeof(VIDEOINFOHEADER)));
  if (!vih) return kit::MediaType();
  vih->AvgTimePerFrame = format.avgTimePerFrame;
  vih->dwBitRate = static_cast<DWORD>(format.bitRate);
  BITMAPINFOHEADER& bih = vih->bmiHeader;
  bih.biSize = sizeof(BITMAPINFOHEADER);
  bih.biWidth = format.width;
  bih.biHeight = format.height;
  bih.biPlanes = 1;
  bih.biBitCount = static_cast<WORD>(format.bitCount);
  bih.biCompression = BI_RGB;
  bih.biSizeImage = static_cast<DWORD>(format.imageSize);
  return result;
}

bool ReadVideoMediaType(const AM_MEDIA_TYPE& mt, VideoFormat* out) {
  if (mt.majortype != MEDIATYPE_Video || mt.formattype != FORMAT_VideoInfo) return false;
  if (mt.cbFormat < sizeof(VIDEOINFOHEADER) || !mt.pbFormat) return false;
  PixelFormat pixels;
  if (!PixelsOf(mt.subtype, &pixels)) return false;
  const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat);
  const BITMAPINFOHEADER& bih = vih->bmiHeader;
  if (bih.biCompression != BI_RGB || bih.biBitCount != BitCountOf(pixels)) return false;
  if (bih.biWidth <= 0 || bih.biHeight <= 0 || vih->AvgTimePerFrame <= 0) return false;
  int fps = static_cast<int>(kUnitsPerSecond / vih->AvgTimePerFrame);
  *out = DescribeFormat(pixels, bih.biWidth, bih.biHeight, fps);
  out->avgTimePerFrame = vih->AvgTimePerFrame;
  return true;
}

}  // namespace zelvio::pushsource
