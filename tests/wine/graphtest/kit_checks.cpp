#include "kit_checks.h"

#include <windows.h>
#include <dshow.h>
#include <amvideo.h>

#include <cstring>

#include "barcode_window.h"
#include "graph_builder.h"
#include "graph_parts.h"
#include "push_source_ids.h"
#include "standin_ids.h"

namespace graphtest {

namespace {

void FreeType(AM_MEDIA_TYPE* mt) {
  if (!mt) return;
  CoTaskMemFree(mt->pbFormat);
  if (mt->pUnk) mt->pUnk->Release();
  CoTaskMemFree(mt);
}

// The source offers RGB32, RGB24 and RGB555 of the overlay region, in that order, with
// image sizes whose rows are padded to whole DWORDs (the region's width is odd, so the
// 24- and 16-bit rows need it); it accepts its own type and refuses another size.
void CheckOfferedTypes(IBaseFilter* source, ztest::Report& report) {
  zelvio::kit::ComPtr<IPin> out = FirstPin(source, PINDIR_OUTPUT);
  zelvio::kit::ComPtr<IEnumMediaTypes> types;
  if (!out || FAILED(out->EnumMediaTypes(types.Put()))) {
    report.Check(false, "push source pin enumerates media types");
    return;
  }
  const GUID subtypes[] = {MEDIASUBTYPE_RGB32, MEDIASUBTYPE_RGB24, MEDIASUBTYPE_RGB555};
  const BarcodeLayout region;
  auto imageSize = [&](int bits) { return (region.width * bits + 31) / 32 * 4 * region.height; };
  const long sizes[] = {imageSize(32), imageSize(24), imageSize(16)};
  AM_MEDIA_TYPE* got[4] = {};
  ULONG fetched = 0;
  types->Next(4, got, &fetched);
  bool ok = fetched == 3;
  for (ULONG i = 0; ok && i < 3; ++i) {
    const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(got[i]->pbFormat);
    ok = got[i]->subtype == subtypes[i] && vih->bmiHeader.biSizeImage == static_cast<DWORD>(sizes[i]) &&
         vih->AvgTimePerFrame == 400000;
  }
  report.Check(ok, ztest::Format("push source offers RGB32, RGB24, RGB555 at %dx%d, 25 fps (%lu types)",
                                 region.width, region.height, fetched));
  if (fetched >= 2) {
    report.Check(out->QueryAccept(got[1]) == S_OK, "push source accepts its RGB24 type");
    auto* vih = reinterpret_cast<VIDEOINFOHEADER*>(got[1]->pbFormat);
    vih->bmiHeader.biWidth = 320;
    report.Check(out->QueryAccept(got[1]) == S_FALSE, "push source refuses a size it does not capture");
  }
  for (AM_MEDIA_TYPE* mt : got) FreeType(mt);

  types->Reset();
  report.Check(types->Skip(2) == S_OK && types->Skip(2) == S_FALSE,
               "media type enumerator Skip past the end is S_FALSE");
  AM_MEDIA_TYPE* none = nullptr;
  report.Check(types->Next(1, &none, nullptr) == S_FALSE && !none, "Next at the end fetches nothing");
}

// Each output that connects makes a new free one; a clone enumerates the same pins.
void CheckTeeGrowth(IBaseFilter* source, ztest::Report& report) {
  zelvio::kit::ComPtr<IGraphBuilder> graph;
  zelvio::kit::ComPtr<IBaseFilter> tee;
  zelvio::kit::ComPtr<IBaseFilter> codecA;
  zelvio::kit::ComPtr<IBaseFilter> codecB;
  CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.PutVoid());
  ztest::CreateFilter(CLSID_InfTee, tee);
  ztest::CreateFilter(standins::CLSID_TestCodecPlain, codecA);
  ztest::CreateFilter(standins::CLSID_TestCodecPlain, codecB);
  if (!graph || !tee || !codecA || !codecB) {
    report.Check(false, "filters for the tee check");
    return;
  }
  graph->AddFilter(source, L"src");
  graph->AddFilter(tee.Get(), L"tee");
  graph->AddFilter(codecA.Get(), L"a");
  graph->AddFilter(codecB.Get(), L"b");
  auto countPins = [&]() {
    zelvio::kit::ComPtr<IEnumPins> pins;
    tee->EnumPins(pins.Put());
    IPin* p[8] = {};
    ULONG n = 0;
    pins->Next(8, p, &n);
    for (ULONG i = 0; i < n; ++i) p[i]->Release();
    return n;
  };
  report.Check(countPins() == 2, "new tee has an input and one output");
  HRESULT hr = graph->ConnectDirect(FirstPin(source, PINDIR_OUTPUT).Get(),
                                    FirstPin(tee.Get(), PINDIR_INPUT).Get(), nullptr);
  report.Ok(hr, "source connects to the tee input");
  zelvio::kit::ComPtr<IPin> out1 = PinByName(tee.Get(), L"Output1");
  report.Ok(graph->ConnectDirect(out1.Get(), FirstPin(codecA.Get(), PINDIR_INPUT).Get(), nullptr),
            "tee Output1 connects");
  report.Check(countPins() == 3, "a connected output makes a new free one");
  zelvio::kit::ComPtr<IPin> out2 = PinByName(tee.Get(), L"Output2");
  report.Ok(graph->ConnectDirect(out2.Get(), FirstPin(codecB.Get(), PINDIR_INPUT).Get(), nullptr),
            "tee Output2 connects");
  report.Check(countPins() == 4, "and another");
  report.Check(out1->Connect(FirstPin(codecB.Get(), PINDIR_OUTPUT).Get(), nullptr) == VFW_E_ALREADY_CONNECTED,
               "a connected pin refuses a second connection");

