// The in-memory registry behaves as advapi32 does where the settings logic relies on it.
#include <gtest/gtest.h>

#include "testing/memory_registry.h"

namespace {

constexpr char kVarnkit[] = "SOFTWARE\\Varnkit";

std::unique_ptr<RegistryKey> Open(Registry& registry, const std::string& path, RegistryAccess access,
                                  HRESULT expected = S_OK) {
  std::unique_ptr<RegistryKey> key;
  EXPECT_EQ(registry.OpenKey(RegistryRoot::CurrentUser, path, access, &key), expected) << path;
  EXPECT_EQ(key != nullptr, SUCCEEDED(expected));
  return key;
}

TEST(MemoryRegistry, ReadWriteCreatesTheWholePathAndReadOnlyFindsIt) {
  MemoryRegistry registry;
  Open(registry, kVarnkit, RegistryAccess::ReadOnly, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(registry.KeyExists(RegistryRoot::CurrentUser, "SOFTWARE"));

  auto key = Open(registry, "SOFTWARE\\Varnkit\\Tallyline", RegistryAccess::ReadWrite);
  ASSERT_TRUE(key);
  ASSERT_EQ(key->SetText("Start", "12"), S_OK);
  EXPECT_TRUE(registry.KeyExists(RegistryRoot::CurrentUser, kVarnkit));
  EXPECT_FALSE(registry.KeyExists(RegistryRoot::LocalMachine, kVarnkit));

  auto again = Open(registry, "SOFTWARE\\Varnkit\\Tallyline", RegistryAccess::ReadOnly);
  std::string data;
  ASSERT_EQ(again->QueryValue("Start", 100, &data), S_OK);
  EXPECT_EQ(data, std::string("12\0", 3));
}

TEST(MemoryRegistry, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
  MemoryRegistry registry;
  auto key = Open(registry, "Software\\VARNKIT", RegistryAccess::ReadWrite);
  ASSERT_EQ(key->SetText("DefFormat", "1"), S_OK);
  ASSERT_EQ(key->SetText("DEFFORMAT", "2"), S_OK);

  auto other = Open(registry, "SOFTWARE\\varnkit", RegistryAccess::ReadOnly);
  std::string data;
  ASSERT_EQ(other->QueryValue("defformat", 10, &data), S_OK);
  EXPECT_EQ(data, std::string("2\0", 2));
  uint32_t type = 0;
  EXPECT_TRUE(registry.GetRawValue(RegistryRoot::CurrentUser, "software\\Varnkit", "DefFormat", &type, &data));
  EXPECT_EQ(type, kRegText);
}

TEST(MemoryRegistry, QueryGivesRawBytesUpToTheLimit) {
  MemoryRegistry registry;
  const std::string dword("\x07\x00\x00\x00", 4);
  registry.SetRawValue(RegistryRoot::CurrentUser, kVarnkit, "Count", kRegDword, dword);
  registry.SetRawValue(RegistryRoot::CurrentUser, kVarnkit, "Blob", kRegBinary, std::string("a\0b", 3));
  auto key = Open(registry, kVarnkit, RegistryAccess::ReadOnly);

  struct Case {
    const char* name;
    size_t maxBytes;
    HRESULT hr;
    std::string data;  // what *data holds afterwards; it starts as "marker"
  };
  const Case cases[] = {
      {"Count", 4, S_OK, dword},
      {"count", 100, S_OK, dword},
      {"Count", 3, HRESULT_FROM_WIN32(ERROR_MORE_DATA), "marker"},
      {"Blob", 3, S_OK, std::string("a\0b", 3)},
      {"Blob", 0, HRESULT_FROM_WIN32(ERROR_MORE_DATA), "marker"},
      {"Missing", 100, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), "marker"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.maxBytes));
    std::string data = "marker";
    EXPECT_EQ(key->QueryValue(c.name, c.maxBytes, &data), c.hr);
    EXPECT_EQ(data, c.data);
  }

  ASSERT_EQ(Open(registry, kVarnkit, RegistryAccess::ReadWrite)->SetText("Text", "abc"), S_OK);
  std::string data = "marker";
  EXPECT_EQ(key->QueryValue("Text", 3, &data), HRESULT_FROM_WIN32(ERROR_MORE_DATA));
  EXPECT_EQ(key->QueryValue("Text", 4, &data), S_OK);
  EXPECT_EQ(data, std::string("abc\0", 4));
}

