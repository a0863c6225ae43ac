// Each factory is its own small heap object that holds a module lock while it lives, so that
// DllCanUnloadNow never lets the module go while a client still holds a factory.
#include "addin/com_server/class_factory_win.h"

#include <new>

#include "addin/com_server/tallyline_win.h"
#include "framework/com_try.h"
#include "framework/module_win.h"

namespace {

class TallylineFactory final : public IClassFactory {
 public:
  TallylineFactory() { LockModule(); }
  ~TallylineFactory() { UnlockModule(); }

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    RETURN_HR_IF(E_POINTER, ppv == nullptr);
    *ppv = nullptr;
    RETURN_HR_IF(E_NOINTERFACE, !IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory));
    *ppv = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return static_cast<ULONG>(refs);
  }

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    return CTallyline::Create(outer, riid, ppv);
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    if (lock) {
      LockServerModule();
    } else {
      UnlockServerModule();
    }
    return S_OK;
  }

 private:
  volatile LONG refs_ = 1;
};

}  // namespace

HRESULT CreateTallylineFactory(REFIID riid, void** ppv) {
  RETURN_HR_IF(E_POINTER, ppv == nullptr);
  *ppv = nullptr;
  return ComTry([&] {
    TallylineFactory* factory = new (std::nothrow) TallylineFactory();
    RETURN_HR_IF_NULL(E_OUTOFMEMORY, factory);
    const HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
  });
}
