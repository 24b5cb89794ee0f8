// The settings store that stands in for the host's registry: two hives, the machine's and the
// user's, of keys holding named texts and 32-bit numbers. Everything above the platform reaches
// the store through IRegistry, so that a test can put another store in its place.
//
// THiveFiles keeps each hive in one file (HiveFile.h). Every operation reads the file afresh, so
// that what another process wrote is seen at once. A write takes the hive's lock (a file beside
// it), reads the current file, changes it, writes a temporary file, flushes it to disk and renames
// it over the hive: concurrent writers from several processes lose nothing, and a crash at any
// point leaves the previous file or the new one, whole. A corrupt or truncated hive file makes
// every operation on that hive fail with the reason; it is never replaced.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/registry/HiveFile.h"

enum class TRegistryHive { Machine, User };

enum class TRegistryStatus {
  Ok,
  KeyMissing,    // the key does not exist, or cannot be created
  ValueMissing,  // the key exists, the value does not
  WrongKind,     // the value is of the other kind
  Failed,        // the hive cannot be read or written (Detail says why)
};

using TRegistryValue = HiveFile::TValue;

class IRegistry {
 public:
  virtual ~IRegistry() = default;
  // Key is a backslash-separated path below the hive (empty components are ignored); Name the
  // value's name. Value.Kind says the kind asked for; a value of the other kind is WrongKind.
  // Detail receives the reason of a failure.
  [[nodiscard]] virtual TRegistryStatus Read(TRegistryHive Hive, std::string_view Key, std::string_view Name,
                                             TRegistryValue& Value, std::string& Detail) = 0;
  // Creates the key and its parents when needed, then stores the value. KeyMissing when the key
  // cannot be had (a path out of bounds, a hive that cannot be read or locked), Failed when the
  // value cannot be stored.
  [[nodiscard]] virtual TRegistryStatus Write(TRegistryHive Hive, std::string_view Key, std::string_view Name,
                                              const TRegistryValue& Value, std::string& Detail) = 0;
};

// The hives in files. The machine hive lives in a system location and the user hive under the XDG
// configuration directory; the environment variables NORVANE_REGISTRY_MACHINE and
// NORVANE_REGISTRY_USER name other files (tests, the service account).
class THiveFiles final : public IRegistry {
 public:
  // The default file of each hive, after the environment.
  static std::string DefaultPath(TRegistryHive Hive);

  THiveFiles();
  THiveFiles(std::string MachinePath, std::string UserPath);

  const std::string& Path(TRegistryHive Hive) const { return Hive == TRegistryHive::Machine ? machine_ : user_; }

  TRegistryStatus Read(TRegistryHive Hive, std::string_view Key, std::string_view Name, TRegistryValue& Value,
                       std::string& Detail) override;
  TRegistryStatus Write(TRegistryHive Hive, std::string_view Key, std::string_view Name, const TRegistryValue& Value,
                        std::string& Detail) override;

  // The steps of a write at which a test may stop the process, to show what a crash leaves.
  enum class TWriteStep { TemporaryWritten, BeforeRename };
  using TWriteHook = std::function<void(TWriteStep)>;
  // Called at each step of every write of this process; empty to remove.
  static void SetWriteHook(TWriteHook Hook);

 private:
  std::string machine_;
  std::string user_;
};

namespace Registry {

// The store in use: the hive files unless SetCurrent put another.
IRegistry& Current();
// Nil goes back to the hive files.
void SetCurrent(IRegistry* Registry);

}  // namespace Registry
