// Module entry points of ScreenCodec.ax.
#include <windows.h>

#include "kit/class_factory.h"
#include "screen_codec_filter.h"
#include "screen_codec_ids.h"

namespace {

const zelvio::kit::FactoryEntry kFactories[] = {
    {&CLSID_ZelvioScreenCodec, &zelvio::screencodec::ScreenCodecFilter::Create},
};

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
  return zelvio::kit::GetClassObjectFromTable(kFactories, sizeof(kFactories) / sizeof(kFactories[0]), clsid,
                                              iid, out);
}

STDAPI DllCanUnloadNow() { return zelvio::kit::CanUnloadModule(); }
