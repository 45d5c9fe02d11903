// Zelvio's lossless screen codec: frames in, Zip Motion Blocks Video packets out (fourcc
// ZMBV, 32 bits per pixel, zlib), the format ffmpeg-based players decode.
//
// A key frame is the whole picture deflated; every other frame codes, per block, a vector
// into the previous frame and, where that prediction is not exact, the pixels XORed with it.
// One zlib stream runs from a key frame to the next, each packet ending in a sync flush, so
// the stream's history serves every later frame.
//
// The 4th (X) byte of a source pixel is ignored: the encoder writes 0 there, so a decoded
// picture always has 0 in its 4th byte.
//
// Not thread safe; one encoder per stream. Plain C++ with zlib, no operating system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "screencodec/core/task_runner.h"
#include "screencodec/core/zmbv_motion.h"

namespace zelvio::screencodec {
class ZmbvDeflater;
struct Tuning;
}  // namespace zelvio::screencodec

namespace zelvio::screencodec {

// The user's choice between speed and size.
enum class Effort { Faster, Smaller };

struct EncoderSettings {
  int width = 0, height = 0;   // pixels, >= 1
  int keyFrameInterval = 150;  // frames from one key frame to the next, >= 1 (1 = all key)
  Effort effort = Effort::Faster;
  // Large packets are deflated in slices on these threads; none: on the caller's alone.
  // Not owned; must outlive the encoder.
  TaskRunner* runner = nullptr;
};

class ZmbvEncoder {
 public:
  // Throws std::invalid_argument for a size below 1x1 or above what a 32-bit packet size
  // can hold, or a key frame interval below 1.
  explicit ZmbvEncoder(const EncoderSettings& settings);
  ~ZmbvEncoder();
  ZmbvEncoder(const ZmbvEncoder&) = delete;
  ZmbvEncoder& operator=(const ZmbvEncoder&) = delete;

  // Encodes one 32-bit frame. `top` points at the first byte of the TOP row; `stride` is the
  // byte distance from one row to the next one below (negative for a bottom-up DIB walked
  // from its top row). Replaces `packet` with the packet. Returns true for a key frame.
  bool Encode(const uint8_t* top, std::ptrdiff_t stride, std::vector<uint8_t>& packet);

  // The next Encode writes a key frame (after a pause, a discontinuity).
  void RequestKeyFrame() { keyRequested_ = true; }

  // Whether frames of this size can be encoded: at least 1x1, and small enough that every
  // size computed from it (the packet bound included) fits 32 bits signed.
  static bool CanEncode(int width, int height);

  // Largest packet a frame of this size can produce (for the output buffer size).
  static size_t MaxPacketSize(int width, int height);

  // The block size the encoder writes into its key frames.
  static constexpr int kBlockWidth = 16;
  static constexpr int kBlockHeight = 16;

 private:
  struct Prediction {
    MotionVector v;
    bool exact = false;  // the block is the kept frame moved by v: no XOR data
    size_t cost = 0;     // colour bytes its XOR data leaves non-zero
  };
  struct MotionFrames {
    SourceFrame source;
    KeptFrame kept;
    BlockGrid grid;
  };

  void EncodeKey(const uint8_t* top, std::ptrdiff_t stride, std::vector<uint8_t>& packet);
  void EncodeInter(const uint8_t* top, std::ptrdiff_t stride, std::vector<uint8_t>& packet);
  bool MarkChanged(const uint8_t* top, std::ptrdiff_t stride);
  size_t ChooseVectors(const uint8_t* top, std::ptrdiff_t stride);
  // Rows of blocks one thread chooses vectors for.
  struct Band {
    int fromRow = 0, toRow = 0;
    std::vector<uint8_t> xor_;  // its XOR data, for every band but the first
    size_t xorBytes = 0, differing = 0;
    LocalSearchBudget::Tally tally;
  };
  // Changed blocks a band must have before a frame is cut into bands for several threads.
  static constexpr size_t kBlocksPerBand = 256;

  std::vector<MotionVector> SharedCandidates(const BlockGrid& grid, int bx, int by, int firstRow,
                                             const std::vector<MotionVector>& found) const;
  Prediction PredictBlock(const MotionFrames& frames, int bx, int by, const std::vector<MotionVector>& tries,
                          LocalSearchBudget::Tally& tally) const;
  void ChooseBand(const MotionFrames& frames, const std::vector<MotionVector>& found, Band& band,
                  uint8_t* out);
  uint8_t* WriteXor(const MotionFrames& frames, int bx, int by, MotionVector v, uint8_t* out) const;
  void KeepChanged(const uint8_t* top, std::ptrdiff_t stride);
  bool KeptIsPicture() const;
  const Tuning& Tuned() const;
  BlockGrid Grid() const;

  EncoderSettings settings_;
  int across_ = 0, down_ = 0;
  size_t vectorBytes_ = 0;            // the vector array with its padding
  std::unique_ptr<uint8_t[]> kept_;   // the previous frame as decoded: top-down, X = 0
  std::unique_ptr<uint8_t[]> input_;  // what is deflated next: vectors, then XOR data
  std::vector<uint8_t> changed_;      // per block: differs from the kept frame
  std::unique_ptr<ZmbvDeflater> deflater_;
  LocalSearchBudget refine_;
  // Per frame, written by the bands side by side (each its own blocks' entries).
  std::vector<MotionVector> chosen_;
  std::vector<Band> bands_;
  size_t xorBytes_ = 0, differingBytes_ = 0;  // of the frame ChooseVectors last wrote
  int sinceKey_ = 0;
  bool keyRequested_ = true;
};

}  // namespace zelvio::screencodec
