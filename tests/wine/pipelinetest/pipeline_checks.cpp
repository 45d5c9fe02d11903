#include "pipeline_checks.h"

#include <dshow.h>

#include <atomic>
#include <cstdio>
#include <vector>

#include "capture/catalog/device_moniker.h"
#include "capture/graph/filter_graph_win32.h"
#include "capture/graph/graph_result_win32.h"
#include "capture/catalog/moniker_win32.h"
#include "capture/catalog/sys_dev_enum_win32.h"
#include "common/errors.h"

namespace pipelinetest {

using zelvio::AudioListing;
using zelvio::CaptureOptions;
using zelvio::CapturePipeline;
using zelvio::ComPtr;

namespace {

constexpr GUID kAviMux = {0xE2510970, 0xF137, 0x11CE, {0x8B, 0x67, 0x00, 0xAA, 0x00, 0xA3, 0xF1, 0xA6}};
constexpr GUID kFileWriter = {0x8596E5F0, 0x0DA5, 0x11D0, {0xBD, 0x21, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
constexpr GUID kInfinitePinTee = {
    0xF8388A40, 0xD5BB, 0x11D0, {0xBE, 0x5A, 0x00, 0x80, 0xC7, 0x06, 0x56, 0x8E}};
constexpr GUID kNullRenderer = {0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};

std::string Join(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : " | ") + item;
  return text;
}

HRESULT LoadWithOle(const std::vector<uint8_t>& stored) {
  ComPtr<IStream> stream;
  HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, stream.Put());
  if (FAILED(hr)) return hr;
  stream->Write(stored.data(), static_cast<ULONG>(stored.size()), nullptr);
  LARGE_INTEGER start = {};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  ComPtr<IMoniker> moniker;
  return OleLoadFromStream(stream.Get(), IID_IMoniker, moniker.PutVoid());
}

HRESULT ParseName(const std::u16string& name) {
  ComPtr<IBindCtx> context;
  CreateBindCtx(0, context.Put());
  std::wstring wide(name.begin(), name.end());
  ULONG eaten = 0;
  ComPtr<IMoniker> moniker;
  return MkParseDisplayName(context.Get(), wide.c_str(), &eaten, moniker.Put());
}

HRESULT SaveWithOle(IMoniker* moniker) {
  ComPtr<IStream> stream;
  HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, stream.Put());
  if (FAILED(hr)) return hr;
  return OleSaveToStream(moniker, stream.Get());
}

AudioListing Listing(CapturePipeline& pipeline, int device, std::string& error) {
  AudioListing listing;
  try {
    pipeline.ListAudioLinesAndFormats(device, listing);
  } catch (const std::exception& e) {
    error = e.what();
  }
  return listing;
}

// Display names of the running object table's entries that name this process's graphs.
std::vector<std::string> GraphsInRunningObjectTable() {
  std::vector<std::string> names;
  ComPtr<IRunningObjectTable> table;
  ComPtr<IEnumMoniker> entries;
  ComPtr<IBindCtx> context;
  if (FAILED(GetRunningObjectTable(0, table.Put())) || FAILED(table->EnumRunning(entries.Put())))
    return names;
  CreateBindCtx(0, context.Put());
  char pid[32];
  std::snprintf(pid, sizeof pid, " pid %lx", static_cast<unsigned long>(GetCurrentProcessId()));
  ComPtr<IMoniker> moniker;
  while (entries->Next(1, moniker.Put(), nullptr) == S_OK) {
    LPOLESTR wide = nullptr;
    if (FAILED(moniker->GetDisplayName(context.Get(), nullptr, &wide)) || !wide) continue;
    std::string name;
    for (const wchar_t* c = wide; *c; ++c) name.push_back(static_cast<char>(*c));
    CoTaskMemFree(wide);
    if (name.find("FilterGraph ") != std::string::npos && name.find(pid) != std::string::npos)
      names.push_back(name);
  }
  return names;
}

std::string BuildError(CapturePipeline& pipeline, const CaptureOptions& options) {
  try {
    pipeline.BuildCaptureGraph(options);
  } catch (const std::exception& e) {
    return e.what();
  }
  return {};
}

}  // namespace

