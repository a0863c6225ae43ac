// The registry port over advapi32.
#pragma once

#include "framework/registry.h"

class WindowsRegistry : public Registry {
 public:
  HRESULT OpenKey(RegistryRoot root, const std::string& path, RegistryAccess access,
                  std::unique_ptr<RegistryKey>* key) override;
};
