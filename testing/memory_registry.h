// The native stand-in of the registry port: an in-memory tree with the behaviour of the real
// registry that the settings logic depends on (case-insensitive names, read-only handles, keys
// the user may not write, values of any type), and hooks for the tests to plant and inspect
// values and to make writes fail.
//
// Names are compared without regard to the case of ASCII letters; the real registry also folds
// other letters, which the add-in's names never contain. Keys are never deleted, and an open key
// stays usable after the registry object is gone.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "framework/registry.h"

class MemoryRegistry : public Registry {
 public:
  MemoryRegistry();
  ~MemoryRegistry() override;

  HRESULT OpenKey(RegistryRoot root, const std::string& path, RegistryAccess access,
                  std::unique_ptr<RegistryKey>* key) override;

  // Test hooks. Paths name keys below a root as OpenKey does; missing keys are created.
  void SetRawValue(RegistryRoot root, const std::string& path, const std::string& name, uint32_t type,
                   const std::string& bytes);
  // False when the key or the value is missing.
  bool GetRawValue(RegistryRoot root, const std::string& path, const std::string& name, uint32_t* type,
                   std::string* bytes) const;
  bool KeyExists(RegistryRoot root, const std::string& path) const;
  // The key and everything below it can then only be opened ReadOnly: opening ReadWrite, and
  // creating keys below it, fail with E_ACCESSDENIED.
  void MarkNotWritable(RegistryRoot root, const std::string& path);
  // Every later SetText fails with `hr` and writes nothing; S_OK makes writes work again.
  void FailValueWrites(HRESULT hr);

  struct Node;
  struct State;

 private:
  std::shared_ptr<State> state_;
};
