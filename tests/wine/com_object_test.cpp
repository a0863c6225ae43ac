// The add-in object as the host meets it: creation, the interface set, the dispatch table and
// the identity and picture methods, all through IDispatch::Invoke.
#include <gtest/gtest.h>
#include <ocidl.h>
#include <olectl.h>

#include "tallyline.h"
#include "host/host_com_values_win.h"
#include "wine_test_support.h"

namespace {

class AddinTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_HRESULT_SUCCEEDED(CreateAddin(L"Varnkit_TL.Tallyline", &addin)); }
  void TearDown() override {
    addin.Reset();
    EXPECT_EQ(S_OK, Server().canUnloadNow()) << "an object or factory outlived its last release";
  }
  ComPtr<IDispatch> addin;
};

TEST(Creation, BothProgIdsCreateTheClass) {
  for (const wchar_t* progId : {L"Varnkit_TL.Tallyline", L"Varnkit_TL.Tallyline.1"}) {
    CLSID clsid = {};
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(progId, &clsid));
    EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_CTallyline));
    ComPtr<IDispatch> addin;
    EXPECT_HRESULT_SUCCEEDED(CreateAddin(progId, &addin));
    EXPECT_NE(nullptr, addin.Get());
  }
}

TEST_F(AddinTest, AnswersExactlyItsFiveInterfaces) {
  const IID answered[] = {IID_IUnknown, IID_IDispatch, IID_ITallyline, IID_IProvideClassInfo, IID_ISupportErrorInfo};
  for (const IID& iid : answered) {
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(S_OK, addin->QueryInterface(iid, &unknown));
    EXPECT_NE(nullptr, unknown.Get());
  }
  const IID refused[] = {IID_IClassFactory,
                         IID_IPersist,
                         IID_IPersistStream,
                         IID_IConnectionPointContainer,
                         IID_IProvideClassInfo2,
                         IID_IMarshal,
                         IID_IPicture,
                         IID_IEnumVARIANT,
                         IID_IStream};
  for (const IID& iid : refused) {
    void* unknown = reinterpret_cast<void*>(0xdeadbeef);
    EXPECT_EQ(E_NOINTERFACE, addin->QueryInterface(iid, &unknown));
    EXPECT_EQ(nullptr, unknown);
  }
  EXPECT_EQ(E_POINTER, addin->QueryInterface(IID_IUnknown, nullptr));
}

TEST_F(AddinTest, AllInterfacesShareOneIdentityAndCount) {
  ComPtr<IUnknown> fromDispatch, fromClassInfo;
  ComPtr<IProvideClassInfo> classInfo;
  ASSERT_HRESULT_SUCCEEDED(addin.As(&classInfo));
  ASSERT_HRESULT_SUCCEEDED(addin.As(&fromDispatch));
  ASSERT_HRESULT_SUCCEEDED(classInfo.As(&fromClassInfo));
  EXPECT_EQ(fromDispatch.Get(), fromClassInfo.Get());
}

TEST_F(AddinTest, DispatchIdsFollowTheMethodTable) {
  const struct {
    const wchar_t* name;
    DISPID id;
  } table[] = {{L"ClassID", 1},
               {L"Description", 2},
               {L"GetToolInfo", 3},
               {L"CopyBitmap", 4},
               {L"GetPicture", 5},
               {L"Run", 6},
               {L"UpdateToolStatus", 7},
               {L"Initialize", 8},
               {L"Terminate", 9},
               {L"GetLMPicture", 10},
               {L"DoLMCommand", 11},
               {L"BeforeExit", 12},
               {L"DrawingNew", 13},
               {L"DrawingOpen", 14},
               {L"DrawingActivate", 15},
               {L"DrawingDeactivate", 16},
               {L"DrawingBeforeClose", 17},
               {L"DrawingBeforeSave", 18},
               {L"MouseDown", 22},
               {L"SelectionChange", 27},
               {L"RunTool", 30}};
  for (const auto& entry : table) {
    LPOLESTR name = const_cast<LPOLESTR>(entry.name);
    DISPID id = 0xdeadbeef;
    EXPECT_EQ(S_OK, addin->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id)) << entry.name;
    EXPECT_EQ(entry.id, id) << entry.name;
  }
  LPOLESTR unknownName = const_cast<LPOLESTR>(L"Renumber");
  DISPID id = 0;
  EXPECT_EQ(DISP_E_UNKNOWNNAME, addin->GetIDsOfNames(IID_NULL, &unknownName, 1, LOCALE_USER_DEFAULT, &id));
}

