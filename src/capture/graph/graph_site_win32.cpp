#include "capture/graph/graph_site_win32.h"

namespace zelvio {

// {56A868FD-0AD4-11CE-B0A3-0020AF0BA770}
const IID kIID_IAMFilterGraphCallback = {
    0x56A868FD, 0x0AD4, 0x11CE, {0xB0, 0xA3, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

namespace {

class GraphSite final : public IAMGraphBuilderCallback, public IAMFilterGraphCallbackDecl {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IAMGraphBuilderCallback)) {
      *object = static_cast<IAMGraphBuilderCallback*>(this);
    } else if (IsEqualIID(iid, kIID_IAMFilterGraphCallback)) {
      *object = static_cast<IAMFilterGraphCallbackDecl*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE SelectedFilter(IMoniker*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE CreatedFilter(IBaseFilter*) override { return S_OK; }
  // Anything but S_OK lets the builder go on as if there were no site.
  HRESULT UnableToRender(IPin*) override { return S_FALSE; }

 private:
  LONG references_ = 1;
};

}  // namespace

ComPtr<IUnknown> CreateGraphSite() {
  return ComPtr<IUnknown>::Adopt(static_cast<IAMGraphBuilderCallback*>(new GraphSite));
}

}  // namespace zelvio
