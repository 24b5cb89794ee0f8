#include "server/ServerStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

constexpr mode_t kMode = 0600;
// No file of the store is larger than a base body can be (the frame limit leaves room for a much
// smaller compressed stream; this bounds what a damaged folder can make the server allocate).
constexpr size_t kMaxFile = size_t{1} << 31;

std::string Reason(const std::string& What, const std::string& File) {
  return What + " \"" + File + "\": " + std::strerror(errno);
}

struct Descriptor {
  int fd = -1;
  explicit Descriptor(int f) : fd(f) {}
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
  bool Close() {
    const int f = fd;
    fd = -1;
    return ::close(f) == 0;
  }
};

bool WriteAll(int Fd, std::string_view Bytes) {
  while (!Bytes.empty()) {
    const ssize_t n = ::write(Fd, Bytes.data(), Bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    Bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

namespace AtomicFile {

bool Write(const std::string& File, std::string_view Bytes, std::string& Error) {
  const std::string temporary = File + ".tmp";
  Descriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, kMode));
  bool ok = fd.fd >= 0 && ::fchmod(fd.fd, kMode) == 0 && WriteAll(fd.fd, Bytes) && ::fsync(fd.fd) == 0 && fd.Close();
  ok = ok && ::rename(temporary.c_str(), File.c_str()) == 0;
  if (!ok) {
    Error = Reason("cannot write", File);
    ::unlink(temporary.c_str());
    return false;
  }
  const std::string folder = std::filesystem::path(File).parent_path().string();
  Descriptor directory(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.fd >= 0) ::fsync(directory.fd);
  return true;
}

bool Read(const std::string& File, std::optional<std::string>& Bytes, std::string& Error) {
  Bytes.reset();
  Descriptor fd(::open(File.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.fd < 0) {
    if (errno == ENOENT) return true;
    Error = Reason("cannot open", File);
    return false;
  }
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      Error = Reason("cannot read", File);
      return false;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
    if (bytes.size() > kMaxFile) {
      Error = "the file \"" + File + "\" is too large";
      return false;
    }
  }
  Bytes = std::move(bytes);
  return true;
}

}  // namespace AtomicFile

bool ServerStore::Create(const std::string& Folder, std::string_view SuperPassword, std::string_view ProfileName,
                         uint16_t Port, std::string_view EmptyBase, std::string& Error) {
  std::error_code ec;
  std::filesystem::create_directories(Folder, ec);
  if (ec) {
    Error = "cannot create the folder \"" + Folder + "\": " + ec.message();
    return false;
  }
  ::chmod(Folder.c_str(), 0700);
  ServerStore store(Folder);
  if (std::filesystem::exists(store.AccountsFile())) {
    Error = "the folder \"" + Folder + "\" already holds a server";
    return false;
  }
  AccountBase& a = store.accounts_;
  uint32_t profile = 0, id = 0;
  Error = a.AddServerProfile(ProfileName, Port, profile);
  UserProfile administration{0, "Administration", 0, {}};
  administration.Rights.fill(0xFF);
  UserProfile modification{0, "Modification", 1, {}};
  modification.Rights.fill(0xFF);
  if (Error.empty()) Error = a.AddUserProfile(administration, id);
  if (Error.empty()) Error = a.AddUserProfile(modification, id);
  if (Error.empty()) Error = a.AddUserProfile(UserProfile{0, "Consultation", 2, {}}, id);
  if (Error.empty()) Error = a.AddUser(Account{0, "Superviseur", "SPR", "", std::string(SuperPassword), 0, ""}, id);
  if (!Error.empty()) return false;
  return store.WriteBase(profile, EmptyBase, Error) && store.SaveAccounts(Error);
}

bool ServerStore::Open(std::string& Error) {
  std::optional<std::string> bytes;
  if (!AtomicFile::Read(AccountsFile(), bytes, Error)) return false;
  if (!bytes) {
    Error = "the folder \"" + folder_ + "\" holds no server (run init first)";
    return false;
  }
  return accounts_.Parse(*bytes, Error);
}

bool ServerStore::SaveAccounts(std::string& Error) { return AtomicFile::Write(AccountsFile(), accounts_.Serialize(), Error); }

std::string ServerStore::BaseFile(uint32_t Profile) const { return folder_ + "/base-" + std::to_string(Profile) + ".dat"; }

bool ServerStore::ReadBase(uint32_t Profile, std::optional<std::string>& Body, std::string& Error) const {
  return AtomicFile::Read(BaseFile(Profile), Body, Error);
}

bool ServerStore::WriteBase(uint32_t Profile, std::string_view Body, std::string& Error) const {
  return AtomicFile::Write(BaseFile(Profile), Body, Error);
}

bool ServerStore::ReadSettings(uint32_t Profile, uint32_t User, std::string& Stream, std::string& Error) const {
  std::optional<std::string> bytes;
  if (!AtomicFile::Read(folder_ + "/settings-" + std::to_string(Profile) + "-" + std::to_string(User) + ".dat", bytes,
                        Error))
    return false;
  Stream = bytes ? std::move(*bytes) : std::string(kEmptySettings);
  return true;
}

bool ServerStore::WriteSettings(uint32_t Profile, uint32_t User, std::string_view Stream, std::string& Error) const {
  return AtomicFile::Write(folder_ + "/settings-" + std::to_string(Profile) + "-" + std::to_string(User) + ".dat",
                           Stream, Error);
}
