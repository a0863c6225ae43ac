// GetToolInfo as a host calls it, with host-made arrays of any size, and with the malformed
// arguments a careless host could pass.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "addin/com_server/tool_info_win.h"
#include "tallyline.h"
#include "wine_test_support.h"

namespace {

const wchar_t* const kCommandNames[] = {L"Insert|Tallyline B&y|Number", L"Insert|Tallyline B&y|Picklist",
                                        L"Insert|Tallyline B&y|Object", L"Modify|TL Renumber", L"Options|TL Options"};
const wchar_t* const kPrompts[] = {L"Insert Tallyline - create a Leader with a self -incrementing number",
                                   L"Insert Tallyline - create a Leader with text selected from a PickList",
                                   L"Insert Tallyline - create a Leader based on a selected Object",
                                   L"Renumber a selected group of Tallylines", L"Set Tallyline Options"};
const wchar_t* const kToolTips[] = {L"Tallyline - Sequ Number", L"Tallyline - PickList", L"Tallyline - Object",
                                    L"Tallyline - Renumber", L"Tallyline Options"};
const wchar_t* const kCaptions[] = {L"&Number", L"&PickList", L"&Object", L"TL Ren&umber", L"TL Options"};

SAFEARRAY* MakeVector(VARTYPE type, ULONG size, LONG lowerBound = 0) {
  SAFEARRAY* array = SafeArrayCreateVector(type, lowerBound, size);
  if (type == VT_BSTR) {  // a host may hand over arrays that already hold texts
    for (LONG i = lowerBound; i < lowerBound + static_cast<LONG>(size); ++i) {
      BSTR old = SysAllocString(L"old");
      SafeArrayPutElement(array, &i, old);
      SysFreeString(old);
    }
  }
  return array;
}

// The six host arrays, each in a VARIANT that the host owns and clears.
struct HostArrays {
  VARIANT names, captions, prompts, tips, enabled, updates;
  explicit HostArrays(ULONG size) {
    for (VARIANT* v : all()) VariantInit(v);
    Set(&names, VT_BSTR, MakeVector(VT_BSTR, size));
    Set(&prompts, VT_BSTR, MakeVector(VT_BSTR, size));
    Set(&tips, VT_BSTR, MakeVector(VT_BSTR, size));
    Set(&enabled, VT_BOOL, MakeVector(VT_BOOL, size));
    Set(&updates, VT_BOOL, MakeVector(VT_BOOL, size));
    SAFEARRAYBOUND bounds[2] = {{3, 1}, {3, 1}};
    Set(&captions, VT_BSTR, SafeArrayCreate(VT_BSTR, 2, bounds));
  }
  ~HostArrays() {
    for (VARIANT* v : all()) VariantClear(v);
  }
  static void Set(VARIANT* v, VARTYPE type, SAFEARRAY* array) {
    VariantClear(v);
    V_VT(v) = VT_ARRAY | type;
    V_ARRAY(v) = array;
  }
  std::vector<VARIANT*> all() { return {&names, &captions, &prompts, &tips, &enabled, &updates}; }
  std::vector<VARIANT*> resized() { return {&names, &prompts, &tips, &enabled, &updates}; }
  ToolInfoArrays arrays() { return {&names, &captions, &prompts, &tips, &enabled, &updates}; }
};

LONG Size(SAFEARRAY* array) {
  LONG lower = 0, upper = -1;
  SafeArrayGetLBound(array, 1, &lower);
  SafeArrayGetUBound(array, 1, &upper);
  return upper - lower + 1;
}

std::wstring TextAt(SAFEARRAY* array, std::vector<LONG> indices) {
  BSTR text = nullptr;
  if (FAILED(SafeArrayGetElement(array, indices.data(), &text))) return L"<missing>";
  std::wstring result = text ? text : L"<null>";
  SysFreeString(text);
  return result;
}

void ExpectFilled(HostArrays& host) {
  for (VARIANT* v : host.resized()) {
    SAFEARRAY* array = V_ARRAY(v);
    ASSERT_EQ(1u, SafeArrayGetDim(array));
    LONG lower = -1;
    SafeArrayGetLBound(array, 1, &lower);
    EXPECT_EQ(0, lower);
    EXPECT_EQ(5, Size(array));
  }
  SAFEARRAY* captions = V_ARRAY(&host.captions);
  EXPECT_EQ(VT_ARRAY | VT_BSTR, V_VT(&host.captions));
  ASSERT_EQ(2u, SafeArrayGetDim(captions));
  for (UINT dim = 1; dim <= 2; ++dim) {
    LONG lower = -1, upper = -1;
    SafeArrayGetLBound(captions, dim, &lower);
    SafeArrayGetUBound(captions, dim, &upper);
    EXPECT_EQ(0, lower);
    EXPECT_EQ(dim == 1 ? 4 : 1, upper);
  }
  BSTR* linear = nullptr;
  ASSERT_HRESULT_SUCCEEDED(SafeArrayAccessData(captions, reinterpret_cast<void**>(&linear)));
  for (LONG i = 0; i < 5; ++i) {
    EXPECT_EQ(kCommandNames[i], TextAt(V_ARRAY(&host.names), {i}));
    EXPECT_EQ(kPrompts[i], TextAt(V_ARRAY(&host.prompts), {i}));
    EXPECT_EQ(kToolTips[i], TextAt(V_ARRAY(&host.tips), {i}));
    EXPECT_EQ(kCaptions[i], TextAt(captions, {i, 0}));
    EXPECT_EQ(L"Varnkit_TL", TextAt(captions, {i, 1}));
    EXPECT_STREQ(kCaptions[i], linear[i]) << "element (i, 0) lies at i";
    EXPECT_STREQ(L"Varnkit_TL", linear[i + 5]) << "element (i, 1) lies at i + 5";
    for (VARIANT* flags : {&host.enabled, &host.updates}) {
      VARIANT_BOOL flag = 0;
      ASSERT_HRESULT_SUCCEEDED(SafeArrayGetElement(V_ARRAY(flags), &i, &flag));
      EXPECT_EQ(1, flag) << "booleans to the host are 1, never -1";
    }
  }
  SafeArrayUnaccessData(captions);
}

class ToolInfoTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(CreateAddin(L"Varnkit_TL.Tallyline", &addin));
    ASSERT_HRESULT_SUCCEEDED(addin.As(&direct));
  }
  ComPtr<IDispatch> addin;
  ComPtr<ITallyline> direct;
};

