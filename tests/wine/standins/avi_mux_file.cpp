#include "avi_mux_file.h"

#include <exception>
#include <new>
#include <optional>

#include "support/avi_writer.h"

namespace standins {

namespace avi = zelvio::avi;

namespace {

// A failed write of the writer's stream, carried through the layout code to our caller.
struct StreamWriteFailed {
  HRESULT hr;
};

class StreamSink : public avi::AviSink {
 public:
  explicit StreamSink(IStream* stream) : stream_(stream) {}

  void WriteAt(uint64_t offset, const void* data, size_t size) override {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    HRESULT hr = stream_->Seek(at, STREAM_SEEK_SET, nullptr);
    if (FAILED(hr)) throw StreamWriteFailed{hr};
    const BYTE* bytes = static_cast<const BYTE*>(data);
    while (size > 0) {
      ULONG part = size > 0x40000000 ? 0x40000000 : static_cast<ULONG>(size);
      ULONG written = 0;
      hr = stream_->Write(bytes, part, &written);
      if (FAILED(hr)) throw StreamWriteFailed{hr};
      // A short write without an error code is a full disk.
      if (written != part) throw StreamWriteFailed{STG_E_MEDIUMFULL};
      bytes += part;
      size -= part;
    }
  }

 private:
  IStream* stream_;
};

template <class Fn>
HRESULT Guarded(Fn fn) {
  try {
    fn();
    return S_OK;
  } catch (const StreamWriteFailed& failure) {
    return failure.hr;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const std::exception&) {
    return E_FAIL;
  }
}

}  // namespace

struct AviMuxFile::Impl {
  Impl(IStream* s, std::vector<AviTrackFormat> t) : sink(s), tracks(std::move(t)) {}
  StreamSink sink;
  std::vector<AviTrackFormat> tracks;
  std::optional<avi::AviWriter> writer;
};

AviMuxFile::AviMuxFile(IStream* stream, std::vector<AviTrackFormat> tracks)
    : impl_(std::make_unique<Impl>(stream, std::move(tracks))) {}

AviMuxFile::~AviMuxFile() = default;

HRESULT AviMuxFile::Begin() {
  return Guarded([this] {
    std::vector<avi::StreamFormat> streams;
    for (const AviTrackFormat& t : impl_->tracks) {
      avi::StreamFormat f;
      f.kind = t.video ? avi::StreamKind::Video : avi::StreamKind::Audio;
      f.format.assign(t.format.begin(), t.format.end());
      f.avgTimePerFrame = t.frameTime;
      streams.push_back(std::move(f));
    }
    impl_->writer.emplace(impl_->sink, std::move(streams));
  });
}

HRESULT AviMuxFile::WriteChunk(size_t track, const BYTE* data, uint32_t size, bool key) {
  if (!impl_->writer) return E_UNEXPECTED;
  return Guarded([&] { impl_->writer->AppendChunk(track, data, size, key); });
}

HRESULT AviMuxFile::Finish() {
  if (!impl_->writer) return E_UNEXPECTED;
  return Guarded([this] { impl_->writer->Finish(); });
}

}  // namespace standins
