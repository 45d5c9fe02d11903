// The file side of the AVI Mux stand-in: lays the streams out as AVI through the byte
// stream of the connected writer. Begin reserves the header area and opens the movie list,
// WriteChunk appends one chunk at once (so the data is on disk even if the process dies),
// Finish writes the indexes and then the header with the final counts.
#pragma once
#include <windows.h>
#include <objidl.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace standins {

struct AviTrackFormat {
  bool video = false;
  std::vector<BYTE> format;  // BITMAPINFOHEADER for video, WAVEFORMATEX for audio
  int64_t frameTime = 0;     // video: 100 ns per frame
};

class AviMuxFile {
 public:
  AviMuxFile(IStream* stream, std::vector<AviTrackFormat> tracks);
  ~AviMuxFile();
  AviMuxFile(const AviMuxFile&) = delete;
  AviMuxFile& operator=(const AviMuxFile&) = delete;

  HRESULT Begin();
  HRESULT WriteChunk(size_t track, const BYTE* data, uint32_t size, bool key);
  HRESULT Finish();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace standins