TEST_F(ToolInfoTest, FillsHostArraysOfAnySizeThroughInvoke) {
  for (ULONG size : {1u, 5u, 10u}) {
    HostArrays host(size);
    InvokeResult result;
    Invoke(addin.Get(), kDispGetToolInfo, DISPATCH_METHOD,
           {RefArg(&host.names), RefArg(&host.captions), RefArg(&host.prompts), RefArg(&host.tips),
            RefArg(&host.enabled), RefArg(&host.updates)},
           &result);
    ASSERT_EQ(S_OK, result.hr) << "size " << size;
    ASSERT_EQ(VT_I4, V_VT(&result.value));
    EXPECT_EQ(5, V_I4(&result.value));
    ExpectFilled(host);
  }
}

TEST_F(ToolInfoTest, ArraysCountedFromOneComeBackCountedFromZero) {
  HostArrays host(3);
  for (VARIANT* v : host.resized()) {
    const VARTYPE type = static_cast<VARTYPE>(V_VT(v) & VT_TYPEMASK);
    HostArrays::Set(v, type, MakeVector(type, 3, 1));  // as a Basic host makes them
  }
  LONG count = 0;
  ASSERT_EQ(S_OK, direct->GetToolInfo(&host.names, &host.captions, &host.prompts, &host.tips, &host.enabled,
                                      &host.updates, &count));
  ExpectFilled(host);
}

