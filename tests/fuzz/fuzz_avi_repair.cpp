// Repairs arbitrary bytes as if they were an unfinished recording. The repair must never
// crash, never touch bytes outside the file, leave every file it does not repair exactly as
// it was, and a file it repairs must read back as a well-formed AVI that grew by no more
// than its indexes and counts as complete at the next start. What it cuts off the end is
// never more than one torn chunk with zeros around it (past the structure it rebuilds: old
// indexes, padding, the head of a segment that holds nothing): recorded data is never lost.
//
// Input: one mode byte, then the file. The mode picks the recording's formats (bits 0-1:
// raw video; raw video and sound; MJPG video and sound; screen-codec video and sound) and how
// many zero bytes stand before the file (bits 2-3), so the fuzzer need not spell out a whole
// header area.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "../support/avi_reader.h"
#include "../support/avi_samples.h"
#include "capture/avi/avi_file.h"
#include "capture/avi/avi_repair.h"
#include "capture/media/media_guids.h"

namespace {

using namespace zelvio::avi;

// A VIDEOINFOHEADER with AvgTimePerFrame 333333 (0x51615) around a bitmap header.
Bytes VideoInfo(const Bytes& bitmap) {
  Bytes block(48, 0);
  block[40] = 0x15;
  block[41] = 0x16;
  block[42] = 0x05;
  block.insert(block.end(), bitmap.begin(), bitmap.end());
  return block;
}

RecoveryNotes Sidecar(int choice) {
  const Bytes formats[] = {VideoInfo(avitest::BitmapHeader(16, 8, 32, 0)),
                           VideoInfo(avitest::BitmapHeader(16, 8, 32, 0)),
                           VideoInfo(avitest::BitmapHeader(16, 8, 24, avitest::kMjpg)),
                           VideoInfo(avitest::BitmapHeader(16, 8, 32, avitest::kZmbv))};
  NotesMediaType audio{
      zelvio::kMediaTypeAudio, {}, zelvio::kFormatWaveFormatEx, avitest::WaveFormat(8000, 16, 1)};
  RecoveryNotes notes{"fuzz", 333333, {}};
  notes.inputs.push_back({zelvio::kMediaTypeVideo, {}, zelvio::kFormatVideoInfo, formats[choice]});
  if (choice != 0) notes.inputs.push_back(audio);
  return notes;
}

// Any access outside the file is a fault of the repair, not an I/O error to report.
struct StrictFile : MemoryFile {
  using MemoryFile::MemoryFile;
  void ReadAt(uint64_t offset, void* data, size_t size) override {
    if (offset > Size() || size > Size() - offset) std::abort();
    MemoryFile::ReadAt(offset, data, size);
  }
  void WriteAt(uint64_t offset, const void* data, size_t size) override {
    if (offset > Size() || size > Size() - offset) std::abort();
    MemoryFile::WriteAt(offset, data, size);
  }
};

uint64_t EndOf(const avitest::Chunk& c) { return c.offset + 8 + c.size + (c.size & 1); }

bool IdIs(const Bytes& b, uint64_t at, const char* id) { return std::memcmp(&b[at], id, 4) == 0; }

uint32_t U32At(const Bytes& b, uint64_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

// What the repair may cut from `pos` to the end of the original file.
bool OnlyTornTail(const Bytes& b, uint64_t pos) {
  const uint64_t end = b.size();
  while (pos < end) {
    if (end - pos >= 24 && IdIs(b, pos, "RIFF") && IdIs(b, pos + 8, "AVIX") && IdIs(b, pos + 12, "LIST") &&
        IdIs(b, pos + 20, "movi")) {
      pos += 24;
      continue;
    }
    if (end - pos < 8) break;
    uint64_t span = 8 + uint64_t(U32At(b, pos + 4));
    span += span & 1;
    bool rebuilt = IdIs(b, pos, "JUNK") || IdIs(b, pos, "idx1") || (b[pos] == 'i' && b[pos + 1] == 'x');
    if (!rebuilt || pos + span > end) break;
    pos += span;
  }
  while (pos < end && b[pos] == 0) ++pos;
  if (pos == end || end - pos < 8) return true;
  if (pos % 2 != 0) return false;
  // A chunk's extent includes its pad byte; one that lacks it is torn too.
  uint64_t span = 8 + uint64_t(U32At(b, pos + 4));
  span += span & 1;
  return pos + span > end;
}

// Every entry of an idx1 the repair wrote that names data names a whole chunk of its stream
// (a video chunk may be spelled '00db' or '00dc'); for the screen codec, a video entry is a
// key frame exactly when its packet says so. A file of several segments keeps the idx1 its
// mux wrote.
void CheckIdx1(const Bytes& file, const avitest::AviView& view, bool screenCodec) {
  if (view.riffs.size() != 1) return;
  for (const auto& e : view.idx1) {
    if (e.size == 0) continue;
    uint64_t at = view.moviLists[0] + 8 + e.offset;
    if (at + 8 + e.size > file.size() || std::memcmp(&file[at], e.id.data(), 2) != 0 ||
        U32At(file, at + 4) != e.size)
      std::abort();
    if (screenCodec && e.id[2] == 'd' && bool(e.flags & 0x10) != bool(file[at + 8] & 1)) std::abort();
  }
}

void CheckRepaired(const Bytes& original, const Bytes& file, const RepairResult& result, bool screenCodec) {
  avitest::AviView view;
  try {
    view = avitest::AviReader(avitest::MemoryRead(file), file.size()).Read();
  } catch (const std::exception&) {
    std::abort();  // a repaired file that is not a well-formed AVI
  }
  // The last movi list may hold stand-ins only (JUNK to a reader), so its data ends no
  // sooner than where it starts.
  uint64_t dataEnd = view.moviLists.back() + 12;
  if (!view.data.empty()) dataEnd = std::max(dataEnd, EndOf(view.data.back()));
  // Frames that cannot be decoded keep an index entry but are JUNK in the movi list.
  uint64_t indexBytes = view.riffs.size() == 1 ? 8 + 16 * view.idx1.size() : 0;
  for (const auto& ix : view.stdIndexes) {
    if (ix.offset >= dataEnd) indexBytes += 32 + 8 * ix.chunkOffsets.size();
  }
  if (file.size() < dataEnd + indexBytes) std::abort();
  CheckIdx1(file, view, screenCodec);
  // Between the last chunk and the indexes stand only padding and old index chunks (the
  // JUNK over a hole among them).
  uint64_t cut = file.size() - indexBytes;
  for (uint64_t at = dataEnd; at != cut; at += 8 + U32At(file, at + 4) + (U32At(file, at + 4) & 1)) {
    if (at > cut || cut - at < 8) std::abort();
    if (!IdIs(file, at, "JUNK") && !(file[at] == 'i' && file[at + 1] == 'x')) std::abort();
  }
  if (cut < original.size() && !OnlyTornTail(original, cut)) std::abort();
  if (result.sizeAfter > result.sizeBefore && result.sizeAfter - result.sizeBefore > indexBytes) std::abort();
  uint64_t frames = 0;
  for (const auto& c : view.data) frames += c.id[2] == 'd';
  if (frames != result.videoFrames) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static const size_t kPrefixes[4] = {0, 1024, 65536, 4096};
  int choice = data[0] & 3;
  Bytes original(kPrefixes[(data[0] >> 2) & 3], 0);
  original.insert(original.end(), data + 1, data + size);

  RecoveryNotes notes = Sidecar(choice);
  StrictFile file(original);
  RepairResult result = RepairAvi(file, notes);
  switch (result.outcome) {
    case RepairOutcome::IoError:
    case RepairOutcome::InUse:
      std::abort();  // memory never fails; this would be a read past the end
    case RepairOutcome::Refused:
    case RepairOutcome::NothingToRepair:
    case RepairOutcome::AlreadyComplete:
      if (file.Bytes() != original || file.Flushes() != 0) std::abort();
      return 0;
    case RepairOutcome::Repaired:
      break;
  }
  CheckRepaired(original, file.Bytes(), result, choice == 3);
  Bytes repaired = file.Bytes();
  RepairResult again = RepairAvi(file, notes);
  if (again.outcome != RepairOutcome::AlreadyComplete || file.Bytes() != repaired) std::abort();
  return 0;
}