void CheckMonikerBinding(ztest::Report& check) {
  std::vector<uint8_t> stored = zelvio::FixedFilterMoniker(kAviMux);
  check.Check(stored.size() == 198, "stored AVI Mux moniker is 198 bytes");
  std::printf("# measure: OleLoadFromStream of the stored device moniker: 0x%08lX\n",
              static_cast<unsigned long>(LoadWithOle(stored)));
  std::printf("# measure: MkParseDisplayName of its display name: 0x%08lX\n",
              static_cast<unsigned long>(ParseName(zelvio::FilterEntryDisplayName(zelvio::ToGuid(kAviMux)))));
  for (const GUID& filterClass : {kAviMux, kFileWriter, kInfinitePinTee, kNullRenderer}) {
    ComPtr<IBaseFilter> filter = zelvio::BindStoredFilter(zelvio::FixedFilterMoniker(filterClass));
    check.Check(static_cast<bool>(filter),
                "stored moniker binds " + zelvio::GuidText(zelvio::ToGuid(filterClass)));
  }
  check.Check(!zelvio::BindStoredFilter({}), "empty BaseFilter binds nothing");

  zelvio::TSysDevEnum devices(CLSID_AudioInputDeviceCategory);
  ComPtr<IMoniker> device = devices.Moniker(0);
  if (!device) return;
  std::printf("# measure: OleSaveToStream of an audio device moniker: 0x%08lX\n",
              static_cast<unsigned long>(SaveWithOle(device.Get())));
  std::vector<uint8_t> saved = zelvio::StoreMoniker(device.Get());
  check.Check(static_cast<bool>(zelvio::BindStoredFilter(saved)), "stored audio device moniker binds again");
}

void CheckRunningObjectTable(ztest::Report& check) {
  zelvio::TFilterGraph inspected(true, nullptr);
  zelvio::TFilterGraph plain(false, nullptr);
  plain.SetActive(true);
  check.Check(GraphsInRunningObjectTable().empty(), "a graph without GraphEdit is not registered");
  inspected.SetActive(true);
  std::vector<std::string> names = GraphsInRunningObjectTable();
  check.Check(names.size() == 1, "an active GraphEdit graph is registered once");
  if (!names.empty()) std::printf("# measure: running object table entry \"%s\"\n", names[0].c_str());
  inspected.SetActive(false);
  check.Check(GraphsInRunningObjectTable().empty(), "deactivating revokes the entry");
}

void CheckErrorText(ztest::Report& check) {
  try {
    zelvio::CheckGraphResult(S_FALSE);
    check.Check(true, "S_FALSE passes the checked-call rule");
    zelvio::CheckGraphResult(VFW_E_NOT_STOPPED);
    check.Check(false, "VFW_E_NOT_STOPPED raises");
  } catch (const zelvio::EDirectShowException& e) {
    std::string text = e.what();
    std::printf("# measure: error text \"%s\"\n", text.c_str());
    check.Check(e.Result() == VFW_E_NOT_STOPPED, "the exception carries the code");
    check.Check(text.size() > 13 && text.compare(text.size() - 13, 13, " ($80040224).") == 0,
                "text ends with \" ($80040224).\"");
    check.Check(text.find('\n') == std::string::npos, "no line break in the text");
  }
}

