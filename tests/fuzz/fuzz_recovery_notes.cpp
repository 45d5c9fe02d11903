// Reads arbitrary text as recovery notes. Whatever it accepts must serialise to text
// that reads back the same, and formats it lets through must lay out a file that the
// tests' own reader can read back, so a hostile notes cannot upset a later repair.
#include <cstdlib>
#include <string>

#include "../support/avi_reader.h"
#include "../support/avi_samples.h"
#include "capture/recovery/recovery_notes_format.h"
#include "../support/avi_writer.h"

using namespace zelvio::avi;

namespace {

bool Same(const RecoveryNotes& a, const RecoveryNotes& b) {
  if (a.programVersion != b.programVersion || a.avgTimePerFrame != b.avgTimePerFrame) return false;
  if (a.inputs.size() != b.inputs.size()) return false;
  for (size_t i = 0; i < a.inputs.size(); ++i) {
    const auto &x = a.inputs[i], &y = b.inputs[i];
    if (!(x.majorType == y.majorType) || !(x.subType == y.subType) || !(x.formatType == y.formatType))
      return false;
    if (x.format != y.format) return false;
  }
  return true;
}

void LayOut(const std::vector<StreamFormat>& streams) {
  avitest::MemorySink sink;
  AviWriter writer(sink, streams, {200000});
  Bytes payload(100, 1);
  for (int i = 0; i < 3; ++i) {
    for (size_t s = 0; s < streams.size(); ++s) writer.AppendChunk(s, payload.data(), payload.size(), true);
  }
  writer.Finish();
  try {
    auto view = avitest::AviReader(avitest::MemoryRead(sink.bytes), sink.bytes.size()).Read();
    if (view.data.size() != 3 * streams.size() || view.streams.size() != streams.size()) std::abort();
  } catch (const std::exception&) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  auto notes = ParseRecoveryNotes(text);
  if (!notes) return 0;
  std::string again = RecoveryNotesText(*notes);
  auto reread = ParseRecoveryNotes(again);
  if (!reread || !Same(*reread, *notes) || RecoveryNotesText(*reread) != again) std::abort();
  std::vector<StreamFormat> streams;
  try {
    streams = NotesStreams(*notes);
  } catch (const AviError&) {
    return 0;
  }
  LayOut(streams);
  return 0;
}
