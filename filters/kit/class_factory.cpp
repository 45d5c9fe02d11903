#include "kit/class_factory.h"

#include "kit/ref_count.h"

namespace zelvio::kit {

namespace {

class ClassFactory : public IClassFactory {
 public:
  explicit ClassFactory(CreateFunction create) : create_(create) {}

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return refs_.Add(); }
  STDMETHODIMP_(ULONG) Release() override {
    ULONG left = refs_.Drop();
    if (left == 0) delete this;
    return left;
  }

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return create_(iid, out);
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    if (lock) {
      ModuleAddRef();
    } else {
      ModuleRelease();
    }
    return S_OK;
  }

 private:
  virtual ~ClassFactory() = default;
  RefCount refs_;
  CreateFunction create_;
};

}  // namespace

HRESULT GetClassObjectFromTable(const FactoryEntry* table, size_t count, REFCLSID clsid, REFIID iid,
                                void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  for (size_t i = 0; i < count; ++i) {
    if (*table[i].clsid != clsid) continue;
    return CreateAndQuery<ClassFactory>(iid, out, table[i].create);
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CanUnloadModule() { return ModuleRefCount() == 0 ? S_OK : S_FALSE; }

}  // namespace zelvio::kit
