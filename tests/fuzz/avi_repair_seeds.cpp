// Writes the screen-codec seeds of fuzz_avi_repair: recordings as a crash leaves them, in the
// fuzz target's formats (ZMBV 16x8 and 8 kHz sound), so the fuzzer starts inside the ZMBV
// path and the OpenDML segments rather than having to spell them out. Each seed is the mode
// byte (screen codec, 64 KiB of zeros before the file), then the file from the movi list on.
//
//   avi_repair_seeds <folder>
#include <cstdio>
#include <fstream>
#include <string>

#include "../support/zmbv_packets.h"

namespace {

using namespace zelvio::avi;

constexpr uint8_t kScreenCodecAfterHeaderArea = 0x0B;

// `frames` as in RecordZmbv: 'K' key, 'i' unchanged, 'e' an empty chunk; a tenth of a
// second of sound after each. Returns the chunks' offsets through `chunks`.
Bytes Unfinished(const std::string& frames, uint64_t segmentLimit, std::vector<uint64_t>& chunks) {
  std::vector<StreamFormat> streams = {{StreamKind::Video, avitest::BitmapHeader(16, 8, 32, avitest::kZmbv), 333333},
                                       avitest::PcmAudio(8000, 16, 1)};
  avitest::MemorySink sink;
  AviWriter writer(sink, streams, {segmentLimit});
  avitest::ZmbvPackets packets(16, 8);
  Bytes sound(80, 0x11);
  for (size_t i = 0; i < frames.size(); ++i) {
    Bytes packet;
    if (frames[i] == 'K') packet = packets.Key(uint32_t(0x203040u * (i + 1)));
    if (frames[i] == 'i') packet = packets.Unchanged();
    chunks.push_back(writer.FileSize());
    writer.AppendChunk(0, packet.data(), packet.size(), frames[i] == 'K');
    chunks.push_back(writer.FileSize());
    writer.AppendChunk(1, sound.data(), sound.size(), true);
  }
  return sink.bytes;
}

void Save(const std::string& folder, const std::string& name, const Bytes& file, uint64_t cut) {
  std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::trunc);
  out.put(char(kScreenCodecAfterHeaderArea));
  out.write(reinterpret_cast<const char*>(file.data() + kHeaderReserve), std::streamsize(cut - kHeaderReserve));
  std::printf("%s: %llu bytes\n", name.c_str(), (unsigned long long)(cut - kHeaderReserve + 1));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: avi_repair_seeds <folder>\n");
    return 2;
  }
  const std::string folder = argv[1];
  const std::string segmented = "KiieiKiiieKiiiKieiiKiiiiKeiiKiii";
  std::vector<uint64_t> chunks;
  // The first segment ends after a kilobyte of chunks (its limit counts the header area).
  Bytes file = Unfinished(segmented, kHeaderReserve + 1024, chunks);
  // Torn in the middle of the last frame, in the second segment.
  Save(folder, "zmbv_segments_unfinished", file, chunks[chunks.size() - 2] + 12);

  // A page that never reached the disk over the last segment's first chunks.
  uint64_t lastRiff = file.size();
  for (uint64_t at = file.size() - 4; at > kHeaderReserve; at -= 2) {
    if (file[at] == 'A' && file[at + 1] == 'V' && file[at + 2] == 'I' && file[at + 3] == 'X') {
      lastRiff = at - 8;
      break;
    }
  }
  Bytes holed = file;
  std::fill(holed.begin() + long(lastRiff + 24), holed.begin() + long(lastRiff + 24 + 200), 0);
  Save(folder, "zmbv_segments_hole_unfinished", holed, chunks[chunks.size() - 2] + 12);

  std::vector<uint64_t> single;
  Bytes emptyFirst = Unfinished("eeKiieiKiie", kSegmentLimit, single);
  Save(folder, "zmbv_empty_first_unfinished", emptyFirst, single.back() + 30);
  return 0;
}
