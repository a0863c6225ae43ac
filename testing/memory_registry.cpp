// The in-memory registry tree. An open key holds its node and the rights it was opened with, as
// a registry handle does: marking a key not writable later does not take rights from handles
// that are already open.
#include "testing/memory_registry.h"

#include "framework/utf8.h"

#include <algorithm>
#include <vector>

namespace {

char FoldNameCase(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Splits a backslash-separated key path. As in the real registry, empty parts (a doubled or a
// trailing backslash) are skipped and an empty path names the key itself, but a path must not
// start with a backslash.
bool SplitPath(const std::string& path, std::vector<std::string>* parts) {
  parts->clear();
  if (!path.empty() && path[0] == '\\') return false;
  size_t start = 0;
  while (start < path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) parts->push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return true;
}

}  // namespace

// Its helper types are its own rather than the anonymous namespace's, as the type itself is
// declared in the header.
struct MemoryRegistry::Node {
  struct NameLess {
    bool operator()(const std::string& a, const std::string& b) const {
      return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(FoldNameCase(x)) < static_cast<unsigned char>(FoldNameCase(y));
      });
    }
  };
  struct Value {
    uint32_t type = 0;
    std::string bytes;
    bool utf16 = false;  // written as UTF-16: `bytes` hold its UTF-8
  };

  std::map<std::string, std::shared_ptr<Node>, NameLess> children;
  std::map<std::string, Value, NameLess> values;
  bool notWritable = false;
};

struct MemoryRegistry::State {
  std::shared_ptr<Node> roots[3] = {std::make_shared<Node>(), std::make_shared<Node>(), std::make_shared<Node>()};
  HRESULT writeFailure = S_OK;

  std::shared_ptr<Node> Root(RegistryRoot root) const { return roots[static_cast<int>(root)]; }

  // Finds the node at `path` without creating anything; null when it is missing.
  std::shared_ptr<Node> Find(RegistryRoot root, const std::string& path) const {
    std::vector<std::string> parts;
    if (!SplitPath(path, &parts)) return nullptr;
    std::shared_ptr<Node> node = Root(root);
    for (const std::string& part : parts) {
      const auto child = node->children.find(part);
      if (child == node->children.end()) return nullptr;
      node = child->second;
    }
    return node;
  }

  std::shared_ptr<Node> FindOrCreate(RegistryRoot root, const std::string& path) {
    std::vector<std::string> parts;
    SplitPath(path, &parts);
    std::shared_ptr<Node> node = Root(root);
    for (const std::string& part : parts) {
      std::shared_ptr<Node>& child = node->children[part];
      if (!child) child = std::make_shared<Node>();
      node = child;
    }
    return node;
  }
};

namespace {

using Node = MemoryRegistry::Node;
using State = MemoryRegistry::State;

class MemoryKey : public RegistryKey {
 public:
  // `inNotWritableTree` tells whether the node or one of its ancestors is marked not writable.
  MemoryKey(std::shared_ptr<State> state, std::shared_ptr<Node> node, bool inNotWritableTree, bool writable)
      : state_(std::move(state)), node_(std::move(node)), inNotWritableTree_(inNotWritableTree), writable_(writable) {}

  HRESULT OpenSubKey(const std::string& name, RegistryAccess access, std::unique_ptr<RegistryKey>* key) override {
    RETURN_HR_IF_NULL(E_POINTER, key);
    key->reset();
    std::vector<std::string> parts;
    RETURN_HR_IF(HRESULT_FROM_WIN32(kErrorBadPathname), !SplitPath(name, &parts));

    std::shared_ptr<Node> node = node_;
    bool notWritable = inNotWritableTree_;
    size_t found = 0;
    for (; found < parts.size(); ++found) {
      const auto child = node->children.find(parts[found]);
      if (child == node->children.end()) break;
      node = child->second;
      notWritable = notWritable || node->notWritable;
    }

    const bool readWrite = access == RegistryAccess::ReadWrite;
    if (found < parts.size()) {
      RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), !readWrite);
      // Creating needs the right to add keys to the last existing one; through this handle
      // when that key is the one this handle opened.
      RETURN_HR_IF(E_ACCESSDENIED, notWritable || (found == 0 && !writable_));
    }
    RETURN_HR_IF(E_ACCESSDENIED, readWrite && notWritable);