TEST_F(AddinTest, TypeInformationDescribesTheDualInterface) {
  UINT count = 0;
  EXPECT_EQ(S_OK, addin->GetTypeInfoCount(&count));
  EXPECT_EQ(1u, count);
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(S_OK, addin->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info));
  TYPEATTR* attributes = nullptr;
  ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attributes));
  EXPECT_TRUE(IsEqualIID(attributes->guid, IID_ITallyline));
  EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FDUAL);
  EXPECT_EQ(TKIND_DISPATCH, attributes->typekind);
  info->ReleaseTypeAttr(attributes);
  // The vtable half carries the automation flag and the 21 methods after IDispatch's seven.
  HREFTYPE vtableHalf = 0;
  ASSERT_HRESULT_SUCCEEDED(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableHalf));
  ComPtr<ITypeInfo> vtableInfo;
  ASSERT_HRESULT_SUCCEEDED(info->GetRefTypeInfo(vtableHalf, &vtableInfo));
  ASSERT_HRESULT_SUCCEEDED(vtableInfo->GetTypeAttr(&attributes));
  EXPECT_EQ(TKIND_INTERFACE, attributes->typekind);
  EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
  EXPECT_EQ(21, attributes->cFuncs);
  vtableInfo->ReleaseTypeAttr(attributes);
  FUNCDESC* last = nullptr;
  ASSERT_HRESULT_SUCCEEDED(vtableInfo->GetFuncDesc(20, &last));
  EXPECT_EQ(30, last->memid);
  EXPECT_EQ(static_cast<SHORT>(27 * sizeof(void*)), last->oVft) << "RunTool is the 28th vtable slot";
  vtableInfo->ReleaseFuncDesc(last);
}

TEST_F(AddinTest, ClassInfoIsTheCoclass) {
  ComPtr<IProvideClassInfo> provider;
  ASSERT_HRESULT_SUCCEEDED(addin.As(&provider));
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(S_OK, provider->GetClassInfo(&info));
  TYPEATTR* attributes = nullptr;
  ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attributes));
  EXPECT_EQ(TKIND_COCLASS, attributes->typekind);
  EXPECT_TRUE(IsEqualCLSID(attributes->guid, CLSID_CTallyline));
  info->ReleaseTypeAttr(attributes);
  BSTR doc = nullptr;
  ASSERT_HRESULT_SUCCEEDED(info->GetDocumentation(MEMBERID_NIL, nullptr, &doc, nullptr, nullptr));
  EXPECT_STREQ(L"Tallyline Class", doc);
  SysFreeString(doc);
  EXPECT_EQ(E_POINTER, provider->GetClassInfo(nullptr));
}

TEST_F(AddinTest, SupportsErrorInfoOnlyForItsInterface) {
  ComPtr<ISupportErrorInfo> errorInfo;
  ASSERT_HRESULT_SUCCEEDED(addin.As(&errorInfo));
  EXPECT_EQ(S_OK, errorInfo->InterfaceSupportsErrorInfo(IID_ITallyline));
  EXPECT_EQ(S_FALSE, errorInfo->InterfaceSupportsErrorInfo(IID_IDispatch));
  EXPECT_EQ(S_FALSE, errorInfo->InterfaceSupportsErrorInfo(IID_IUnknown));
}

TEST_F(AddinTest, ClassIdAndDescriptionThroughInvoke) {
  InvokeResult classId;
  Invoke(addin.Get(), kDispClassId, DISPATCH_PROPERTYGET, {}, &classId);
  ASSERT_EQ(S_OK, classId.hr);
  ASSERT_EQ(VT_BSTR, V_VT(&classId.value));
  EXPECT_STREQ(L"{A6C55777-8C43-4D42-868C-70B07956EA54}", V_BSTR(&classId.value));

  InvokeResult description;
  Invoke(addin.Get(), kDispDescription, DISPATCH_PROPERTYGET, {}, &description);
  ASSERT_EQ(S_OK, description.hr);
  ASSERT_EQ(VT_BSTR, V_VT(&description.value));
  EXPECT_STREQ(L"Varnkit_TL", V_BSTR(&description.value));
}

TEST_F(AddinTest, CopyBitmapDeclinesWithResultOne) {
  for (bool large : {false, true}) {
    for (bool mono : {false, true}) {
      InvokeResult result;
      Invoke(addin.Get(), kDispCopyBitmap, DISPATCH_METHOD, {BoolArg(large), BoolArg(mono)}, &result);
      EXPECT_EQ(E_NOTIMPL, result.MethodCode());
    }
  }
  // The result is written before the refusal; a host calling the vtable sees it.
  ComPtr<ITallyline> direct;
  ASSERT_HRESULT_SUCCEEDED(addin.As(&direct));
  VARIANT_BOOL result = 0x55;
  EXPECT_EQ(E_NOTIMPL, direct->CopyBitmap(VARIANT_TRUE, VARIANT_FALSE, &result));
  EXPECT_EQ(1, result);
  EXPECT_EQ(E_POINTER, direct->CopyBitmap(VARIANT_TRUE, VARIANT_FALSE, nullptr));
}

