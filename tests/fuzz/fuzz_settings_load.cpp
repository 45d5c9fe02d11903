// Feeds arbitrary bytes as settings.ini to a whole start and close of the main window, on
// the recording fakes. A damaged or hand-edited file must never crash or hang the program,
// the close must always leave a file that says "FormVersion=0", and once a run has saved
// everything, the next run must save the very same file: what a run saves is what the next
// run restores. (The first save may be partial: a faulty "FormVersion" is mended by a close
// that writes nothing else, so only the run after it saves everything.)
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../doubles/fake_pipeline.h"
#include "../doubles/fake_platform.h"
#include "app/form/form_main.h"
#include "settings/ini_document.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// Lists with entries, so stored list positions and the audio carriers have something to
// select in.
void FillMachine(zelvio::FakePipeline& pipeline) {
  pipeline.compressors = {"Microsoft Video 1", "Cinepak Codec by Radius"};
  pipeline.audioDevices = {"Microphone", "Line In"};
  pipeline.listings[0] = zelvio::AudioListing{{"PCM 44100 Hz", "PCM 22050 Hz"}, {"Master", "Mic"}, 1};
  pipeline.listings[1] = zelvio::AudioListing{{"PCM 8000 Hz"}, {"Line"}, 0};
}

// One whole run on a fresh machine that holds `file`; returns the file the run left.
std::string RunOnce(const std::string& file) {
  zelvio::FakePlatform platform;
  platform.PutFile(platform.SettingsPath(), file);
  zelvio::FakePipeline pipeline;
  FillMachine(pipeline);
  {
    zelvio::TFormMain form(platform.Services(), pipeline);
    form.FormCreate();
    form.Show();
    form.CloseQuery();
    form.Destroy();
  }
  return platform.FileContents(platform.SettingsPath());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::string first = RunOnce(input);
  Require(zelvio::IniDocument::Parse(first).ReadString("FormMain", "FormVersion") == std::string("0"));
  const std::string second = RunOnce(first);
  Require(RunOnce(second) == second);
  return 0;
}