TEST(MemoryRegistry, NotWritableKeysOpenOnlyForReading) {
  MemoryRegistry registry;
  registry.SetRawValue(RegistryRoot::LocalMachine, "SOFTWARE\\Varnkit\\Data", "Path", kRegText,
                       std::string("C:\\\0", 4));
  registry.MarkNotWritable(RegistryRoot::LocalMachine, "SOFTWARE");
  auto openMachine = [&](const std::string& path, RegistryAccess access) {
    std::unique_ptr<RegistryKey> key;
    const HRESULT hr = registry.OpenKey(RegistryRoot::LocalMachine, path, access, &key);
    EXPECT_EQ(key != nullptr, SUCCEEDED(hr));
    return hr;
  };

  EXPECT_EQ(openMachine("SOFTWARE\\Varnkit\\Data", RegistryAccess::ReadWrite), E_ACCESSDENIED);
  EXPECT_EQ(openMachine("software", RegistryAccess::ReadWrite), E_ACCESSDENIED);
  EXPECT_EQ(openMachine("SOFTWARE\\Varnkit\\New", RegistryAccess::ReadWrite), E_ACCESSDENIED);
  EXPECT_FALSE(registry.KeyExists(RegistryRoot::LocalMachine, "SOFTWARE\\Varnkit\\New"));
  EXPECT_EQ(openMachine("SOFTWARE\\Varnkit\\Data", RegistryAccess::ReadOnly), S_OK);
  EXPECT_EQ(openMachine("Other", RegistryAccess::ReadWrite), S_OK);

  std::unique_ptr<RegistryKey> data;
  ASSERT_EQ(registry.OpenKey(RegistryRoot::LocalMachine, "SOFTWARE\\Varnkit\\Data", RegistryAccess::ReadOnly, &data),
            S_OK);
  EXPECT_EQ(data->SetText("Path", "D:\\"), E_ACCESSDENIED);
  std::unique_ptr<RegistryKey> sub;
  EXPECT_EQ(data->OpenSubKey("Deeper", RegistryAccess::ReadWrite, &sub), E_ACCESSDENIED);
  std::string bytes;
  ASSERT_TRUE(registry.GetRawValue(RegistryRoot::LocalMachine, "SOFTWARE\\Varnkit\\Data", "Path", nullptr, &bytes));
  EXPECT_EQ(bytes, std::string("C:\\\0", 4));
}

TEST(MemoryRegistry, ReadOnlyHandlesNeitherWriteNorCreate) {
  MemoryRegistry registry;
  Open(registry, "SOFTWARE\\Varnkit\\Existing", RegistryAccess::ReadWrite);
  auto readOnly = Open(registry, kVarnkit, RegistryAccess::ReadOnly);
  EXPECT_EQ(readOnly->SetText("Name", "x"), E_ACCESSDENIED);

  std::unique_ptr<RegistryKey> sub;
  EXPECT_EQ(readOnly->OpenSubKey("Missing", RegistryAccess::ReadWrite, &sub), E_ACCESSDENIED);
  EXPECT_EQ(readOnly->OpenSubKey("Missing", RegistryAccess::ReadOnly, &sub), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  // The rights of the key below come from the key itself, not from the handle above it.
  ASSERT_EQ(readOnly->OpenSubKey("Existing", RegistryAccess::ReadWrite, &sub), S_OK);
  EXPECT_EQ(sub->SetText("Name", "x"), S_OK);
}

TEST(MemoryRegistry, FailedValueWritesChangeNothing) {
  MemoryRegistry registry;
  auto key = Open(registry, kVarnkit, RegistryAccess::ReadWrite);
  ASSERT_EQ(key->SetText("Start", "1"), S_OK);
  registry.FailValueWrites(HRESULT_FROM_WIN32(ERROR_WRITE_FAULT));
  EXPECT_EQ(key->SetText("Start", "2"), HRESULT_FROM_WIN32(ERROR_WRITE_FAULT));
  EXPECT_EQ(key->SetText("Other", "2"), HRESULT_FROM_WIN32(ERROR_WRITE_FAULT));
  registry.FailValueWrites(S_OK);

  std::string data;
  EXPECT_TRUE(registry.GetRawValue(RegistryRoot::CurrentUser, kVarnkit, "Start", nullptr, &data));
  EXPECT_EQ(data, std::string("1\0", 2));
  EXPECT_FALSE(registry.GetRawValue(RegistryRoot::CurrentUser, kVarnkit, "Other", nullptr, &data));
  EXPECT_EQ(key->SetText("Start", "3"), S_OK);
}

TEST(MemoryRegistry, PathsAndArgumentsAsTheSystemTakesThem) {
  MemoryRegistry registry;
  EXPECT_EQ(registry.OpenKey(RegistryRoot::CurrentUser, kVarnkit, RegistryAccess::ReadWrite, nullptr), E_POINTER);
  Open(registry, "\\SOFTWARE", RegistryAccess::ReadWrite, HRESULT_FROM_WIN32(kErrorBadPathname));
  // Doubled and trailing backslashes are skipped, as by the system.
  Open(registry, "SOFTWARE\\\\Varnkit\\", RegistryAccess::ReadWrite);
  EXPECT_TRUE(registry.KeyExists(RegistryRoot::CurrentUser, kVarnkit));
  auto root = Open(registry, "", RegistryAccess::ReadWrite);
  ASSERT_EQ(root->SetText("", "default"), S_OK);
  EXPECT_TRUE(registry.GetRawValue(RegistryRoot::CurrentUser, "", "", nullptr, nullptr));
  EXPECT_EQ(root->QueryValue("", 10, nullptr), E_POINTER);
}

TEST(MemoryRegistry, OpenKeysOutliveTheRegistry) {
  std::unique_ptr<RegistryKey> key;
  {
    MemoryRegistry registry;
    key = Open(registry, kVarnkit, RegistryAccess::ReadWrite);
  }
  ASSERT_EQ(key->SetText("Start", "5"), S_OK);
  std::string data;
  EXPECT_EQ(key->QueryValue("Start", 10, &data), S_OK);
}

}  // namespace