TEST_F(ToolInfoTest, FillsArraysHeldByReference) {
  HostArrays host(3);
  // A host may hand its arrays by reference inside the VARIANTs.
  SAFEARRAY* names = V_ARRAY(&host.names);
  SAFEARRAY* captions = V_ARRAY(&host.captions);
  VARIANT byRefNames, byRefCaptions;
  V_VT(&byRefNames) = VT_ARRAY | VT_BSTR | VT_BYREF;
  V_ARRAYREF(&byRefNames) = &names;
  V_VT(&byRefCaptions) = VT_ARRAY | VT_BSTR | VT_BYREF;
  V_ARRAYREF(&byRefCaptions) = &captions;
  LONG count = 0;
  ASSERT_EQ(S_OK, direct->GetToolInfo(&byRefNames, &byRefCaptions, &host.prompts, &host.tips, &host.enabled,
                                      &host.updates, &count));
  EXPECT_EQ(VT_ARRAY | VT_BSTR | VT_BYREF, V_VT(&byRefCaptions)) << "the type tag stays as the host set it";
  V_ARRAY(&host.names) = names;  // hand the (resized, replaced) arrays back to their owner
  V_ARRAY(&host.captions) = captions;
  ExpectFilled(host);
}

TEST_F(ToolInfoTest, CaptionArrayWithoutDataIsReplaced) {
  HostArrays host(2);
  SafeArrayDestroy(V_ARRAY(&host.captions));
  V_ARRAY(&host.captions) = nullptr;
  LONG count = 0;
  ASSERT_EQ(S_OK, direct->GetToolInfo(&host.names, &host.captions, &host.prompts, &host.tips, &host.enabled,
                                      &host.updates, &count));
  ExpectFilled(host);
}

// Each malformed argument is refused before anything changes.
TEST_F(ToolInfoTest, RefusesMalformedArraysAndChangesNothing) {
  struct Case {
    const char* what;
    int slot;  // 0 names, 1 captions, 2 prompts, 3 tips, 4 enabled, 5 updates
    void (*spoil)(VARIANT*);
    HRESULT expected;
  };
  const Case cases[] = {
      {"no array", 0,
       [](VARIANT* v) {
         VariantClear(v);
         V_VT(v) = VT_I4;
         V_I4(v) = 7;
       },
       E_INVALIDARG},
      {"empty variant", 2, [](VARIANT* v) { VariantClear(v); }, E_INVALIDARG},
      {"null array", 3,
       [](VARIANT* v) {
         SafeArrayDestroy(V_ARRAY(v));
         V_ARRAY(v) = nullptr;
       },
       E_INVALIDARG},
      {"array of long", 0, [](VARIANT* v) { HostArrays::Set(v, VT_I4, SafeArrayCreateVector(VT_I4, 0, 5)); },
       E_INVALIDARG},
      {"texts where flags go", 4, [](VARIANT* v) { HostArrays::Set(v, VT_BSTR, MakeVector(VT_BSTR, 5)); },
       E_INVALIDARG},
      {"flags where texts go", 3, [](VARIANT* v) { HostArrays::Set(v, VT_BOOL, MakeVector(VT_BOOL, 5)); },
       E_INVALIDARG},
      {"tag says texts, array holds flags", 2,
       [](VARIANT* v) {
         HostArrays::Set(v, VT_BOOL, MakeVector(VT_BOOL, 2));
         V_VT(v) = VT_ARRAY | VT_BSTR;
       },
       E_INVALIDARG},
      {"two dimensions", 5,
       [](VARIANT* v) {
         SAFEARRAYBOUND bounds[2] = {{5, 0}, {2, 0}};
         HostArrays::Set(v, VT_BOOL, SafeArrayCreate(VT_BOOL, 2, bounds));
       },
       E_INVALIDARG},
      {"captions of long", 1, [](VARIANT* v) { HostArrays::Set(v, VT_I4, SafeArrayCreateVector(VT_I4, 0, 10)); },
       E_INVALIDARG},
      {"captions not an array", 1,
       [](VARIANT* v) {
         VariantClear(v);
         V_VT(v) = VT_BSTR;
         V_BSTR(v) = nullptr;
       },
       E_INVALIDARG},
  };
  for (const Case& c : cases) {
    HostArrays host(2);
    c.spoil(host.all()[c.slot]);
    std::vector<SAFEARRAY*> before;
    for (VARIANT* v : host.all()) before.push_back((V_VT(v) & VT_ARRAY) ? V_ARRAY(v) : nullptr);
    LONG count = 0xdeadbeef;
    EXPECT_EQ(c.expected, direct->GetToolInfo(&host.names, &host.captions, &host.prompts, &host.tips, &host.enabled,
                                              &host.updates, &count))
        << c.what;
    EXPECT_EQ(static_cast<LONG>(0xdeadbeef), count) << c.what;
    for (size_t i = 0; i < before.size(); ++i) {
      VARIANT* v = host.all()[i];
      if ((V_VT(v) & VT_ARRAY) == 0 || before[i] == nullptr) continue;
      EXPECT_EQ(before[i], V_ARRAY(v)) << c.what;
      // The arrays that were not spoiled were not resized either.
      if (static_cast<int>(i) != c.slot && i != 1 && SafeArrayGetDim(V_ARRAY(v)) == 1) {
        EXPECT_EQ(2, Size(V_ARRAY(v))) << c.what;
      }
    }
  }
}

