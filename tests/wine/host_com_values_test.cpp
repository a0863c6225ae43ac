// The automation forms of the host's values: each kind of property value survives the trip to a
// VARIANT and back, property keys and indices have the contract's types, and the local menu
// goes as four zero-based arrays whose flags are 1 or 0, with malformed arrays refused.
#include <gtest/gtest.h>

#include "host/host_com_values_win.h"

#include "framework/com_owners_win.h"

namespace {

bool SameValue(const HostValue& a, const HostValue& b) {
  return a.kind == b.kind && a.text == b.text && a.integer == b.integer && a.real == b.real && a.boolean == b.boolean;
}

TEST(HostComValues, EachValueKindRoundTrips) {
  HostValue integer, real, boolean;
  integer.kind = HostValue::Kind::Integer;
  integer.integer = -70000;
  real.kind = HostValue::Kind::Real;
  real.real = 2.5;
  boolean.kind = HostValue::Kind::Boolean;
  boolean.boolean = true;
  const std::pair<HostValue, VARTYPE> cases[] = {
      {HostValue{}, VT_EMPTY},
      {HostValue::FromText(u"Leader \u00c4"), VT_BSTR},
      {HostValue::FromText(std::u16string(u"a\0b", 3)), VT_BSTR},
      {HostValue::FromText(u""), VT_BSTR},
      {integer, VT_I4},
      {real, VT_R8},
      {boolean, VT_BOOL},
  };
  for (const auto& c : cases) {
    UniqueVariant variant;
    ASSERT_EQ(S_OK, VariantFromValue(c.first, variant.get()));
    EXPECT_EQ(c.second, V_VT(variant.get()));
    if (c.second == VT_BOOL) {
      EXPECT_EQ(1, V_BOOL(variant.get())) << "the host's true is 1, never -1";
    }
    HostValue back;
    ASSERT_EQ(S_OK, ValueFromVariant(*variant.get(), &back));
    EXPECT_TRUE(SameValue(c.first, back)) << static_cast<int>(c.first.kind);
  }
  HostValue other;
  other.kind = HostValue::Kind::Other;
  UniqueVariant variant;
  EXPECT_EQ(E_INVALIDARG, VariantFromValue(other, variant.get()));
  EXPECT_EQ(VT_EMPTY, V_VT(variant.get()));
}

TEST(HostComValues, ForeignVariantsReadAsTheNearestKind) {
  HostValue value;
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = nullptr;  // a null BSTR is the empty text
  ASSERT_EQ(S_OK, ValueFromVariant(v, &value));
  EXPECT_EQ(HostValue::Kind::Text, value.kind);
  EXPECT_EQ(u"", value.text);

  LONG target = 42;
  V_VT(&v) = VT_I4 | VT_BYREF;
  V_I4REF(&v) = &target;
  ASSERT_EQ(S_OK, ValueFromVariant(v, &value));
  EXPECT_EQ(HostValue::Kind::Integer, value.kind);
  EXPECT_EQ(42, value.integer);

  for (VARTYPE type : {VT_I4, VT_BSTR, VT_VARIANT}) {  // by reference to nothing: refused unread
    V_VT(&v) = type | VT_BYREF;
    V_BYREF(&v) = nullptr;
    EXPECT_EQ(E_POINTER, ValueFromVariant(v, &value)) << type;
  }

  V_VT(&v) = VT_I2;
  V_I2(&v) = -3;
  ASSERT_EQ(S_OK, ValueFromVariant(v, &value));
  EXPECT_EQ(-3, value.integer);

  V_VT(&v) = VT_DATE;
  V_DATE(&v) = 1.0;
  ASSERT_EQ(S_OK, ValueFromVariant(v, &value));
  EXPECT_EQ(HostValue::Kind::Other, value.kind);
}

TEST(HostComValues, KeysAndIndicesHaveTheContractsTypes) {
  UniqueVariant byName, byIndex;
  ASSERT_EQ(S_OK, VariantFromKey(HostPropertyKey{u"Info"}, byName.get()));
  ASSERT_EQ(VT_BSTR, V_VT(byName.get()));
  EXPECT_STREQ(L"Info", V_BSTR(byName.get()));
  ASSERT_EQ(S_OK, VariantFromKey(HostPropertyKey{u"", 0}, byIndex.get()));
  EXPECT_EQ(VT_I4, V_VT(byIndex.get()));

  HostPropertyKey key;
  ASSERT_EQ(S_OK, KeyFromVariant(*byName.get(), &key));
  EXPECT_EQ(u"Info", key.name);
  ASSERT_EQ(S_OK, KeyFromVariant(LongVariant(3), &key));
  EXPECT_EQ(u"", key.name);
  EXPECT_EQ(3, key.index);
  EXPECT_EQ(DISP_E_TYPEMISMATCH, KeyFromVariant(ULongVariant(3), &key));

  int32_t index = 0;
  uint32_t commandId = 0;
  EXPECT_EQ(DISP_E_TYPEMISMATCH, LongFromVariant(ULongVariant(1), &index));
  EXPECT_EQ(DISP_E_TYPEMISMATCH, ULongFromVariant(LongVariant(1), &commandId));
  EXPECT_EQ(S_OK, ULongFromVariant(ULongVariant(0xFFFFFFFFu), &commandId));
  EXPECT_EQ(0xFFFFFFFFu, commandId);
  const VARIANT omitted = OmittedVariant();
  EXPECT_EQ(VT_ERROR, V_VT(&omitted));
  EXPECT_EQ(DISP_E_PARAMNOTFOUND, V_ERROR(&omitted));
  EXPECT_TRUE(IsOmitted(omitted));
  EXPECT_FALSE(IsOmitted(LongVariant(0)));
}

HostLocalMenu SampleMenu() {
  HostLocalMenu menu;
  menu.captions = {u"&One", u"&Two", u"Th&ree"};
  menu.prompts = {u"first", u"", u"third"};
  menu.flags1 = {true, false, true};
  menu.flags2 = {false, false, true};
  return menu;
}

// Four owned arguments of SetLocalMenu.
struct MenuArguments {
  VARIANT arrays[kMenuArrayCount];
  MenuArguments() {
    for (VARIANT& array : arrays) VariantInit(&array);
  }
  ~MenuArguments() {
    for (VARIANT& array : arrays) VariantClear(&array);
  }
};

TEST(HostComValues, LocalMenuGoesAsFourZeroBasedArrays) {
  MenuArguments args;
  ASSERT_EQ(S_OK, VariantsFromMenu(SampleMenu(), args.arrays));
  const VARTYPE types[] = {VT_ARRAY | VT_BSTR, VT_ARRAY | VT_BSTR, VT_ARRAY | VT_BOOL, VT_ARRAY | VT_BOOL};
  for (int i = 0; i < kMenuArrayCount; ++i) {
    EXPECT_EQ(types[i], V_VT(&args.arrays[i]));
    SAFEARRAY* array = V_ARRAY(&args.arrays[i]);
    LONG lower = -1, upper = -1;
    EXPECT_EQ(1u, SafeArrayGetDim(array));
    EXPECT_EQ(S_OK, SafeArrayGetLBound(array, 1, &lower));
    EXPECT_EQ(S_OK, SafeArrayGetUBound(array, 1, &upper));
    EXPECT_EQ(0, lower);
    EXPECT_EQ(2, upper);
  }
  SafeArrayDataAccess flags;
  ASSERT_EQ(S_OK, flags.Access(V_ARRAY(&args.arrays[2])));
  EXPECT_EQ(1, flags.Data<VARIANT_BOOL>()[0]) << "set flags are 1, not VARIANT_TRUE";
  EXPECT_EQ(0, flags.Data<VARIANT_BOOL>()[1]);

  bool hasMenu = false;
  HostLocalMenu back;
  ASSERT_EQ(S_OK, MenuFromVariants(args.arrays, &hasMenu, &back));
  EXPECT_TRUE(hasMenu);
  EXPECT_EQ(SampleMenu().captions, back.captions);
  EXPECT_EQ(SampleMenu().prompts, back.prompts);
  EXPECT_EQ(SampleMenu().flags1, back.flags1);
  EXPECT_EQ(SampleMenu().flags2, back.flags2);

  const VARIANT omitted[kMenuArrayCount] = {OmittedVariant(), OmittedVariant(), OmittedVariant(), OmittedVariant()};
  hasMenu = true;
  EXPECT_EQ(S_OK, MenuFromVariants(omitted, &hasMenu, &back));
  EXPECT_FALSE(hasMenu);
}

TEST(HostComValues, MalformedMenuArraysAreRefused) {
  struct Case {
    const char* name;
    void (*spoil)(VARIANT (&arrays)[kMenuArrayCount]);
  };
  const Case cases[] = {
      {"one array omitted",
       [](VARIANT(&a)[kMenuArrayCount]) {
         VariantClear(&a[1]);
         a[1] = OmittedVariant();
       }},
      {"automation true as a flag",
       [](VARIANT(&a)[kMenuArrayCount]) {
         LONG at = 1;
         VARIANT_BOOL minusOne = VARIANT_TRUE;
         SafeArrayPutElement(V_ARRAY(&a[3]), &at, &minusOne);
       }},
      {"lower bound 1",
       [](VARIANT(&a)[kMenuArrayCount]) {
         SAFEARRAYBOUND bound = {3, 1};
         VariantClear(&a[0]);
         V_VT(&a[0]) = VT_ARRAY | VT_BSTR;
         V_ARRAY(&a[0]) = SafeArrayCreate(VT_BSTR, 1, &bound);
       }},
      {"flags as a text array",
       [](VARIANT(&a)[kMenuArrayCount]) {
         VariantClear(&a[2]);
         VariantCopy(&a[2], &a[0]);
       }},
      {"two dimensions",
       [](VARIANT(&a)[kMenuArrayCount]) {
         SAFEARRAYBOUND bounds[2] = {{3, 0}, {1, 0}};
         VariantClear(&a[1]);
         V_VT(&a[1]) = VT_ARRAY | VT_BSTR;
         V_ARRAY(&a[1]) = SafeArrayCreate(VT_BSTR, 2, bounds);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MenuArguments args;
    ASSERT_EQ(S_OK, VariantsFromMenu(SampleMenu(), args.arrays));
    c.spoil(args.arrays);
    bool hasMenu = false;
    HostLocalMenu back;
    EXPECT_EQ(E_INVALIDARG, MenuFromVariants(args.arrays, &hasMenu, &back));
    EXPECT_FALSE(hasMenu);
  }
}

}  // namespace