// Width and height of the bitmap inside a picture object.
SIZE PictureBitmapSize(IDispatch* picture) {
  ComPtr<IPicture> pic;
  SIZE size = {-1, -1};
  if (FAILED(picture->QueryInterface(IID_IPicture, &pic))) return size;
  SHORT type = 0;
  OLE_HANDLE handle = 0;
  if (FAILED(pic->get_Type(&type)) || type != PICTYPE_BITMAP || FAILED(pic->get_Handle(&handle))) return size;
  BITMAP bitmap = {};
  if (GetObjectW(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), sizeof(bitmap), &bitmap) == 0) return size;
  return {bitmap.bmWidth, bitmap.bmHeight};
}

TEST_F(AddinTest, GetPictureGivesTheStripOfTheButtonSize) {
  const struct {
    bool large;
    bool mono;
    LONG width;
    LONG height;
  } cases[] = {{true, false, 240, 23}, {true, true, 240, 23}, {false, false, 160, 16}, {false, true, 160, 16}};
  for (const auto& c : cases) {
    InvokeResult result;
    Invoke(addin.Get(), kDispGetPicture, DISPATCH_METHOD, {BoolArg(c.large), BoolArg(c.mono)}, &result);
    ASSERT_EQ(S_OK, result.hr);
    ASSERT_EQ(VT_DISPATCH, V_VT(&result.value));
    const SIZE size = PictureBitmapSize(V_DISPATCH(&result.value));
    EXPECT_EQ(c.width, size.cx) << "large " << c.large << " mono " << c.mono;
    EXPECT_EQ(c.height, size.cy);
  }
}

TEST_F(AddinTest, LocalMenuPictureIsItsOwnStrip) {
  InvokeResult result;
  Invoke(addin.Get(), kDispGetLMPicture, DISPATCH_METHOD, {}, &result);
  ASSERT_EQ(S_OK, result.hr);
  ASSERT_EQ(VT_DISPATCH, V_VT(&result.value));
  const SIZE size = PictureBitmapSize(V_DISPATCH(&result.value));
  EXPECT_EQ(160, size.cx);
  EXPECT_EQ(16, size.cy);
}

TEST_F(AddinTest, InvokeRefusesWhatTheTableDoesNotHold) {
  InvokeResult unknownId;
  Invoke(addin.Get(), 19, DISPATCH_METHOD, {}, &unknownId);
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND, unknownId.hr);

  InvokeResult missingArgs;
  Invoke(addin.Get(), kDispGetPicture, DISPATCH_METHOD, {BoolArg(true)}, &missingArgs);
  EXPECT_EQ(DISP_E_BADPARAMCOUNT, missingArgs.hr);

  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  VARIANT result;
  VariantInit(&result);
  EXPECT_EQ(DISP_E_UNKNOWNINTERFACE, addin->Invoke(1, IID_IDispatch, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                                                   &result, nullptr, nullptr));

  // Counts without their arrays: refused before anything reads them.
  DISPPARAMS noArgs = {nullptr, nullptr, 1, 0};
  EXPECT_EQ(DISP_E_BADPARAMCOUNT, addin->Invoke(kDispDoLMCommand, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                                &noArgs, &result, nullptr, nullptr));
  VARIANT arg = LongVariant(0);
  DISPPARAMS noNames = {&arg, nullptr, 1, 1};
  EXPECT_EQ(DISP_E_BADPARAMCOUNT, addin->Invoke(kDispDoLMCommand, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                                &noNames, &result, nullptr, nullptr));
  DISPID id = 0;
  EXPECT_EQ(E_INVALIDARG, addin->GetIDsOfNames(IID_NULL, nullptr, 1, LOCALE_USER_DEFAULT, &id));
}

TEST_F(AddinTest, NullOutPointersGiveEPointer) {
  ComPtr<ITallyline> direct;
  ASSERT_HRESULT_SUCCEEDED(addin.As(&direct));
  EXPECT_EQ(E_POINTER, direct->get_ClassID(nullptr));
  EXPECT_EQ(E_POINTER, direct->get_Description(nullptr));
  EXPECT_EQ(E_POINTER, direct->GetPicture(VARIANT_TRUE, VARIANT_FALSE, nullptr));
  EXPECT_EQ(E_POINTER, direct->GetLMPicture(nullptr));
  EXPECT_EQ(E_POINTER, addin->GetTypeInfoCount(nullptr));
  EXPECT_EQ(E_POINTER, addin->GetTypeInfo(0, LOCALE_USER_DEFAULT, nullptr));
}

}  // namespace
