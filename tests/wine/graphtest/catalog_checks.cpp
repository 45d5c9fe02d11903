#include "catalog_checks.h"

#include <windows.h>
#include <dshow.h>
#include <mmreg.h>

#include <string>
#include <vector>

#include "graph_builder.h"
#include "kit/com_ptr.h"

namespace graphtest {

namespace {

struct Device {
  std::wstring name;
  zelvio::kit::ComPtr<IMoniker> moniker;
};

std::vector<Device> ListCategory(const CLSID& category) {
  std::vector<Device> devices;
  zelvio::kit::ComPtr<ICreateDevEnum> devEnum;
  if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                              devEnum.PutVoid()))) {
    return devices;
  }
  zelvio::kit::ComPtr<IEnumMoniker> monikers;
  if (devEnum->CreateClassEnumerator(category, monikers.Put(), 0) != S_OK) return devices;
  IMoniker* m = nullptr;
  while (monikers->Next(1, &m, nullptr) == S_OK) {
    Device d;
    d.moniker = zelvio::kit::ComPtr<IMoniker>::Adopt(m);
    zelvio::kit::ComPtr<IPropertyBag> bag;
    if (SUCCEEDED(m->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.PutVoid()))) {
      VARIANT v;
      VariantInit(&v);
      if (SUCCEEDED(bag->Read(L"FriendlyName", &v, nullptr)) && v.vt == VT_BSTR) d.name = v.bstrVal;
      VariantClear(&v);
    }
    devices.push_back(d);
  }
  return devices;
}

zelvio::kit::ComPtr<IBaseFilter> BindByName(const std::vector<Device>& devices, const wchar_t* name) {
  zelvio::kit::ComPtr<IBaseFilter> filter;
  for (const Device& d : devices) {
    if (d.name != name) continue;
    d.moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, filter.PutVoid());
    break;
  }
  return filter;
}

// Closes the codec's settings box from another thread, the way a user would.
DWORD WINAPI DismissSettings(void*) {
  for (int i = 0; i < 100; ++i) {
    HWND box = FindWindowA(nullptr, "Zelvio Test Codec Settings");
    if (box) {
      PostMessageA(box, WM_COMMAND, IDOK, 0);
      return 1;
    }
    Sleep(50);
  }
  return 0;
}

void CheckCodecs(ztest::Report& report) {
  std::vector<Device> codecs = ListCategory(CLSID_VideoCompressorCategory);
  zelvio::kit::ComPtr<IBaseFilter> dialog = BindByName(codecs, L"Zelvio Test Codec (dialog)");
  zelvio::kit::ComPtr<IBaseFilter> plain = BindByName(codecs, L"Zelvio Test Codec (plain)");
  report.Check(static_cast<bool>(dialog), "codec category lists and binds \"Zelvio Test Codec (dialog)\"");
  report.Check(static_cast<bool>(plain), "codec category lists and binds \"Zelvio Test Codec (plain)\"");
  zelvio::kit::ComPtr<IAMVfwCompressDialogs> dialogs;
  if (plain) {
    HRESULT hr = plain.QueryTo(IID_IAMVfwCompressDialogs, dialogs);
    report.Check(FAILED(hr), "plain codec has no IAMVfwCompressDialogs");
  }
  if (!dialog) return;
  report.Ok(dialog.QueryTo(IID_IAMVfwCompressDialogs, dialogs), "dialog codec has IAMVfwCompressDialogs");
  if (!dialogs) return;
  report.Ok(dialogs->ShowDialog(VfwCompressDialog_QueryConfig, nullptr), "ShowDialog(QueryConfig)");
  HANDLE closer = CreateThread(nullptr, 0, DismissSettings, nullptr, 0, nullptr);
  report.Ok(dialogs->ShowDialog(VfwCompressDialog_Config, nullptr), "ShowDialog(Config) returns once closed");
  DWORD found = 0;
  WaitForSingleObject(closer, 10000);
  GetExitCodeThread(closer, &found);
  CloseHandle(closer);
  report.Check(found == 1, "ShowDialog(Config) showed \"Zelvio Test Codec Settings\"");
}

bool HasFormat(IPin* pin, int rate, int channels, int bits) {
  zelvio::kit::ComPtr<IEnumMediaTypes> types;
  if (FAILED(pin->EnumMediaTypes(types.Put()))) return false;
  AM_MEDIA_TYPE* mt = nullptr;
  bool found = false;
  while (types->Next(1, &mt, nullptr) == S_OK) {
    if (mt->formattype == FORMAT_WaveFormatEx && mt->cbFormat >= sizeof(WAVEFORMATEX)) {
      const auto* wfx = reinterpret_cast<const WAVEFORMATEX*>(mt->pbFormat);
      if (static_cast<int>(wfx->nSamplesPerSec) == rate && wfx->nChannels == channels &&
          wfx->wBitsPerSample == bits) {
        found = true;
      }
    }
    CoTaskMemFree(mt->pbFormat);
    if (mt->pUnk) mt->pUnk->Release();
    CoTaskMemFree(mt);
  }
  return found;
}

bool LineEnabled(IBaseFilter* filter, const wchar_t* name, BOOL* enabled) {
  zelvio::kit::ComPtr<IAMAudioInputMixer> mixer;
  PinByName(filter, name).QueryTo(IID_IAMAudioInputMixer, mixer);
  return mixer && SUCCEEDED(mixer->get_Enable(enabled));
}

void CheckAudio(ztest::Report& report) {
  std::vector<Device> devices = ListCategory(CLSID_AudioInputDeviceCategory);
  zelvio::kit::ComPtr<IBaseFilter> audio = BindByName(devices, L"Zelvio Test Audio");
  zelvio::kit::ComPtr<IBaseFilter> noMixer = BindByName(devices, L"Zelvio Test Audio (no mixer)");
  report.Check(static_cast<bool>(audio), "audio category lists and binds \"Zelvio Test Audio\"");
  report.Check(static_cast<bool>(noMixer), "audio category lists and binds \"Zelvio Test Audio (no mixer)\"");
  if (audio) {
    zelvio::kit::ComPtr<IPin> out = FirstPin(audio.Get(), PINDIR_OUTPUT);
    report.Check(out && HasFormat(out.Get(), 44100, 2, 16) && HasFormat(out.Get(), 22050, 1, 16) &&
                     HasFormat(out.Get(), 48000, 2, 16),
                 "audio output enumerates 44100/16/2, 22050/16/1 and 48000/16/2 PCM");
    BOOL lineIn = FALSE;
    BOOL mic = TRUE;
    report.Check(LineEnabled(audio.Get(), L"Line In", &lineIn) && lineIn, "\"Line In\" enabled by default");
    report.Check(LineEnabled(audio.Get(), L"Microphone", &mic) && !mic, "\"Microphone\" disabled by default");
  }
  if (noMixer) {
    zelvio::kit::ComPtr<IPin> in = FirstPin(noMixer.Get(), PINDIR_INPUT);
    zelvio::kit::ComPtr<IAMAudioInputMixer> mixer;
    report.Check(in && FAILED(in.QueryTo(IID_IAMAudioInputMixer, mixer)),
                 "second device's input pin lacks IAMAudioInputMixer");
  }
}

}  // namespace

void CheckCatalogs(ztest::Report& report) {
  CheckCodecs(report);
  CheckAudio(report);
}

}  // namespace graphtest