    for (; found < parts.size(); ++found) {
      auto child = std::make_shared<Node>();
      node->children.emplace(parts[found], child);
      node = std::move(child);
    }
    *key = std::make_unique<MemoryKey>(state_, std::move(node), notWritable, readWrite);
    return S_OK;
  }

  HRESULT QueryValue(const std::string& name, size_t maxBytes, std::string* data, uint32_t* type) override {
    RETURN_HR_IF_NULL(E_POINTER, data);
    const auto value = node_->values.find(name);
    RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), value == node_->values.end());
    RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_MORE_DATA), value->second.bytes.size() > maxBytes);
    *data = value->second.bytes;
    if (type != nullptr) *type = value->second.type;
    return S_OK;
  }

  // UTF-16 values are kept as the UTF-8 of their characters, marked as such; an 8-bit value reads
  // as its bytes one character each, as the ANSI page of the tests gives its ASCII.
  HRESULT QueryUtf16Text(const std::string& name, size_t maxBytes, std::u16string* text, uint32_t* type) override {
    RETURN_HR_IF_NULL(E_POINTER, text);
    const auto value = node_->values.find(name);
    RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), value == node_->values.end());
    if (type != nullptr) *type = value->second.type;
    std::u16string utf16 = value->second.utf16 ? Utf8ToUtf16(value->second.bytes)
                                               : std::u16string(value->second.bytes.begin(), value->second.bytes.end());
    RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_MORE_DATA), utf16.size() * sizeof(char16_t) > maxBytes);
    const size_t end = utf16.find(u'\0');
    if (end != std::u16string::npos) utf16.resize(end);
    *text = std::move(utf16);
    return S_OK;
  }

  HRESULT SetUtf16Text(const std::string& name, const std::u16string& text) override {
    RETURN_IF_FAILED(SetText(name, Utf16ToUtf8(text)));
    node_->values[name].utf16 = true;
    return S_OK;
  }

  HRESULT SetText(const std::string& name, const std::string& text) override {
    RETURN_IF_FAILED(state_->writeFailure);
    RETURN_HR_IF(E_ACCESSDENIED, !writable_);
    Node::Value& value = node_->values[name];
    value.type = kRegText;
    value.utf16 = false;
    value.bytes = text;
    value.bytes.push_back('\0');
    return S_OK;
  }

 private:
  std::shared_ptr<State> state_;
  std::shared_ptr<Node> node_;
  bool inNotWritableTree_;
  bool writable_;
};

}  // namespace

MemoryRegistry::MemoryRegistry() : state_(std::make_shared<State>()) {}
MemoryRegistry::~MemoryRegistry() = default;

HRESULT MemoryRegistry::OpenKey(RegistryRoot root, const std::string& path, RegistryAccess access,
                                std::unique_ptr<RegistryKey>* key) {
  // A predefined root key is a handle with every right, like HKEY_CURRENT_USER.
  std::shared_ptr<Node> rootNode = state_->Root(root);
  MemoryKey rootKey(state_, rootNode, rootNode->notWritable, true);
  return rootKey.OpenSubKey(path, access, key);
}

void MemoryRegistry::SetRawValue(RegistryRoot root, const std::string& path, const std::string& name, uint32_t type,
                                 const std::string& bytes) {
  Node::Value& value = state_->FindOrCreate(root, path)->values[name];
  value.type = type;
  value.bytes = bytes;
  value.utf16 = false;
}

bool MemoryRegistry::GetRawValue(RegistryRoot root, const std::string& path, const std::string& name, uint32_t* type,
                                 std::string* bytes) const {
  const std::shared_ptr<Node> node = state_->Find(root, path);
  if (!node) return false;
  const auto value = node->values.find(name);
  if (value == node->values.end()) return false;
  if (type) *type = value->second.type;
  if (bytes) *bytes = value->second.bytes;
  return true;
}

bool MemoryRegistry::KeyExists(RegistryRoot root, const std::string& path) const {
  return state_->Find(root, path) != nullptr;
}

void MemoryRegistry::MarkNotWritable(RegistryRoot root, const std::string& path) {
  state_->FindOrCreate(root, path)->notWritable = true;
}

void MemoryRegistry::FailValueWrites(HRESULT hr) {
  state_->writeFailure = hr;
}