int CheckCompressorList(ztest::Report& check, CapturePipeline& pipeline) {
  zelvio::TSysDevEnum category(CLSID_VideoCompressorCategory);
  for (int i = 0; i < category.Count(); ++i) {
    ComPtr<IBaseFilter> filter = category.Filter(i);
    void* dialogs = nullptr;
    HRESULT hr = filter ? filter->QueryInterface(IID_IAMVfwCompressDialogs, &dialogs) : E_FAIL;
    if (dialogs) static_cast<IUnknown*>(dialogs)->Release();
    std::printf("# measure: compressor %d \"%s\" %s, dialog query 0x%08lX\n", i,
                category.FriendlyName(i).c_str(), filter ? "created" : "not created",
                static_cast<unsigned long>(hr));
  }
  std::vector<std::string> names = pipeline.EnumerateVideoCompressors();
  std::printf("# compressors: %s\n", Join(names).c_str());
  int dialog = -1;
  bool plain = false;
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == "Zelvio Test Codec (dialog)") dialog = static_cast<int>(i);
    if (names[i] == "Zelvio Test Codec (plain)") plain = true;
  }
  check.Check(dialog >= 0, "the compressor with a dialog is listed");
  check.Check(!plain, "the compressor without a dialog is not listed");
  // Our own screen codec comes from the program's Filters folder, after the system's.
  check.Check(names.size() == 2 && dialog == 0 && names[1] == "Zelvio Screen Codec (lossless)",
              "no other compressor of the system qualifies under Wine, and the screen codec is listed last");
  return dialog;
}

void CheckDeviceList(ztest::Report& check, CapturePipeline& pipeline, int& withMixer, int& withoutMixer) {
  std::vector<std::string> names = pipeline.EnumerateAudioDevices();
  std::printf("# audio devices: %s\n", Join(names).c_str());
  withMixer = withoutMixer = -1;
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == "Zelvio Test Audio") withMixer = static_cast<int>(i);
    if (names[i] == "Zelvio Test Audio (no mixer)") withoutMixer = static_cast<int>(i);
  }
  check.Check(withMixer >= 0, "\"Zelvio Test Audio\" is listed");
  check.Check(withoutMixer >= 0, "\"Zelvio Test Audio (no mixer)\" is listed");
}

void CheckLinesAndFormats(ztest::Report& check, CapturePipeline& pipeline, int device) {
  std::string error;
  AudioListing listing = Listing(pipeline, device, error);
  check.Equal("discovery raises nothing", "", error);
  const std::vector<std::string> formats = {
      "Major Type: Audio - Sub Type: PCM Format: WaveFormatEx: PCM, 44100 Hertz, 16 Bits, 2 Channels",
      "Major Type: Audio - Sub Type: PCM Format: WaveFormatEx: PCM, 22050 Hertz, 16 Bits, 1 Channels",
      "Major Type: Audio - Sub Type: PCM Format: WaveFormatEx: PCM, 48000 Hertz, 16 Bits, 2 Channels",
      "Major Type: Audio - Sub Type: PCM Format: WaveFormatEx: PCM, 44100 Hertz, 16 Bits, 1 Channels",
      "Major Type: Audio - Sub Type: PCM Format: WaveFormatEx: PCM, 11025 Hertz, 16 Bits, 1 Channels",
  };
  check.Check(listing.formats.size() == formats.size(), "five capture formats");
  for (size_t i = 0; i < formats.size() && i < listing.formats.size(); ++i) {
    check.Equal("format " + std::to_string(i), formats[i], listing.formats[i]);
  }
  check.Equal("input lines in pin order", "Line In | Microphone", Join(listing.lines));
  check.Check(listing.enabledLine == 0,
              "the enabled line is \"Line In\" (" + std::to_string(listing.enabledLine) + ")");
}

void CheckMissingMixer(ztest::Report& check, CapturePipeline& pipeline, int device) {
  std::string error;
  AudioListing listing = Listing(pipeline, device, error);
  check.Equal("a line without a mixer stops the discovery", "Interface not supported", error);
  check.Equal("the failing line's name is listed", "Line In", Join(listing.lines));
  check.Check(listing.formats.size() == 5, "the formats found before stay listed");
  check.Check(listing.enabledLine == -1, "no line is selected");
}

