// The in-process server's exports as COM calls them: the class factory, aggregation, and the
// lock count behind DllCanUnloadNow.
#include <comcat.h>
#include <gtest/gtest.h>

#include "tallyline.h"
#include "wine_test_support.h"

namespace {

TEST(ServerExports, ClassObjectOnlyForTheClass) {
  ASSERT_NE(nullptr, Server().getClassObject);
  void* factory = reinterpret_cast<void*>(0xdeadbeef);
  EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, Server().getClassObject(IID_ITallyline, IID_IClassFactory, &factory));
  EXPECT_EQ(nullptr, factory);
  EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE,
            Server().getClassObject(CLSID_StdComponentCategoriesMgr, IID_IClassFactory, &factory));
  EXPECT_EQ(E_POINTER, Server().getClassObject(CLSID_CTallyline, IID_IClassFactory, nullptr));
  EXPECT_EQ(E_NOINTERFACE, Server().getClassObject(CLSID_CTallyline, IID_IDispatch, &factory));
  EXPECT_EQ(S_OK, Server().canUnloadNow());
}

TEST(ServerExports, EachRequestMakesANewObject) {
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(S_OK, Server().getClassObject(CLSID_CTallyline, IID_IClassFactory, &factory));
  ComPtr<IDispatch> first, second;
  ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IDispatch, &first));
  ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IDispatch, &second));
  EXPECT_NE(first.Get(), second.Get());
  void* none = reinterpret_cast<void*>(0xdeadbeef);
  EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IClassFactory, &none));
  EXPECT_EQ(nullptr, none);
  EXPECT_EQ(E_POINTER, factory->CreateInstance(nullptr, IID_IDispatch, nullptr));
}

TEST(ServerExports, ModuleStaysWhileAnythingLives) {
  ASSERT_EQ(S_OK, Server().canUnloadNow());
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(S_OK, Server().getClassObject(CLSID_CTallyline, IID_IClassFactory, &factory));
  EXPECT_EQ(S_FALSE, Server().canUnloadNow()) << "a held factory";
  ComPtr<IDispatch> object;
  ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IDispatch, &object));
  factory.Reset();
  EXPECT_EQ(S_FALSE, Server().canUnloadNow()) << "a live object";
  ComPtr<IProvideClassInfo> another;
  ASSERT_HRESULT_SUCCEEDED(object.As(&another));
  object.Reset();
  EXPECT_EQ(S_FALSE, Server().canUnloadNow()) << "a second interface of the same object";
  another.Reset();
  EXPECT_EQ(S_OK, Server().canUnloadNow());

  ASSERT_EQ(S_OK, Server().getClassObject(CLSID_CTallyline, IID_IClassFactory, &factory));
  EXPECT_EQ(S_OK, factory->LockServer(TRUE));
  factory.Reset();
  EXPECT_EQ(S_FALSE, Server().canUnloadNow()) << "LockServer(TRUE)";
  ASSERT_EQ(S_OK, Server().getClassObject(CLSID_CTallyline, IID_IClassFactory, &factory));
  EXPECT_EQ(S_OK, factory->LockServer(FALSE));
  factory.Reset();
  EXPECT_EQ(S_OK, Server().canUnloadNow());

  // An unlock without a lock changes nothing: the module can still go, and stays for a lock.
  ASSERT_EQ(S_OK, Server().getClassObject(CLSID_CTallyline, IID_IClassFactory, &factory));
  EXPECT_EQ(S_OK, factory->LockServer(FALSE));
  EXPECT_EQ(S_OK, factory->LockServer(FALSE));
  factory.Reset();
  EXPECT_EQ(S_OK, Server().canUnloadNow()) << "unlocked below zero";
  ASSERT_EQ(S_OK, Server().getClassObject(CLSID_CTallyline, IID_IClassFactory, &factory));
  EXPECT_EQ(S_OK, factory->LockServer(TRUE));
  factory.Reset();
  EXPECT_EQ(S_FALSE, Server().canUnloadNow()) << "a lock after unmatched unlocks";
  ASSERT_EQ(S_OK, Server().getClassObject(CLSID_CTallyline, IID_IClassFactory, &factory));
  EXPECT_EQ(S_OK, factory->LockServer(FALSE));
  factory.Reset();
  EXPECT_EQ(S_OK, Server().canUnloadNow());
}

// An outer object that counts the references its aggregated inner object hands it.
class OuterUnknown : public IUnknown {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (IsEqualIID(riid, IID_IUnknown)) {
      *ppv = this;
      AddRef();
      return S_OK;
    }
    if (inner != nullptr) return inner->QueryInterface(riid, ppv);
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }
  ULONG refs = 1;
  IUnknown* inner = nullptr;
};

TEST(ServerExports, AggregationDelegatesToTheOuterObject) {
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(S_OK, Server().getClassObject(CLSID_CTallyline, IID_IClassFactory, &factory));
  OuterUnknown outer;
  void* refused = reinterpret_cast<void*>(0xdeadbeef);
  EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(&outer, IID_IDispatch, &refused));
  EXPECT_EQ(nullptr, refused);

  IUnknown* inner = nullptr;
  ASSERT_EQ(S_OK, factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&inner)));
  outer.inner = inner;
  ITallyline* tallyline = nullptr;
  ASSERT_EQ(S_OK, inner->QueryInterface(IID_ITallyline, reinterpret_cast<void**>(&tallyline)));
  EXPECT_EQ(2u, outer.refs) << "the interface's reference belongs to the outer object";
  IUnknown* identity = nullptr;
  ASSERT_EQ(S_OK, tallyline->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)));
  EXPECT_EQ(static_cast<IUnknown*>(&outer), identity) << "the aggregate has the outer identity";
  identity->Release();
  BSTR classId = nullptr;
  EXPECT_EQ(S_OK, tallyline->get_ClassID(&classId));
  SysFreeString(classId);
  tallyline->Release();
  EXPECT_EQ(1u, outer.refs);
  factory.Reset();
  EXPECT_EQ(S_FALSE, Server().canUnloadNow());
  EXPECT_EQ(0u, inner->Release());
  EXPECT_EQ(S_OK, Server().canUnloadNow());
}

}  // namespace