  zelvio::kit::ComPtr<IEnumPins> pins;
  tee->EnumPins(pins.Put());
  pins->Skip(1);
  zelvio::kit::ComPtr<IEnumPins> clone;
  pins->Clone(clone.Put());
  IPin* a = nullptr;
  IPin* b = nullptr;
  pins->Next(1, &a, nullptr);
  clone->Next(1, &b, nullptr);
  report.Check(a && a == b, "a cloned pin enumerator continues at the same place");
  if (a) a->Release();
  if (b) b->Release();

  AM_MEDIA_TYPE mt = {};
  report.Check(SUCCEEDED(out2->ConnectionMediaType(&mt)) && mt.subtype == MEDIASUBTYPE_RGB32,
               "tee outputs carry the input's type");
  CoTaskMemFree(mt.pbFormat);
  graph->RemoveFilter(source);  // disconnects it for the recording graph
}

// The writer's pin is an IStream over the file: writes, seeks back, overwrites, reports size.
void CheckWriterStream(const std::wstring& path, ztest::Report& report) {
  zelvio::kit::ComPtr<IBaseFilter> writer;
  CoCreateInstance(standins::CLSID_FileWriter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                   writer.PutVoid());
  zelvio::kit::ComPtr<IFileSinkFilter> sink;
  if (writer) writer.QueryTo(IID_IFileSinkFilter, sink);
  if (!sink) {
    report.Check(false, "file writer with IFileSinkFilter");
    return;
  }
  sink->SetFileName(path.c_str(), nullptr);
  LPOLESTR name = nullptr;
  report.Check(SUCCEEDED(sink->GetCurFile(&name, nullptr)) && name && path == name,
               "GetCurFile returns the name set");
  CoTaskMemFree(name);
  zelvio::kit::ComPtr<IStream> stream;
  FirstPin(writer.Get(), PINDIR_INPUT).QueryTo(IID_IStream, stream);
  report.Check(static_cast<bool>(stream), "writer input pin offers IStream");
  if (!stream) return;
  writer->Pause();  // opens the file
  ULONG written = 0;
  stream->Write("ABCDEFGH", 8, &written);
  LARGE_INTEGER back;
  back.QuadPart = 2;
  ULARGE_INTEGER at = {};
  stream->Seek(back, STREAM_SEEK_SET, &at);
  stream->Write("xy", 2, &written);
  STATSTG stat = {};
  stream->Stat(&stat, STATFLAG_NONAME);
  writer->Stop();
  report.Check(at.QuadPart == 2 && stat.cbSize.QuadPart == 8, "Seek and Stat on the writer stream");
  // The file stays open after Stop (the mux still writes then); releasing the writer closes it.
  stream = zelvio::kit::ComPtr<IStream>();
  sink = zelvio::kit::ComPtr<IFileSinkFilter>();
  writer = zelvio::kit::ComPtr<IBaseFilter>();
  char content[16] = {};
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  DWORD got = 0;
  if (f != INVALID_HANDLE_VALUE) {
    ReadFile(f, content, sizeof(content), &got, nullptr);
    CloseHandle(f);
  }
  report.Check(got == 8 && std::memcmp(content, "ABxyEFGH", 8) == 0, "file holds the overwritten bytes");
  DeleteFileW(path.c_str());
}

}  // namespace

void CheckKit(const std::string& pushSourceModule, const std::wstring& scratchFile, ztest::Report& report) {
  zelvio::kit::ComPtr<IBaseFilter> source;
  if (FAILED(ztest::LoadFilterFromModule(pushSourceModule, CLSID_ZelvioPushSource, source.Put()))) {
    report.Check(false, "push source for the kit checks");
    return;
  }
  CheckOfferedTypes(source.Get(), report);
  CheckTeeGrowth(source.Get(), report);
  CheckWriterStream(scratchFile, report);
}

}  // namespace graphtest