void CheckBuildWithoutCompressor(ztest::Report& check, CapturePipeline& pipeline, const std::string& avi) {
  CaptureOptions options;
  options.compressor = -1;
  options.screencastPath = avi;
  check.Equal("a build without a compressor raises nothing", "", BuildError(pipeline, options));
  check.Check(pipeline.GraphActive(), "the graph is active after the first build");
  options.compressor = 57;
  check.Equal("a position past the list raises nothing", "", BuildError(pipeline, options));
  options.audioEnabled = true;
  options.audioDevice = 999;
  check.Equal("audio without a device", "Interface not supported", BuildError(pipeline, options));
}

void CheckMissingModule(ztest::Report& check, CapturePipeline& pipeline, const std::string& avi) {
  char folder[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, folder);
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  SetCurrentDirectoryA(temp);
  CaptureOptions options;
  options.screencastPath = avi;
  check.Equal("a missing module", "Error: Failed to open file: Filters/PushSource.ax",
              BuildError(pipeline, options));
  SetCurrentDirectoryA(folder);
}

// The test codec's dialog is a message box with a known caption; a helper thread closes it.
// (The toolchain's win32 thread model has no std::thread, hence CreateThread.)
struct DialogCloser {
  std::atomic<bool> seen{false};
  std::atomic<bool> done{false};

  static DWORD WINAPI Run(void* self) {
    auto* closer = static_cast<DialogCloser*>(self);
    while (!closer->done) {
      HWND box = FindWindowA("#32770", "Zelvio Test Codec Settings");
      if (box) {
        closer->seen = true;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      }
      Sleep(50);
    }
    return 0;
  }
};

void CheckCompressorDialog(ztest::Report& check, CapturePipeline& pipeline) {
  DialogCloser closer;
  HANDLE thread = CreateThread(nullptr, 0, &DialogCloser::Run, &closer, 0, nullptr);
  pipeline.ShowCompressorDialog();
  closer.done = true;
  if (thread) {
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  }
  check.Check(closer.seen, "the compressor's configuration dialog was shown");
}

// Run fails when the writer cannot create its file; Wine then leaves the filters paused
// while the graph reports stopped, and the next build must still empty and rebuild it.
void CheckFailedRunRecovers(ztest::Report& check, CapturePipeline& pipeline, const CaptureOptions& options) {
  CaptureOptions broken = options;
  broken.screencastPath = "Z:\\no\\such\\folder\\Screencast.avi";
  check.Equal("a build into a missing folder raises nothing", "", BuildError(pipeline, broken));
  std::string runError;
  try {
    pipeline.RunGraph();
  } catch (const zelvio::EDirectShowException& e) {
    runError = e.what();
  }
  std::printf("# measure: Run into a missing folder: \"%s\"\n", runError.c_str());
  check.Check(!runError.empty(), "Run into a missing folder raises the platform's error");
  check.Equal("the next build after a failed Run raises nothing", "", BuildError(pipeline, options));
}

void RecordWithAudio(ztest::Report& check, CapturePipeline& pipeline, const CaptureOptions& options,
                     unsigned milliseconds) {
  check.Equal("build with compressor and audio", "", BuildError(pipeline, options));
  try {
    pipeline.RunGraph();
    PumpMessages(milliseconds);
    int64_t position = pipeline.CurrentPosition();
    std::printf("# measure: position after %u ms: %lld\n", milliseconds, static_cast<long long>(position));
    check.Check(position > 10000LL * milliseconds / 2, "the position advances while running");
    pipeline.PauseGraph();
    PumpMessages(300);
    int64_t paused = pipeline.CurrentPosition();
    PumpMessages(300);
    check.Check(pipeline.CurrentPosition() - paused < 10000LL * 50, "the position holds while paused");
    pipeline.StopGraph();
  } catch (const std::exception& e) {
    check.Check(false, std::string("recording raised: ") + e.what());
  }
  // Record, Stop, Record: the used graph is emptied and built again for the next file.
  CaptureOptions next = options;
  next.screencastPath += ".next.avi";
  check.Equal("a rebuild after the recording raises nothing", "", BuildError(pipeline, next));
}

}  // namespace pipelinetest
