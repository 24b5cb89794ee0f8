#include "platform/registry/Registry.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <utility>

namespace {

THiveFiles::TWriteHook& Hook() {
  static THiveFiles::TWriteHook hook;
  return hook;
}

void RunHook(THiveFiles::TWriteStep Step) {
  if (Hook()) Hook()(Step);
}

std::string SystemError(const std::string& What, const std::string& File) {
  return What + " \"" + File + "\": " + std::strerror(errno);
}

std::string Environment(const char* Name) {
  const char* value = std::getenv(Name);
  return value ? value : "";
}

// Holds a file descriptor and closes it once.
class TDescriptor {
 public:
  explicit TDescriptor(int Fd) : fd_(Fd) {}
  TDescriptor(const TDescriptor&) = delete;
  TDescriptor& operator=(const TDescriptor&) = delete;
  ~TDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int Get() const { return fd_; }
  // Closes now and reports the outcome (a delayed write error shows here).
  bool Close() {
    const int fd = std::exchange(fd_, -1);
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

mode_t ModeOf(TRegistryHive Hive) { return Hive == TRegistryHive::User ? 0600 : 0644; }

// Reads and parses a whole hive file; a missing file is an empty hive.
TRegistryStatus Load(const std::string& File, HiveFile::THive& Hive, std::string& Detail) {
  Hive.Keys.clear();
  TDescriptor fd(::open(File.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) {
    if (errno == ENOENT) return TRegistryStatus::Ok;
    Detail = SystemError("cannot open hive file", File);
    return TRegistryStatus::Failed;
  }
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      Detail = SystemError("cannot read hive file", File);
      return TRegistryStatus::Failed;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
    if (bytes.size() > HiveFile::kMaxFileSize) break;  // Parse refuses it
  }
  std::string error;
  if (!HiveFile::Parse(bytes, Hive, error)) {
    Detail = "hive file \"" + File + "\" is corrupt (" + error + "); it is left as it is";
    return TRegistryStatus::Failed;
  }
  return TRegistryStatus::Ok;
}

bool WriteAll(int Fd, const std::string& Bytes) {
  size_t done = 0;
  while (done < Bytes.size()) {
    const ssize_t n = ::write(Fd, Bytes.data() + done, Bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// Replaces File by Bytes: a temporary file beside it, flushed, then renamed over it, and the
// directory flushed so that the rename itself survives a power loss.
TRegistryStatus Replace(const std::string& File, const std::string& Bytes, mode_t Mode, std::string& Detail) {
  const std::string temporary = File + ".tmp";
  TDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, Mode));
  bool ok = fd.Get() >= 0 && ::fchmod(fd.Get(), Mode) == 0 && WriteAll(fd.Get(), Bytes);
  if (ok) RunHook(THiveFiles::TWriteStep::TemporaryWritten);
  ok = ok && ::fsync(fd.Get()) == 0;
  ok = ok && fd.Close();
  if (ok) RunHook(THiveFiles::TWriteStep::BeforeRename);
  ok = ok && ::rename(temporary.c_str(), File.c_str()) == 0;
  if (!ok) {
    Detail = SystemError("cannot write hive file", File);
    ::unlink(temporary.c_str());
    return TRegistryStatus::Failed;
  }
  const std::string folder = std::filesystem::path(File).parent_path().string();
  TDescriptor directory(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.Get() >= 0) ::fsync(directory.Get());
  return TRegistryStatus::Ok;
}

}  // namespace

std::string THiveFiles::DefaultPath(TRegistryHive Hive) {
  if (Hive == TRegistryHive::Machine) {
    const std::string path = Environment("NORVANE_REGISTRY_MACHINE");
    return path.empty() ? "/var/lib/norvane/registry/machine.hive" : path;
  }
  const std::string path = Environment("NORVANE_REGISTRY_USER");
  if (!path.empty()) return path;
  std::string config = Environment("XDG_CONFIG_HOME");
  if (config.empty() || config[0] != '/') {  // a relative XDG_CONFIG_HOME is to be ignored
    std::string home = Environment("HOME");
    if (home.empty()) {
      if (const passwd* entry = ::getpwuid(::getuid())) home = entry->pw_dir;
    }
    config = home + "/.config";
  }
  return config + "/norvane/registry/user.hive";
}

THiveFiles::THiveFiles() : THiveFiles(DefaultPath(TRegistryHive::Machine), DefaultPath(TRegistryHive::User)) {}

THiveFiles::THiveFiles(std::string MachinePath, std::string UserPath)
    : machine_(std::move(MachinePath)), user_(std::move(UserPath)) {}

void THiveFiles::SetWriteHook(TWriteHook NewHook) { Hook() = std::move(NewHook); }

TRegistryStatus THiveFiles::Read(TRegistryHive Hive, std::string_view Key, std::string_view Name, TRegistryValue& Value,
                                 std::string& Detail) {
  std::string path;
  if (!HiveFile::NormalisePath(Key, path)) return TRegistryStatus::KeyMissing;  // no such key can exist
  HiveFile::THive hive;
  if (TRegistryStatus status = Load(Path(Hive), hive, Detail); status != TRegistryStatus::Ok) return status;
  if (!hive.Exists(path)) return TRegistryStatus::KeyMissing;
  const HiveFile::TKey* key = hive.Find(path);  // nil when only keys below it were created
  if (!key) return TRegistryStatus::ValueMissing;
  auto entry = key->Values.find(HiveFile::Fold(Name));
  if (entry == key->Values.end()) return TRegistryStatus::ValueMissing;
  if (entry->second.Value.Kind != Value.Kind) return TRegistryStatus::WrongKind;
  Value = entry->second.Value;
  return TRegistryStatus::Ok;
}

TRegistryStatus THiveFiles::Write(TRegistryHive Hive, std::string_view Key, std::string_view Name,
                                  const TRegistryValue& Value, std::string& Detail) {
  std::string path;
  if (!HiveFile::NormalisePath(Key, path)) {
    Detail = "key path too long: \"" + std::string(Key) + "\"";
    return TRegistryStatus::KeyMissing;
  }
  if (Name.size() > HiveFile::kMaxValueName || Value.Text.size() > HiveFile::kMaxText ||
      (Value.Kind != HiveFile::kKindText && Value.Kind != HiveFile::kKindNumber)) {
    Detail = "value \"" + std::string(Name.substr(0, 64)) + "\" cannot be stored (name, kind or size out of bounds)";
    return TRegistryStatus::Failed;
  }
  const std::string& file = Path(Hive);
  const mode_t mode = ModeOf(Hive);
  std::error_code ignored;
  const auto folder = std::filesystem::path(file).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, ignored);

  // The lock lives in a file of its own: the hive file is replaced by each write, a lock on it
  // would be left behind on the old file.
  const std::string lockFile = file + ".lock";
  TDescriptor lock(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, mode));
  if (lock.Get() < 0) {
    Detail = SystemError("cannot open the lock of hive file", file);
    return TRegistryStatus::KeyMissing;
  }
  int locked;
  while ((locked = ::flock(lock.Get(), LOCK_EX)) != 0 && errno == EINTR) {
  }
  if (locked != 0) {
    Detail = SystemError("cannot lock hive file", file);
    return TRegistryStatus::KeyMissing;
  }

  HiveFile::THive hive;
  if (Load(file, hive, Detail) != TRegistryStatus::Ok) return TRegistryStatus::KeyMissing;
  HiveFile::TKey& key = hive.Create(path);
  auto [entry, added] = key.Values.try_emplace(HiveFile::Fold(Name), HiveFile::TNamedValue{std::string(Name), Value});
  if (!added) {
    if (entry->second.Value == Value) return TRegistryStatus::Ok;
    entry->second.Value = Value;
  }
  return Replace(file, HiveFile::Serialise(hive), mode, Detail);
}

namespace Registry {

namespace {
IRegistry*& Override() {
  static IRegistry* registry = nullptr;
  return registry;
}
}  // namespace

IRegistry& Current() {
  if (Override()) return *Override();
  static THiveFiles files;
  return files;
}

void SetCurrent(IRegistry* Registry) { Override() = Registry; }

}  // namespace Registry