TEST_F(ToolInfoTest, NullPointersGiveEPointer) {
  for (int slot = 0; slot < 7; ++slot) {
    HostArrays host(1);
    std::vector<VARIANT*> args = host.all();
    LONG count = 0;
    LONG* countArg = &count;
    if (slot < 6)
      args[slot] = nullptr;
    else
      countArg = nullptr;
    EXPECT_EQ(E_POINTER, direct->GetToolInfo(args[0], args[1], args[2], args[3], args[4], args[5], countArg))
        << "slot " << slot;
    EXPECT_EQ(1, Size(V_ARRAY(&host.names))) << "slot " << slot;
  }
}

TEST_F(ToolInfoTest, LockedArrayFailsWithEFail) {
  HostArrays host(2);
  ASSERT_HRESULT_SUCCEEDED(SafeArrayLock(V_ARRAY(&host.tips)));
  LONG count = 0;
  EXPECT_EQ(E_FAIL, direct->GetToolInfo(&host.names, &host.captions, &host.prompts, &host.tips, &host.enabled,
                                        &host.updates, &count));
  SafeArrayUnlock(V_ARRAY(&host.tips));

  HostArrays lockedCaptions(2);
  SAFEARRAY* captions = V_ARRAY(&lockedCaptions.captions);
  ASSERT_HRESULT_SUCCEEDED(SafeArrayLock(captions));
  EXPECT_EQ(E_FAIL,
            direct->GetToolInfo(&lockedCaptions.names, &lockedCaptions.captions, &lockedCaptions.prompts,
                                &lockedCaptions.tips, &lockedCaptions.enabled, &lockedCaptions.updates, &count));
  EXPECT_EQ(captions, V_ARRAY(&lockedCaptions.captions)) << "an array that could not be destroyed stays the host's";
  SafeArrayUnlock(captions);
}

TEST_F(ToolInfoTest, CaptionArraySharedWithAFilledArrayIsRefused) {
  HostArrays host(2);
  VARIANT shared;
  V_VT(&shared) = VT_ARRAY | VT_BSTR;
  V_ARRAY(&shared) = V_ARRAY(&host.names);
  LONG count = 0;
  EXPECT_EQ(E_INVALIDARG,
            direct->GetToolInfo(&host.names, &shared, &host.prompts, &host.tips, &host.enabled, &host.updates, &count));
  EXPECT_EQ(2, Size(V_ARRAY(&host.names)));
}

SAFEARRAY* WINAPI FailingCreate(VARTYPE, UINT, SAFEARRAYBOUND*) {
  return nullptr;
}

TEST(ToolInfoFill, FailedCaptionArrayLeavesNoDanglingPointer) {
  HostArrays host(2);
  LONG count = 0;
  EXPECT_EQ(E_OUTOFMEMORY, FillToolInfo(host.arrays(), &count, FailingCreate));
  EXPECT_EQ(nullptr, V_ARRAY(&host.captions)) << "the destroyed array must not stay in the VARIANT";
  EXPECT_EQ(VT_ARRAY | VT_BSTR, V_VT(&host.captions));
  // The host's cleanup of its VARIANT is then harmless (HostArrays clears it on leaving).
}

}  // namespace
