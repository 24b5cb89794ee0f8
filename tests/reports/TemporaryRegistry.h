// The settings store of a report test: hive files in a folder of their own, in place of the
// user's, for as long as the object lives.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/registry/Registry.h"

class TemporaryRegistry {
 public:
  TemporaryRegistry()
      : folder_(std::filesystem::temp_directory_path() / ("nv-registry-" + std::to_string(getpid()) + "-" +
                                                          std::to_string(reinterpret_cast<uintptr_t>(this)))) {
    std::filesystem::create_directories(folder_);
    hives_ = std::make_unique<THiveFiles>((folder_ / "machine.hive").string(), (folder_ / "user.hive").string());
    Registry::SetCurrent(hives_.get());
  }
  ~TemporaryRegistry() {
    Registry::SetCurrent(nullptr);
    std::error_code e;
    std::filesystem::remove_all(folder_, e);
  }
  TemporaryRegistry(const TemporaryRegistry&) = delete;
  TemporaryRegistry& operator=(const TemporaryRegistry&) = delete;

 private:
  std::filesystem::path folder_;
  std::unique_ptr<THiveFiles> hives_;
};
